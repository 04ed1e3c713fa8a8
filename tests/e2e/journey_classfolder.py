"""A class on many PCs with one class folder. Each copy of the real program has its own
working folder and runs a learner's test from a script (SKRIVLO_SCRIPTED_RUN: the pages'
own hand-in code, without the waits), so fifteen can hand in within the same second.

Variants (--variant):
  fifteen  fifteen copies at once, 20 rounds (--rounds): 15 reports, 15 data files and an
           oversigt.csv of 15 rows that the csv module reads back exactly, every round
  smb      a real SMB share (Debian's samba on 127.0.0.1:4450, private configuration and
           state) mounted twice through FUSE with smbnetfs as two PCs; one learner on each
           hands in at the same moment: both results in the class folder and the overview
  network  the class folder disappears in the middle of Dictation 2: the result waits in the
           outbox and the results page says so; at the next start it arrives, once, byte-equal
  move     a learner moves between PCs, in real windows: PC 1 is killed (SIGKILL) in the middle
           of Dictation 2; PC 2, with its own working folder, offers the test left in the class
           folder, the learner goes on with the answers kept and hands in; PC 1 started again
           tells the teacher and puts its own copy aside
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
from journey_archive import (ALL_RIGHT_1, ANSWERS_2, CLASS, expected_report, hand_in_dictation2, report_in,
                             same_report, through_dictation1)

TODAY = datetime.date.today()
# Same names on several PCs, names that differ only in case, and CSV's own characters.
NAMES = ["Åse Ørnsø", "åse ørnsø", "ÅSE ØRNSØ", 'Bo; "Ben" Ødegård', "Ali"]


def form(number):
    return ["Sprogcenter Nord", NAMES[number % len(NAMES)], "Vej %d" % number, str(1970 + number),
            "9", "", "", ""]


def script(folder, number, hand_in_at):
    answers2 = ANSWERS_2 if number % 3 else None  # every third stops at Trin 1
    answers1 = ALL_RIGHT_1 if answers2 else ALL_RIGHT_1[:10] + [""] * 10
    path = os.path.join(folder, "script.json")
    with open(path, "w", encoding="utf-8") as f:
        json.dump({"password": learner.PASSWORD, "details": [oracle.date_text(TODAY)] + form(number), "answers1": answers1,
                   "answers2": answers2 or [], "handInAt": hand_in_at}, f, ensure_ascii=False)
    return path, answers1, answers2


def run_copy(j, workdir, classfolder, script_path):
    env = j.env()
    env.update({"QT_QPA_PLATFORM": "offscreen", "SKRIVLO_SCRIPTED_RUN": script_path})
    return subprocess.Popen(j.own_machine([j.program, "--klassemappe", classfolder]), cwd=workdir, env=env,
                            stdout=subprocess.PIPE, stderr=subprocess.STDOUT)


def finished(popen, timeout=120):
    out = popen.communicate(timeout=timeout)[0].decode("utf-8", "replace")
    check(popen.returncode == 0, "a copy ended with %s:\n%s" % (popen.returncode, out))
    return out


def overview(classfolder):
    with open(os.path.join(classfolder, "oversigt.csv"), encoding="utf-8-sig", newline="") as f:
        return list(csv.reader(f, delimiter=";"))


def class_files(classfolder):
    names = [n for n in os.listdir(classfolder) if os.path.isfile(os.path.join(classfolder, n))]
    return sorted(n for n in names if n.endswith(".html")), sorted(n for n in names if n.endswith(".json"))


def arrived(classfolder, runs, outputs, workdirs):
    """Every copy's report, data file and overview row are in the class folder, each report
    its own learner's, no copy showed a box beside the reminder to print, and no outbox
    kept a file. Returns the reports, the data files and the overview's lines."""
    copies = len(runs)
    boxes = [l for out in outputs for l in out.splitlines() if l.startswith("box:")]
    check(boxes == ["box: Vigtigt!"] * copies, "boxes beside the reminder to print: %s" % boxes)
    reports, data = class_files(classfolder)
    check(len(reports) == copies and len(data) == copies,
          "%d reports and %d data files: %s" % (len(reports), len(data), os.listdir(classfolder)))
    check(len({n.lower() for n in reports}) == copies, "names that differ only in case: %s" % reports)
    rows = overview(classfolder)
    check(len(rows) == copies + 1, "the overview has %d lines: %s" % (len(rows), rows))
    check([r[11] for r in rows[1:]] and sorted(r[11] for r in rows[1:]) == reports,
          "the overview's report names are not the reports")
    expected = {}
    for _, number, answers1, answers2 in runs:
        expected.setdefault(form(number)[1], []).append(expected_report(form(number), answers1, answers2))
    for name in reports:
        with open(os.path.join(classfolder, name), "rb") as f:
            text = oracle.without_stamps(f.read().decode("utf-8"))
        learner = next(n for n in expected if "Navn: %s<br>" % oracle.escaped(n) in text)
        check(text in expected[learner], "the report %s is not its learner's" % name)
    for workdir in workdirs:
        outbox = os.path.join(workdir, "udbakke")
        left = [os.path.join(d, f) for d, _, fs in os.walk(outbox) for f in fs]
        check(not left, "%s left %s in its outbox" % (workdir, left))
    return reports, data, rows


