"""A class on many PCs with one class folder. Each copy of the real program has its own
working folder and runs a learner's test from a script (SKRIVLO_SCRIPTED_RUN: the pages'
own hand-in code, without the waits), so fifteen can hand in within the same second.

Variants (--variant):
  fifteen  fifteen copies at once, 20 rounds (--rounds): 15 reports, 15 data files and an
           oversigt.csv of 15 rows that the csv module reads back exactly, every round
  network  the class folder disappears in the middle of Dictation 2: the result waits in the
           outbox and the results page says so; at the next start it arrives, once, byte-equal
"""

import csv
import datetime
import json
import os
import shutil
import subprocess
import sys
import time

import oracle
from harness import Journey, check
from journey_archive import ALL_RIGHT_1, ANSWERS_2, expected_report, same_report

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
        json.dump({"details": [oracle.date_text(TODAY)] + form(number), "answers1": answers1,
                   "answers2": answers2 or [], "handInAt": hand_in_at}, f, ensure_ascii=False)
    return path, answers1, answers2


def run_copy(j, workdir, classfolder, script_path):
    env = j.env()
    env.update({"QT_QPA_PLATFORM": "offscreen", "SKRIVLO_SCRIPTED_RUN": script_path,
                "SKRIVLO_SETTINGS_FILE": os.path.join(workdir, "none.ini")})
    return subprocess.Popen([j.program, "--klassemappe", classfolder], cwd=workdir, env=env,
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
        boxes = [l for out in outputs for l in out.splitlines() if l.startswith("box:")]
        check(boxes == ["box: Vigtigt!"] * copies, "boxes beside the reminder to print: %s" % boxes)
        reports, data = class_files(classfolder)
        check(len(reports) == copies and len(data) == copies,
              "round %d: %d reports and %d data files: %s" % (round_number, len(reports), len(data),
                                                                os.listdir(classfolder)))
        check(len({n.lower() for n in reports}) == copies, "names that differ only in case: %s" % reports)
        rows = overview(classfolder)
        check(len(rows) == copies + 1, "round %d: the overview has %d lines" % (round_number, len(rows)))
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
        for _, number, _, _ in runs:
            outbox = os.path.join(base, "pc%02d" % number, "udbakke")
            left = [os.path.join(d, f) for d, _, fs in os.walk(outbox) for f in fs]
            check(not left, "pc %d left %s in its outbox" % (number, left))
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
    with open(path, "w") as f:
        json.dump({}, f)  # the next start, with no learner yet
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


if __name__ == "__main__":
    journey = Journey("classfolder", deadline=1500,
                      options=lambda p: p.add_argument("--rounds", type=int, default=20))
    body = {"fifteen": journey_fifteen, "network": journey_network}.get(journey.variant)
    if body is None:
        sys.exit("--variant fifteen or network")
    sys.exit(journey.run(body))
