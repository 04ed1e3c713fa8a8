"""Every learner's result is kept. A class in one folder: two learners one after another
(their own reports in resultater/ and two overview rows a CSV reader reads back exactly),
while a second copy of the program is turned away. Alt+F4 during a test, the program
killed in the middle of Dictation 2, and a full results folder at the hand-in lose nothing.

Variants (--variant):
  class   two learners, a second copy refused, and a picture of the overview as a table
  close   Alt+F4 in Dictation 1: a wrong password keeps every answer, the right one ends;
          the next start continues the test
  kill    SIGKILL in the middle of Dictation 2, restart, continue, hand in
  kill-in-rename
          SIGKILL while a save waits in its rename (slowed by strace), restart: the cut-off
          write's temporary file, once older than a minute, is gone, and so are earlier ones
  full    the results folder (a small tmpfs) is full at the hand-in of Dictation 2: the
          teacher is told at once that the answers are not saved, and "Prøv igen" after
          space is freed writes the complete report
  full-before-dictation2
          the folder fills as Dictation 2 opens: told at once; at the hand-in the box says
          the answers are in no file, the teacher saves them on a "USB stick" and gives up;
          the saved test, started from the stick's copy, comes back with all 60 answers
"""

import csv
import datetime
import json
import os
import shutil
import signal
import subprocess
import sys
import time

import learner
import oracle
from harness import Journey, Skip, check

TODAY = datetime.date.today()
ALL_RIGHT_1 = list(oracle.DICTATION1)
ANSWERS_2 = [w if i % 4 else w.upper() for i, (w, _) in enumerate(oracle.DICTATION2)]
_, _TOTAL_2, _COUNTS_2 = oracle.dictation2(ANSWERS_2)
EXPECTED_ROW_2 = ["20"] + [str(c) for c in _COUNTS_2] + [str(_TOTAL_2), str(oracle.level(_TOTAL_2))]
PLANS = [(ALL_RIGHT_1[:10] + [""] * 10, None), (ALL_RIGHT_1, ANSWERS_2)]
CLASS = [
    ["Sprogcenter Nord", "Åse Ørnsø", "Åbyvej 12", "1979", "7", "nej", "", ""],
    ["Sprogcenter Nord", 'Bo; "Ben" Ødegård', "Vej 2", "1990", "9", "", "", "lager"],
]


def report_in(folder):
    with open(os.path.join(folder, "results.html"), "rb") as f:
        return f.read()


def archive(folder):
    path = os.path.join(folder, "resultater")
    return sorted(os.listdir(path)) if os.path.isdir(path) else []


def overview_rows(folder):
    with open(os.path.join(folder, "resultater", "oversigt.csv"), encoding="utf-8-sig", newline="") as f:
        return list(csv.reader(f, delimiter=";"))


def expected_report(form, answers1, answers2=None):
    text = oracle.header([oracle.date_text(TODAY)] + form) + oracle.dictation1(answers1)[0]
    return text + (oracle.dictation2(answers2)[0] if answers2 else "")


def same_report(actual, expected, what):
    actual = oracle.without_stamps(actual.decode("utf-8"))
    check(actual == expected, "%s differs:\n--- expected\n%s\n--- actual\n%s" % (what, expected, actual))


def to_dictation1(j, workdir, form):
    program = learner.through_the_form(j, workdir, form)
    learner.next_page(j, "dictation1")
    return program


