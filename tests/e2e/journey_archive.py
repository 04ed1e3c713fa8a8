"""Every learner's result is kept. A class in one folder: two learners one after another
(their own reports and data files sealed in resultater/ under names without theirs, opened
with the password), while a second copy of the program is turned away. Alt+F4 during a
test, the program killed in the middle of Dictation 2, and a full working folder at the
hand-in lose nothing.

Variants (--variant):
  class   two learners, a second copy refused, a picture of their data as a table; nothing
          in the working folder, its outbox or the class folder gives away who they are,
          and the first learner's results.html goes once the second one's test is unlocked
  close   Alt+F4 in Dictation 1: a wrong password keeps every answer, the right one ends;
          the next start continues the test
  kill    SIGKILL in the middle of Dictation 2, restart, continue, hand in
  kill-in-rename
          SIGKILL while a save waits in its rename (slowed by strace), restart: the cut-off
          write's temporary file, once older than a minute, is gone, and so are earlier ones
  full    the working folder (a small tmpfs) is full at the hand-in of Dictation 2: the
          teacher is told at once that the answers are not saved, and "Prøv igen" after
          space is freed writes the complete report
  full-before-dictation2
          the folder fills as Dictation 2 opens: told at once; at the hand-in the box says
          the answers are in no file, the teacher saves them on a "USB stick" and gives up;
          the saved test, started from the stick's copy at a PC of the same class (one class
          folder), comes back with all 60 answers
"""

import datetime
import json
import os
import re
import shutil
import signal
import subprocess
import sys
import time

import learner
import oracle
import sealed
from harness import Journey, Skip, check

TODAY = datetime.date.today()
ALL_RIGHT_1 = list(oracle.DICTATION1)
ANSWERS_2 = [w if i % 4 else w.upper() for i, (w, _) in enumerate(oracle.DICTATION2)]
_, _TOTAL_2, _COUNTS_2 = oracle.dictation2(ANSWERS_2)
# dictation1, dictation2, dictation2Total, trin in a learner's data file
EXPECTED_ROW_1 = (10, None, None, 1)
EXPECTED_ROW_2 = (20, list(_COUNTS_2), _TOTAL_2, oracle.level(_TOTAL_2))
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


def opened_archive(folder, ending, class_folder=None):
    """The learners' files of one kind (".html", ".json") in the class folder, opened with the
    keys the password opens there: {plain name: bytes}. Every such file must open, under a
    name that is the PC's and a random id, never the learner's."""
    class_folder = class_folder or os.path.join(folder, "resultater")
    keys = sealed.class_keys(class_folder, learner.PASSWORD)
    check(keys, "the password opens no key in %s" % os.listdir(class_folder))
    anonymous = re.compile(re.escape(learner.pc_name(folder)) + r" [0-9a-f]{8}" + re.escape(ending) + "$")
    files = {}
    for name in sorted(os.listdir(class_folder)):
        if not name.endswith(ending + sealed.SUFFIX):
            continue
        plain = name[:-len(sealed.SUFFIX)]
        check(anonymous.match(plain), "%r is not named for the PC and a random id" % name)
        files[plain] = sealed.opened(class_folder, plain, keys)
        check(files[plain] is not None, "%s does not open with the password" % name)
    return files


def data_rows(folder, class_folder=None):
    """The learners' data files, read as JSON, in the order of their start."""
    rows = [json.loads(data.decode("utf-8")) for data in opened_archive(folder, ".json", class_folder).values()]
    return sorted(rows, key=lambda row: row["started"])


def no_saved_test(folder):
    return not any(os.path.exists(os.path.join(folder, n)) for n in (learner.RECOVERY_FILE, learner.RECOVERY_SEALED))


def personal_words(form):
    """What of a learner's form names them: name, address and job, and each of their words long
    enough to be no accident ("Ørnsø" of "Åse Ørnsø"), should one be written apart or escaped."""
    values = [v for v in (form[1], form[2], form[7]) if v]
    return sorted(set(values + [w.strip(';"') for v in values for w in v.split() if len(w.strip(';"')) >= 5]))


