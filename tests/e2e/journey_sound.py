"""The recordings reach the sound device: a word field plays its own sentence when the
focus moves to it (page shown, Enter, a click), a new sentence cuts off the one playing,
and the green arrow silences it. Without any audio server the test runs on in silence.

Variants (--variant):
  device   a private PulseAudio server with a null sink, whose monitor is recorded
  silent   no audio server at all
"""

import datetime
import os
import sys
import time

import learner
import oracle
import sound
from harness import Journey, check

FORM = ["Sprogcenter Syd", "Ida Ærø", "Kirkevej 2", "1995", "", "", "", ""]
SECOND = sound.RATE
PREFIX = 0.9  # seconds of a sentence that tell it from the others
REACTION = 0.6  # seconds from an action to its sentence at the device, at most


def journey_device(j):
    j.start_sound_server()
    workdir = j.workdir(sounds=True)
    files = {n: sound.read_wav(os.path.join(workdir, "sounds", "%d.wav" % n)) for n in range(1, 9)}
    program = learner.through_the_form(j, workdir, FORM, sound=True)  # the help page is speaking now

    rec = sound.Recorder(j, "dictation1")
    # Two samples per action: before it began and once it was done. A sentence may not
    # start before the first, and must start soon after the second: on a busy machine the
    # action itself (an xdotool process) can take longer than the program to answer it.
    marks = {}

    def act(name, action, then_wait, then=lambda: None):
        before = rec.now()
        action()
        marks[name] = (before, rec.now())
        then()
        time.sleep(then_wait)

    def act_heard(name, action, seconds):
        """The action in silence, then as long as it takes until `seconds` of the sound it
        started are recorded: a wait that follows the sound, not the recording's length."""
        act(name, action, 0)
        rec.wait_heard(marks[name][0], seconds + 0.1, timeout=REACTION + seconds + 0.5)

    # One sentence is heard to its end; for the others their first words show that the
    # right one began, and the next action cuts them off, which is what a learner does.
    # The help page's sentence still sounds when Dictation 1 comes, hiding where 1.wav
    # begins; 2.wav begins in the silence after it. The later ones each cut off one still
    # sounding, so for them too wait for the slowest start allowed.
    act("shown", lambda: learner.next_page(j, "dictation1"), len(files[1]) / SECOND + 1.0)
    screen = j.grab()
    act_heard("enter", lambda: j.key("Return"), PREFIX)
    start_heard = PREFIX + REACTION
    act("click", lambda: j.click_centre(screen.fields(80, 120)[4]), start_heard)
    act("enter-6", lambda: j.key("Return"), start_heard)
    act("enter-7", lambda: j.key("Return"), start_heard)
    act("enter-8", lambda: j.key("Return"), start_heard)
    act("arrow", lambda: learner.click_arrow(j, screen), 1.5, then=lambda: j.wait_window("Advarsel!"))
    act("nej", lambda: j.key("Escape"), 1.0, then=lambda: j.wait_window_gone("Advarsel!"))
    recording = rec.stop()
    envelope = sound.loudness(recording)
    end = len(recording)

    def started(n, lag, fit, name, what, within):
        before, done = marks[name]
        check(fit >= 0.8, "%s: %d.wav did not reach the sound device (fit %.2f)" % (what, n, fit))
        check(before <= lag and lag - done <= within * SECOND, "%s: %d.wav began %.2f s after the action"
              % (what, n, (lag - done) / SECOND))

    def began(n, name, until, what, within=REACTION):
        """File n began soon after action `name`: its first words are found before `until`."""
        since = marks[name][0]
        lag, _, fit = sound.match(recording, files[n][:int(PREFIX * SECOND)], since, until, envelope)
        started(n, lag, fit, name, what, within)

    def heard(n, name, until, what, within=REACTION):
        """File n played from its start to its end, beginning soon after action `name`, and
        nothing else sounded from then until `until`."""
        lag, _, fit = sound.match(recording, files[n], marks[name][0], until, envelope)
        started(n, lag, fit, name, what, within)
        expected = sound.sounding(sound.loudness(files[n]))
        actual = sound.sounding(sound.loudness(recording[lag:until]))
        check(actual and abs(actual[0] - expected[0]) <= 10 and abs(actual[1] - expected[1]) <= 10,
              "%s: %d.wav sounds from %.2f s to %.2f s, the device had sound from %s"
              % (what, n, sound.seconds(expected[0]), sound.seconds(expected[1]),
                 "%.2f s to %.2f s" % (sound.seconds(actual[0]), sound.seconds(actual[1])) if actual else "nothing"))

    def silent(since, until, what):
        loud = sound.sounding(sound.loudness(recording[since:until]))
        check(not loud, "%s: sound %.2f s after it should have stopped" % (what, sound.seconds(loud[0]) if loud else 0))

    heard(1, "shown", marks["enter"][0], "Dictation 1 shown, field 1 focused", within=1.0)
    began(2, "enter", marks["click"][0], "Enter in field 1")
    began(5, "click", marks["enter-6"][0], "a click into field 5")
    began(6, "enter-6", marks["enter-7"][0], "Enter in field 5")
    # Field 7's sentence cuts off field 6's: from its start on, only field 7 is heard.
    began(7, "enter-7", marks["enter-8"][0], "Enter in field 6, cutting off 6.wav")
    began(8, "enter-8", marks["arrow"][0], "Enter in field 7")
    silent(marks["arrow"][1] + SECOND // 5, marks["nej"][0], "the green arrow")
    silent(marks["nej"][0] + SECOND // 10, end, '"Nej"')
    learner.quit(j, program)


def journey_silent(j):
    workdir = j.workdir(sounds=True)
    answers = ["kørte", "fint", "solen", "talt", "gamle", "læst", "hele", "prøve", "fire", "døren",
               "glas", "lavet", "stole", "stor", "hane", "gåsevin", "symbol", "løve", "fin", "ren"]
    program = learner.unlock(j, workdir)
    screen = j.grab()
    j.click_centre(screen.speaker())  # would play the welcome
    learner.next_page(j, "form")  # plays its explanation on showing
    learner.fill_form(j, FORM)
    learner.next_page(j, "guide")
    learner.click_arrow(j)
    j.wait_page("dictation1")
    learner.answer(j, answers)  # every field asks for its sentence on the way
    learner.hand_in(j, "results")
    learner.close_reminder(j)
    section, right = oracle.dictation1(answers)
    check(right == 17, "the answers were meant to hold 17 right words, not %d" % right)
    expected = oracle.header([oracle.date_text(datetime.date.today())] + FORM) + section
    actual = oracle.without_stamps(program.report().decode("utf-8"))
    check(actual == expected, "without sound the report differs:\n--- expected\n%s\n--- actual\n%s"
          % (expected, actual))
    learner.quit(j, program)


if __name__ == "__main__":
    journey = Journey("sound", deadline=110)
    body = {"device": journey_device, "silent": journey_silent}.get(journey.variant)
    if body is None:
        sys.exit("--variant device or --variant silent")
    sys.exit(journey.run(body))
