"""Broken recordings never freeze the test. A teacher's sounds folder holds, for fields 2 to
12 of Dictation 1, every kind of broken WAV (empty, header only, cut off, a data size of
4 GiB, zero channels, rate or bits, 24-bit, not a WAV, noise). The teacher is told after
the password and goes on; the learner presses Enter through every field, and each word
typed shows in the next field within a second; the report holds every answer.

Variants (--variant):
  device   with a sound server (a null sink)
  silent   no audio server at all
"""

import datetime
import os
import sys

import learner
import oracle
import sound
from harness import Journey, check

FORM = ["Sprogcenter Nord", "Ole Øst", "Havnegade 1", "1980", "", "", "", ""]
ANSWERS = ["kørte", "fint", "solen", "talt", "gamle", "læst", "hele", "prøve", "fire", "døren",
           "glas", "lavet", "stole", "stor", "hane", "gåsevin", "symbol", "løve", "fin", "ren"]


def journey(j):
    device = j.variant == "device"
    if device:
        j.start_sound_server()
    workdir = j.workdir(sounds=True)
    sounds = os.path.join(workdir, "sounds")
    with open(os.path.join(sounds, "1.wav"), "rb") as f:
        good = f.read()
    for field, (kind, data) in enumerate(sorted(sound.broken_wavs(good).items()), start=2):
        with open(os.path.join(sounds, "%d.wav" % field), "wb") as f:
            f.write(data)

    program, _ = learner.start(j, workdir, sound=device)
    learner.unlock_started(j, program, recordings_notice=True)
    learner.next_page(j, "form")
    learner.fill_form(j, FORM)
    learner.next_page(j, "guide")
    learner.next_page(j, "dictation1")
    slowest = learner.answer_watching(j, ANSWERS)
    print("slowest field: %.2f s from typing to showing" % slowest)
    learner.hand_in(j, "results")
    learner.close_reminder(j)

    section, _ = oracle.dictation1(ANSWERS)
    expected = oracle.header([oracle.date_text(datetime.date.today())] + FORM) + section
    actual = oracle.without_stamps(program.report().decode("utf-8"))
    check(actual == expected, "the report differs:\n--- expected\n%s\n--- actual\n%s" % (expected, actual))
    learner.quit(j, program)


if __name__ == "__main__":
    sys.exit(Journey("freeze", deadline=140).run(journey))