def journey_fifteen(j):
    copies = 15
    for round_number in range(j.args.rounds):
        base = j.workdir("round%d" % round_number)
        classfolder = os.path.join(base, "klasse")
        os.makedirs(classfolder)
        hand_in_at = int((time.time() + 8 + copies * 0.4) * 1000)
        runs = []
        for number in range(copies):
            workdir = os.path.join(base, "pc%02d" % number)
            os.makedirs(workdir)
            path, answers1, answers2 = script(workdir, number, hand_in_at)
            runs.append((run_copy(j, workdir, classfolder, path), number, answers1, answers2))
        outputs = [finished(popen) for popen, _, _, _ in runs]
        reports, data, rows = arrived(classfolder, runs, outputs,
                                      [os.path.join(base, "pc%02d" % n) for _, n, _, _ in runs])
        print("round %d: %d reports, %d data files, %d overview rows" % (round_number, len(reports),
                                                                     len(data), len(rows) - 1))
        shutil.rmtree(base)


def journey_network(j):
    base = j.workdir("network")
    classfolder, gone = os.path.join(base, "klasse"), os.path.join(base, "klasse-væk")
    workdir = os.path.join(base, "pc")
    os.makedirs(classfolder)
    os.makedirs(workdir)
    path, answers1, answers2 = script(workdir, 1, int((time.time() + 30) * 1000))
    popen = run_copy(j, workdir, classfolder, path)

    def dictation1_sent():
        reports = class_files(classfolder)[0]
        return reports and b"<h3>Diktat 1" in open(os.path.join(classfolder, reports[0]), "rb").read()

    j.until(dictation1_sent, 25, "Dictation 1 in the class folder")
    os.rename(classfolder, gone)  # the share is gone in the middle of Dictation 2
    out = finished(popen)
    check("waiting: 2" in out and "notice: Hent din lærer. Resultatet er gemt sikkert på denne pc" in out,
          "the results page does not say the result waits:\n%s" % out)
    outbox = os.path.join(workdir, "udbakke")
    waiting = {n: open(os.path.join(outbox, n), "rb").read() for n in os.listdir(outbox)
               if os.path.isfile(os.path.join(outbox, n))}
    check(sorted(n[-5:] for n in waiting) == [".html", ".json"], "the outbox holds %s" % list(waiting))
    same_report(next(v for n, v in waiting.items() if n.endswith(".html")),
                expected_report(form(1), answers1, answers2), "the report in the outbox")

    os.rename(gone, classfolder)
    # A script is no way past the password: a wrong one starts nothing and sends nothing.
    with open(path, "w") as f:
        json.dump({"password": "kanel"}, f)
    before = class_files(classfolder), sorted(os.listdir(os.path.join(workdir, "udbakke")))
    refused = run_copy(j, workdir, classfolder, path)
    refused.communicate(timeout=60)
    check(refused.returncode == 2
          and (class_files(classfolder), sorted(os.listdir(os.path.join(workdir, "udbakke")))) == before,
          "a script with a wrong password ended with %s; the class folder holds %s"
          % (refused.returncode, os.listdir(classfolder)))
    with open(path, "w") as f:
        json.dump({"password": learner.PASSWORD}, f)  # the next start, with no learner yet
    finished(run_copy(j, workdir, classfolder, path))
    reports, data = class_files(classfolder)
    check(len(reports) == 1 and len(data) == 1, "the class folder holds %s" % os.listdir(classfolder))
    for name, bytes_ in waiting.items():
        check(open(os.path.join(classfolder, name), "rb").read() == bytes_, "%s is not byte-equal" % name)
    check(not [f for _, _, fs in os.walk(outbox) for f in fs], "the outbox is not empty")
    rows = overview(classfolder)
    check(len(rows) == 2 and rows[1][3] == form(1)[1] and rows[1][11] == reports[0],
          "the overview after the late data file: %s" % rows)
    print("sent at the next start: %s" % sorted(waiting))


def saved_copy(classfolder, pc):
    """The fields of PC pc's copy of its saved test in the class folder, or None."""
    try:
        with open(os.path.join(classfolder, "gemte-test", pc + ".json"), encoding="utf-8") as f:
            return json.load(f)["fields"]
    except (OSError, ValueError, KeyError):
        return None