def render_overview(j, folder):
    """The overview as a teacher sees it opened as a table, kept as a picture."""
    rows = overview_rows(folder)
    widths = [max(len(r[c]) for r in rows) for c in range(len(rows[0]))]
    line = lambda r: "│ " + " │ ".join(v.replace("\n", " ").ljust(w) for v, w in zip(r, widths)) + " │"
    rule = lambda l, m, r: l + m.join("─" * (w + 2) for w in widths) + r
    lines = ([rule("┌", "┬", "┐"), line(rows[0]), rule("├", "┼", "┤")]
             + [line(r) for r in rows[1:]] + [rule("└", "┴", "┘")])
    picture = os.path.join(j.artifacts, "oversigt.png")
    # One label per line (ImageMagick misjudges the width of a long label of several
    # lines); % and \\ are escapes in a label.
    labels = ["label:" + l.replace("\\", "\\\\").replace("%", "%%") for l in lines]
    subprocess.run(["convert", "-background", "white", "-fill", "black", "-font", "DejaVu-Sans-Mono",
                    "-pointsize", "14"] + labels + ["-append", picture], check=True)
    print("overview rendered as %s" % picture)


def journey_class(j):
    workdir = j.workdir()
    reports = []
    for number, form in enumerate(CLASS):
        program = j.launch(workdir)
        j.wait_window(learner.ACCESS_TITLE)
        if number == 0:
            before = sorted(os.listdir(workdir))
            second = j.launch(workdir)
            j.wait_window("Skrivlo kan ikke starte")
            j.shot("second-copy-refused")
            j.key("Return")
            check(second.wait_exit(10) == 1, "the second copy did not end with exit status 1")
            check(sorted(os.listdir(workdir)) == before, "the second copy touched %s" % os.listdir(workdir))
        learner.unlock_started(j, program)
        learner.next_page(j, "form")
        learner.fill_form(j, form)
        learner.next_page(j, "guide")
        learner.next_page(j, "dictation1")
        # Learner 1 stops at Trin 1, learner 2 goes on through Dictation 2.
        answers1, answers2 = PLANS[number]
        if answers2:
            through_dictation1(j, program)
            learner.answer(j, answers2)
            hand_in_dictation2(j)
        else:
            learner.answer(j, answers1)
            learner.hand_in(j, "results")
        learner.close_reminder(j)
        reports.append(report_in(workdir))
        same_report(reports[-1], expected_report(form, answers1, answers2), "learner %d's results.html" % (number + 1))
        learner.quit(j, program)

    names = [n for n in archive(workdir) if n.endswith(".html")]
    check(len(names) == 2, "resultater/ holds %s" % archive(workdir))
    kept = {n: open(os.path.join(workdir, "resultater", n), "rb").read() for n in names}
    check(sorted(kept.values()) == sorted(reports), "the learners' own reports are not what results.html held")
    check(not os.path.exists(os.path.join(workdir, learner.RECOVERY_FILE)), "a finished test left its recovery file")
    rows = overview_rows(workdir)
    check(len(rows) == 3, "the overview has %d lines, not a header and two rows: %s" % (len(rows), rows))
    for row, form in zip(rows[1:], CLASS):
        check(row[0] == TODAY.isoformat() and row[2:5] == [form[0], form[1], form[3]],
              "overview row %s does not name %s" % (row, form[1]))
        check(row[5:11] in (["10", "", "", "", "", "1"], EXPECTED_ROW_2), "overview row %s: results" % row)
        check(row[11] in names and form[1].split(";")[0].split()[0] in row[11], "report name %r" % row[11])
    render_overview(j, workdir)