def files_holding(folders, words, skip=()):
    """(path, word, encoding) for every file under the folders whose bytes hold one of the words
    in UTF-8, UTF-16 LE or UTF-16 BE; files in skip are not looked at."""
    found, seen = [], set()
    patterns = [(w, e, w.encode(e)) for w in words for e in ("utf-8", "utf-16-le", "utf-16-be")]
    for top in folders:
        for here, _, names in os.walk(top):
            for name in names:
                path = os.path.realpath(os.path.join(here, name))
                if path in seen or path in skip or not os.path.isfile(path):
                    continue
                seen.add(path)
                with open(path, "rb") as f:
                    data = f.read()
                found += [(path, w, e) for w, e, b in patterns if b in data]
    print("searched %d files for %d words: %s" % (len(seen), len(words), sorted(os.path.relpath(p, folders[0]) for p in seen)))
    return found


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
    """The learners' data files as a table, kept as a picture to look at."""
    head = ["started", "pc", "place", "name", "birthYear", "dictation1", "dictation2", "dictation2Total",
            "trin", "finished", "report"]
    text = lambda v: "" if v is None else " ".join(map(str, v)) if isinstance(v, list) else str(v)
    rows = [head] + [[text(row.get(k)) for k in head] for row in data_rows(folder)]
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
    results_html = os.path.join(workdir, "results.html")
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
        if number == 1:
            # The learner before has gone: their report is no longer there to read.
            check(not os.path.exists(results_html), "the first learner's results.html is still there")
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

    kept = opened_archive(workdir, ".html")
    check(len(kept) == 2, "resultater/ holds %s" % archive(workdir))
    check(sorted(kept.values()) == sorted(reports), "the learners' own reports are not what results.html held")
    check(no_saved_test(workdir), "a finished test left its recovery file")
    check("oversigt.csv" not in archive(workdir), "a PC wrote an overview into the class folder")
    rows = data_rows(workdir)
    check(len(rows) == 2, "%d data files, not two: %s" % (len(rows), archive(workdir)))
    for row, form in zip(rows, CLASS):
        check(row["started"].startswith(TODAY.isoformat() + "T")
              and [row["place"], row["name"], row["birthYear"]] == [form[0], form[1], form[3]],
              "data file %s does not name %s" % (row, form[1]))
        results = (row["dictation1"], row["dictation2"], row["dictation2Total"], row["trin"])
        check(row["finished"] and results in (EXPECTED_ROW_1, EXPECTED_ROW_2), "data file %s: results" % row)
        check(row["report"] in kept and row["pc"] == learner.pc_name(workdir), "report name %r" % row["report"])

    # Nothing but the report on screen names a learner: the class folder and the outbox lie
    # in the working folder here, and every other file of theirs is sealed.
    current = os.path.realpath(results_html)
    words = sorted(set(w for form in CLASS for w in personal_words(form)))
    check(files_holding([workdir], personal_words(CLASS[1]), skip=()) != [],
          "the search finds not even the second learner in results.html")
    found = files_holding([workdir, os.path.join(workdir, "udbakke"), os.path.join(workdir, "resultater")],
                          words, skip={current})
    check(not found, "files give a learner away: %s" % found)
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
    saved = learner.saved_test(workdir)
    check(saved, "no saved test that the password opens: %s" % os.listdir(workdir))
    saved = saved["fields"]
    check([saved["word%d" % n] for n in range(1, 21)] == ALL_RIGHT_1, "the saved answers: %s" % saved)

    program = learner.unlock_recovered(j, workdir, "Fortsæt")
    j.wait_page("dictation1")
    learner.hand_in(j, "guide")
    earlier = report_in(workdir)
    same_report(earlier, expected_report(form, ALL_RIGHT_1), "the continued test's report")
    learner.quit(j, program)

    # The teacher starts again: the unfinished test is kept, marked, in its data file too.
    program = learner.unlock_recovered(j, workdir, "Start forfra")
    j.wait_page("guide")
    check(no_saved_test(workdir), "the recovery file is still there")
    check(not os.path.exists(os.path.join(workdir, "results.html")), "the learner before's results.html is still there")
    kept = opened_archive(workdir, ".html")
    check(len(kept) == 1, "resultater/ holds %s" % archive(workdir))
    kept = list(kept.values())[0].decode("utf-8")
    check(kept.startswith(earlier.decode("utf-8"))  # what the earlier run wrote
          and kept.endswith("<b>Testen blev ikke afsluttet.</b>\n</small>\n\n</body>\n</html>\n"),
          "the unfinished report:\n%s" % kept)
    rows = data_rows(workdir)
    check(len(rows) == 1 and rows[0]["finished"] is False and rows[0]["trin"] is None
          and rows[0]["name"] == form[1] and rows[0]["report"] in opened_archive(workdir, ".html"),
          "data file: %s" % rows)
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
    saved = learner.saved_test(workdir)
    check(saved, "no saved test that the password opens: %s" % os.listdir(workdir))
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
    temporary = lambda: [n for n in os.listdir(workdir) if n.startswith(learner.RECOVERY_SEALED + ".")]
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
    saved = learner.saved_test(workdir)
    check(saved and saved["page"] == 1, "the saved test before the cut-off save is not whole")

    # Older ones from earlier crashes, and one as fresh as a write going on now.
    for folder in ("resultater", "udbakke"):
        os.makedirs(os.path.join(workdir, folder), exist_ok=True)
    stem = learner.pc_name(workdir) + " 5d1e0a77"
    earlier = ["results.html.ZBXAqJ", "resultater/%s.html.skrivlo.KGrooS" % stem,
               "udbakke/%s.json.skrivlo.q7Lm2W" % stem]
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


def to_dictation1_in_small_folder(j, workdir, form, options=()):
    """The learner at Dictation 1 in a working folder of its own small tmpfs; returns the
    program and that folder as the program sees it."""
    probe = subprocess.run(["unshare", "-m", "sh", "-c", FULL_MOUNT, "sh", workdir, "true"], capture_output=True)
    if probe.returncode != 0:
        raise Skip("no private tmpfs here: %s" % probe.stderr.decode().strip())
    program = j.launch(workdir, argv=["unshare", "-m", "sh", "-c", FULL_MOUNT, "sh", workdir, j.program] + list(options))
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
    print("working folder: %s" % os.listdir(folder))
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
    kept = opened_archive(folder, ".html")
    check(len(kept) == 1, "resultater/ holds %s" % archive(folder))
    same_report(list(kept.values())[0], expected, "the learner's own report after Prøv igen")
    learner.quit(j, program)


def journey_full_before_dictation2(j):
    workdir = j.workdir()
    usb = j.workdir("usb")
    # The class's folder, where both PCs find the class key; the answers on the stick are sealed.
    class_folder = j.workdir("class")
    form = CLASS[1]
    program, folder = to_dictation1_in_small_folder(j, workdir, form, ["--klassemappe", class_folder])
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
    check(set(os.listdir(usb)) == {learner.RECOVERY_SEALED, "results.html"}, "on the stick: %s" % os.listdir(usb))

    # The teacher takes the stick to a PC of the class with room and continues there.
    again = j.workdir("again")
    shutil.copy(os.path.join(usb, learner.RECOVERY_SEALED), again)
    program = learner.unlock_recovered(j, again, "Fortsæt", argv=[j.program, "--klassemappe", class_folder])
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