def journey_move(j):
    base = j.workdir("move")
    classfolder = os.path.join(base, "klasse")
    pc1, pc2 = os.path.join(base, "pc1"), os.path.join(base, "pc2")
    for d in (classfolder, pc1, pc2):
        os.makedirs(d)
    argv = [j.program, "--klassemappe", classfolder]
    form_ = CLASS[0]
    program = learner.through_the_form(j, pc1, form_, argv=argv)
    learner.next_page(j, "dictation1")
    through_dictation1(j, program)
    learner.answer(j, ANSWERS_2[:30])
    with open(os.path.join(pc1, "skrivlo-pc.txt")) as f:
        name1 = f.read().strip()
    typed = lambda fields: fields and [fields.get("word%d" % n) for n in range(21, 51)] == ANSWERS_2[:30]
    j.until(lambda: typed(saved_copy(classfolder, name1)), 30, "the 30 answers in PC 1's copy in the class folder")
    os.kill(program.pid, signal.SIGKILL)
    program.wait_exit(10)
    # A copy PC 1 had saved but not yet sent when it died: it leaves at PC 1's next start.
    waiting = os.path.join(pc1, "udbakke", "gemte-test", name1 + ".json")
    os.makedirs(os.path.dirname(waiting), exist_ok=True)
    shutil.copy(os.path.join(pc1, learner.RECOVERY_FILE), waiting)
    # The program takes a copy and a sign of life unchanged for 90 s as left by a PC that no
    # longer runs it; the files are made that old rather than waited for.
    left = time.time() - 120
    for name in os.listdir(os.path.join(classfolder, "gemte-test")):
        os.utime(os.path.join(classfolder, "gemte-test", name), (left, left))

    program = learner.unlock_class_test(j, pc2, argv)
    j.wait_page("dictation2")
    j.shot("dictation2-on-pc2")
    learner.answer(j, ANSWERS_2[30:])  # the cursor waits in the first empty word
    hand_in_dictation2(j)
    learner.close_reminder(j)
    expected = expected_report(form_, ALL_RIGHT_1, ANSWERS_2)
    same_report(report_in(pc2), expected, "PC 2's results.html")
    with open(os.path.join(pc2, "skrivlo-pc.txt")) as f:
        name2 = f.read().strip()
    reports, data = j.until(lambda: (lambda r, d: (r, d) if r and d else None)(*class_files(classfolder)), 20,
                            "the report and the data file in the class folder")
    check(len(reports) == 1 and len(data) == 1 and "[%s]" % name1 in reports[0],
          "the class folder holds %s" % os.listdir(classfolder))
    check(open(os.path.join(classfolder, reports[0]), "rb").read() == report_in(pc2),
          "the class folder's report is not PC 2's results.html")
    rows = overview(classfolder)
    check(len(rows) == 2 and rows[1][3] == form_[1] and rows[1][5] == "20" and rows[1][10] != "Ikke afsluttet" and rows[1][11] == reports[0],
          "the overview: %s" % rows)
    learner.quit(j, program)
    moved = sorted(os.listdir(os.path.join(classfolder, "gemte-test")))
    check("%s fortsat på %s.txt" % (name1, name2) in moved and name1 + ".json" not in moved
          and name2 + ".json" not in moved, "gemte-test holds %s" % moved)

    program = j.launch(pc1, argv=argv)
    j.wait_window(learner.ACCESS_TITLE)
    j.type(learner.PASSWORD)
    j.key("Return")
    learner.confirm(j, learner.MOVED_TITLE)
    j.wait_window(learner.MAIN_TITLE)
    j.wait_page("guide")
    # Put aside under a name that says why, not as unreadable.
    aside = [n for n in os.listdir(pc1) if n.startswith("skrivlo-gemt-test fortsat på anden pc ")]
    check(not os.path.exists(os.path.join(pc1, learner.RECOVERY_FILE)) and len(aside) == 1,
          "PC 1's working folder holds %s" % os.listdir(pc1))
    learner.quit(j, program)
    now = sorted(os.listdir(os.path.join(classfolder, "gemte-test")))
    check(name1 + ".json" not in now, "PC 1 left its copy for a third PC to take: %s" % now)
    check(overview(classfolder) == rows and class_files(classfolder) == (reports, data),
          "PC 1's start changed the class folder: %s" % os.listdir(classfolder))
    print("moved from %s to %s: %s; PC 1 put aside %s" % (name1, name2, reports[0], aside[0]))


SMB_PORT = 4450
SMB_PASSWORD = "skrivlo-test"