def journey_close(j):
    workdir = j.workdir()
    form = CLASS[0]
    program = to_dictation1(j, workdir, form)
    learner.answer(j, ALL_RIGHT_1[:10])
    learner.end_test(j, "kanel")
    check(program.running(), "a wrong password ended the test")
    j.wait_page("dictation1")
    learner.answer(j, ALL_RIGHT_1[10:])  # the cursor is where it was
    learner.end_test(j, learner.PASSWORD)
    check(program.wait_exit(10) == 0, "the right password did not end the program")
    with open(os.path.join(workdir, learner.RECOVERY_FILE), encoding="utf-8") as f:
        saved = json.load(f)["fields"]
    check([saved["word%d" % n] for n in range(1, 21)] == ALL_RIGHT_1, "the saved answers: %s" % saved)

    program = learner.unlock_recovered(j, workdir, "Fortsæt")
    j.wait_page("dictation1")
    learner.hand_in(j, "guide")
    same_report(report_in(workdir), expected_report(form, ALL_RIGHT_1), "the continued test's report")
    learner.quit(j, program)

    # The teacher starts again: the unfinished test is kept, marked, in the overview too.
    program = learner.unlock_recovered(j, workdir, "Start forfra")
    j.wait_page("guide")
    check(not os.path.exists(os.path.join(workdir, learner.RECOVERY_FILE)), "the recovery file is still there")
    names = [n for n in archive(workdir) if n.endswith(".html")]
    check(len(names) == 1, "resultater/ holds %s" % archive(workdir))
    kept = open(os.path.join(workdir, "resultater", names[0]), "rb").read().decode("utf-8")
    check(kept.startswith(report_in(workdir).decode("utf-8"))  # what the earlier run wrote
          and kept.endswith("<b>Testen blev ikke afsluttet.</b>\n</small>\n\n</body>\n</html>\n"),
          "the unfinished report:\n%s" % kept)
    check(overview_rows(workdir)[1][10] == "Ikke afsluttet", "overview: %s" % overview_rows(workdir))
    learner.quit(j, program)


def through_dictation1(j, program):
    """Returns when the arrow to Dictation 2 was clicked and when the page was seen."""
    learner.answer(j, ALL_RIGHT_1)
    learner.hand_in(j, "guide")
    clicked = time.monotonic()
    learner.next_page(j, "dictation2")
    return clicked, time.monotonic()


def hand_in_dictation2(j):
    screen = learner.scroll_to_arrow(j)
    learner.click_arrow(j, screen)
    j.wait_window("Advarsel!")
    j.key("Return")


def journey_kill(j):
    workdir = j.workdir()
    form = CLASS[1]
    program = to_dictation1(j, workdir, form)
    clicked, seen = through_dictation1(j, program)
    learner.answer(j, ANSWERS_2[:30])
    time.sleep(3)  # more than the autosave's interval
    killed = time.monotonic()
    os.kill(program.pid, signal.SIGKILL)
    program.wait_exit(10)
    with open(os.path.join(workdir, learner.RECOVERY_FILE), encoding="utf-8") as f:
        saved = json.load(f)
    # The page's clock starts between the click and the screenshot that saw the page; the
    # last save is at most one interval old.
    check(saved["page"] == 5 and killed - seen - 3 <= saved["workedMs"] / 1000 <= killed - clicked,
          "saved page %s after %d ms; the page came %.1f to %.1f s before the kill"
          % (saved["page"], saved["workedMs"], killed - seen, killed - clicked))

    program = learner.unlock_recovered(j, workdir, "Fortsæt")
    resumed = time.monotonic()
    j.wait_page("dictation2")
    j.shot("dictation2-continued")
    learner.answer(j, ANSWERS_2[30:])  # the cursor waits in the first empty word
    hand_in_dictation2(j)
    learner.close_reminder(j)
    worked_after = time.monotonic() - resumed
    report = report_in(workdir)
    same_report(report, expected_report(form, ALL_RIGHT_1, ANSWERS_2), "the report after the crash")
    stamp = oracle.stamps(report.decode("utf-8"))[2]
    check(abs(stamp - (saved["workedMs"] / 1000 + worked_after)) <= 4,
          "Diktat 2 took %d s by its stamp; worked %.1f s before and %.1f s after the crash"
          % (stamp, saved["workedMs"] / 1000, worked_after))
    learner.quit(j, program)


def journey_kill_in_rename(j):
    strace = shutil.which("strace")
    if not strace:
        raise Skip("no strace here (scripts/install-deps.sh --test)")
    workdir = j.workdir()
    # Every rename waits 20 s, so the kill finds a save between its temporary file and the
    # rename. (A new file needs none: Qt links it into place at once.)
    renames = "rename,renameat,renameat2"
    argv = [strace, "-f", "-qq", "-o", os.path.join(j.artifacts, "strace.log"), "-e", "trace=" + renames,
            "-e", "inject=%s:delay_enter=20000000" % renames, j.program]
    program = learner.unlock(j, workdir, argv=argv)
    learner.next_page(j, "form")
    j.type(CLASS[0][0])
    temporary = lambda: [n for n in os.listdir(workdir) if n.startswith(learner.RECOVERY_FILE + ".")]
    j.until(temporary, 15, "a save of the recovery file waiting in its rename")
    left = temporary()
    with open("/proc/%d/task/%d/children" % (program.pid, program.pid)) as f:
        traced = [int(p) for p in f.read().split()]
    check(traced, "strace has no program under it")
    os.kill(traced[0], signal.SIGKILL)
    os.kill(program.pid, signal.SIGKILL)  # strace itself would sit out the delay
    program.wait_exit(10)
    j.until(lambda: not os.path.exists("/proc/%d" % traced[0]), 10, "the killed program to be gone")
    check(temporary() == left, "the kill did not leave the temporary file: %s" % os.listdir(workdir))
    print("left by the kill: %s" % left)
    with open(os.path.join(workdir, learner.RECOVERY_FILE), encoding="utf-8") as f:
        check(json.load(f)["page"] == 1, "the saved test before the cut-off save is not whole")

    # Older ones from earlier crashes, and one as fresh as a write going on now.
    os.makedirs(os.path.join(workdir, "resultater"), exist_ok=True)
    earlier = ["results.html.ZBXAqJ", "resultater/2026-12-07 14.23 Åse Ørnsø.html.KGrooS"]
    fresh = "results.html.Fr3shX"
    for name in earlier + [fresh]:
        open(os.path.join(workdir, name), "w").close()
    minutes_ago = time.time() - 120
    for name in earlier + left:
        os.utime(os.path.join(workdir, name), (minutes_ago, minutes_ago))

    program = learner.unlock_recovered(j, workdir, "Fortsæt")
    j.wait_page("form")
    for name in earlier + left:
        check(not os.path.exists(os.path.join(workdir, name)), "%s is still there" % name)
    check(os.path.exists(os.path.join(workdir, fresh)), "a temporary file younger than a minute was removed")
    learner.quit(j, program)


NOT_SAVED_TITLE = "Svarene bliver ikke gemt"
FULL_MOUNT = 'mount -t tmpfs -o size=2m,nr_inodes=1000 skrivlo-full "$1" && cd "$1" && shift && exec "$@"'


def to_dictation1_in_small_folder(j, workdir, form):
    """The learner at Dictation 1 in a results folder of its own small tmpfs; returns the
    program and that folder as the program sees it."""
    probe = subprocess.run(["unshare", "-m", "sh", "-c", FULL_MOUNT, "sh", workdir, "true"], capture_output=True)
    if probe.returncode != 0:
        raise Skip("no private tmpfs here: %s" % probe.stderr.decode().strip())
    program = j.launch(workdir, argv=["unshare", "-m", "sh", "-c", FULL_MOUNT, "sh", workdir, j.program])
    learner.unlock_started(j, program)
    learner.next_page(j, "form")
    learner.fill_form(j, form)
    learner.next_page(j, "guide")
    learner.next_page(j, "dictation1")
    # The program's own mount, as the program sees it.
    return program, "/proc/%d/root%s" % (program.pid, workdir)


def fill(folder):
    filler = os.path.join(folder, "filler")
    try:
        with open(filler, "wb") as f:
            while True:
                f.write(b"\0" * 4096)
                f.flush()
    except OSError:
        pass
    check(os.path.exists(filler), "the folder was full before the filler")
    print("results folder: %s" % os.listdir(folder))
    return filler