def start_share(j, base):
    """smbd on 127.0.0.1 with everything in base; returns the share's own folder."""
    if os.geteuid() != 0:
        raise Skip("smbd and a Samba user of its own need root")
    if not os.path.exists("/dev/fuse"):
        raise Skip("no FUSE here (/dev/fuse is missing)")
    missing = [t for t in ("smbd", "smbpasswd", "smbnetfs", "fusermount") if not shutil.which(t)]
    if missing:
        raise Skip("missing %s (scripts/install-deps.sh --test installs samba and smbnetfs)" % " ".join(missing))
    share = os.path.join(base, "share")
    state = os.path.join(base, "samba")
    for d in (share, state):
        os.makedirs(d)
    conf = os.path.join(state, "smb.conf")
    with open(conf, "w") as f:
        f.write("[global]\n smb ports = %d\n interfaces = lo\n bind interfaces only = yes\n"
                " lock directory = %s\n state directory = %s\n cache directory = %s\n"
                " pid directory = %s\n private dir = %s\n log file = %s/log\n"
                " disable spoolss = yes\n load printers = no\n"
                "[klasse]\n path = %s\n read only = no\n"
                % ((SMB_PORT,) + (state,) * 6 + (share,)))
    subprocess.run(["smbpasswd", "-c", conf, "-s", "-a", "root"], input=("%s\n%s\n" % (SMB_PASSWORD, SMB_PASSWORD)).encode(),
                   check=True, capture_output=True, timeout=30)
    smbd = j.spawn("smbd", ["smbd", "-s", conf, "-F", "--no-process-group", "--debug-stdout"], preexec=os.setsid)
    j.until(lambda: subprocess.run(["bash", "-c", "exec 3<>/dev/tcp/127.0.0.1/%d" % SMB_PORT],
                                   capture_output=True).returncode == 0, 20, "smbd to listen")
    return share, smbd


def mount_pc(j, base, name):
    home = os.path.join(base, name + "-home")
    mnt = os.path.join(base, name + "-mnt")
    os.makedirs(os.path.join(home, ".smb"))
    os.makedirs(mnt)
    config = os.path.join(home, ".smb", "smbnetfs.conf")
    with open(config, "w") as f:
        f.write('smb_query_browsers "false"\nuse_libsecret "false"\n'
                # smbnetfs looks the password up by host and share without the port; under
                # any other key it logs in as a guest, whom the share turns away (EACCES).
                'auth "127.0.0.1/klasse" "root" "%s"\n' % SMB_PASSWORD)
    os.chmod(config, 0o600)  # smbnetfs ignores the password in a file others may read
    env = dict(j.env(), HOME=home)
    j.spawn("smbnetfs-" + name, preexec=os.setsid, argv=["smbnetfs", mnt, "-f", "-o", "config=%s,attr_timeout=0,entry_timeout=0,"
                                 "negative_timeout=0" % config], env=env)
    folder = os.path.join(mnt, "127.0.0.1:%d" % SMB_PORT, "klasse")
    j.until(lambda: os.path.isdir(folder), 30, "the share through %s" % mnt)
    j.mounts.append(mnt)
    return folder


def journey_smb(j):
    base = j.workdir("smb")
    j.mounts = []
    try:
        share, _ = start_share(j, base)
        folders = [mount_pc(j, base, "pc%d" % n) for n in (1, 2)]
        for folder in folders:
            probe = os.path.join(folder, "probe.txt")
            try:
                with open(probe, "w") as f:
                    f.write("x")
                os.remove(probe)
            except OSError as e:
                raise AssertionError("the share takes no file through smbnetfs: %s (log: %s)" % (e, base))
        hand_in_at = int((time.time() + 12) * 1000)
        runs, workdirs = [], []
        for number, folder in enumerate(folders):
            workdirs.append(os.path.join(base, "work%d" % number))
            os.makedirs(workdirs[-1])
            path, answers1, answers2 = script(workdirs[-1], number + 1, hand_in_at)
            runs.append((run_copy(j, workdirs[-1], folder, path), number + 1, answers1, answers2))
        outputs = [finished(popen, 180) for popen, _, _, _ in runs]
        reports, data, rows = arrived(share, runs, outputs, workdirs)
        print("through two smbnetfs mounts: %s, %s, %d overview rows" % (reports, data, len(rows) - 1))
    finally:
        for mnt in j.mounts:
            subprocess.run(["fusermount", "-u", mnt], capture_output=True)


if __name__ == "__main__":
    journey = Journey("classfolder", deadline=1500,
                      options=lambda p: p.add_argument("--rounds", type=int, default=20))
    body = {"fifteen": journey_fifteen, "network": journey_network, "smb": journey_smb,
            "move": journey_move}.get(journey.variant)
    if body is None:
        sys.exit("--variant fifteen, smb, network or move")
    sys.exit(journey.run(body))