def journey_full(j):
    workdir = j.workdir()
    form = CLASS[0]
    program, folder = to_dictation1_in_small_folder(j, workdir, form)
    through_dictation1(j, program)
    learner.answer(j, ANSWERS_2)
    filler = fill(folder)
    learner.confirm(j, NOT_SAVED_TITLE, activate=True)  # at the next save, not at the hand-in
    hand_in_dictation2(j)
    j.wait_window("Svarene er ikke gemt")
    j.shot("full-folder")
    check(program.running(), "a full folder ended the program")
    os.remove(filler)
    j.key("Return")  # "Prøv igen"
    learner.close_reminder(j)
    j.wait_page("results")
    expected = expected_report(form, ALL_RIGHT_1, ANSWERS_2)
    same_report(report_in(folder), expected, "results.html after Prøv igen")
    names = [n for n in archive(folder) if n.endswith(".html")]
    check(len(names) == 1, "resultater/ holds %s" % archive(folder))
    same_report(open(os.path.join(folder, "resultater", names[0]), "rb").read(), expected,
                "the learner's own report after Prøv igen")
    learner.quit(j, program)


def journey_full_before_dictation2(j):
    workdir = j.workdir()
    usb = j.workdir("usb")
    form = CLASS[1]
    program, folder = to_dictation1_in_small_folder(j, workdir, form)
    learner.answer(j, ALL_RIGHT_1)
    learner.hand_in(j, "guide")
    fill(folder)
    # The first save that fails tells the teacher: still on the help page when the answers
    # saved last were older than the hand-in, else once Dictation 2 is on screen.
    told_on_help_page = not j.never_shown(NOT_SAVED_TITLE, within=3)
    if told_on_help_page:
        learner.confirm(j, NOT_SAVED_TITLE, activate=True)
    learner.click_arrow(j)
    if not told_on_help_page:
        learner.confirm(j, NOT_SAVED_TITLE, activate=True)
    j.wait_page("dictation2")
    learner.answer(j, ANSWERS_2)
    hand_in_dictation2(j)
    j.wait_window("Svarene er ikke gemt")
    j.shot("answers-in-no-file")
    j.key("alt+a")  # "Gem et andet sted …"
    j.wait_window("Vælg en mappe til svarene")
    j.type(usb)
    j.key("Return")
    j.wait_window_gone("Vælg en mappe til svarene")
    # Now the box may say that every answer is kept, and where; giving up needs no warning.
    j.wait_window("Resultaterne er ikke gemt")
    j.key("Escape")
    j.wait_window("Kritisk fejl!")
    check(not j.window_shown("Svarene går tabt"), "a last warning although the answers are on the stick")
    j.key("Return")
    check(program.wait_exit(10) == 1, "giving up did not end with exit status 1")
    check(set(os.listdir(usb)) == {learner.RECOVERY_FILE, "results.html"}, "on the stick: %s" % os.listdir(usb))

    # The teacher takes the stick to a PC with room and continues there.
    again = j.workdir("again")
    shutil.copy(os.path.join(usb, learner.RECOVERY_FILE), again)
    program = learner.unlock_recovered(j, again, "Fortsæt")
    j.wait_page("dictation2")
    hand_in_dictation2(j)
    learner.close_reminder(j)
    same_report(report_in(again), expected_report(form, ALL_RIGHT_1, ANSWERS_2), "the report continued from the stick")
    learner.quit(j, program)


if __name__ == "__main__":
    journey = Journey("archive", deadline=170)
    body = {"class": journey_class, "close": journey_close, "kill": journey_kill,
            "kill-in-rename": journey_kill_in_rename, "full": journey_full,
            "full-before-dictation2": journey_full_before_dictation2}.get(journey.variant)
    if body is None:
        sys.exit("--variant class, close, kill, kill-in-rename, full or full-before-dictation2")
    sys.exit(journey.run(body))
