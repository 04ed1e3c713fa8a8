"""The hand-in question: "Nej" (by mouse or by Escape) leaves the dictation on screen with
every answer in place and writes nothing; the learner can go on and correct answers, and
"Ja" hands in. Dictation 2 then gives 51 right, the lowest score of "Trin 4"."""

import datetime
import sys

import learner
import oracle
from harness import Journey, check

FORM = ["Lærdansk Vejle", "Mia Sørensen", "Vestergade 3", "2001", "10", "ja", "", ""]
FIRST_TEN = ["kørte", "fint", "sollen", "talt", "gamle", "læst", "hele", "prøve", "fire", "døren"]
LAST_TEN = ["glas", "lavet", "stole", "stor", "hane", "gåsevin", "symbol", "løven", "fine", "rene"]
CORRECTED = {3: "solen"}

WRONG_IN_DICTATION2 = {21: "ankomm", 27: "renæsancebygning", 33: "", 45: "Formue", 50: "sydgavel",
                       58: "accepterret", 64: "restaurang", 72: "Oldermanden", 80: "atraktioner"}
ANSWERS_51 = [WRONG_IN_DICTATION2.get(n, oracle.DICTATION2_WORDS[n]) for n in range(21, 81)]


def say_no(j, how):
    """Answers the hand-in question with "Nej"; returns once the box is gone."""
    box = j.wait_window("Advarsel!")
    if how == "mouse":
        x, y, w, h = j.geometry(box)
        button = j.grab().blob(rb"\xab\xab\xab", lambda r, g, b: True,
                               region=(x + w // 2, y + h - 45, x + w, y + h), min_pixels=20)
        check(button, "no Nej button at the bottom right of the hand-in question")
        j.click_centre(button)
    else:
        j.key("Escape")
    j.wait_window_gone("Advarsel!")


def still_there(j, program, kind, report_before, how):
    check(j.never_shown("Vigtigt!", 0.5), '"Nej" by %s handed in all the same' % how)
    j.wait_page(kind, timeout=5)
    check(program.report() == report_before, '"Nej" by %s changed results.html' % how)


def journey(j):
    workdir = j.workdir()
    program = learner.through_the_form(j, workdir, FORM)
    screen = learner.next_page(j, "dictation1")
    header = program.report()
    fields = screen.fields(80, 120)
    check(len(fields) == 20, "Dictation 1 shows %d fields" % len(fields))

    learner.answer(j, FIRST_TEN)
    learner.click_arrow(j, screen)
    say_no(j, "mouse")
    still_there(j, program, "dictation1", header, "mouse")
    # Go on where the learner left off, with the mouse, and correct an earlier word.
    j.click_centre(fields[10])
    learner.answer(j, LAST_TEN)
    for number, text in CORRECTED.items():
        j.click_centre(fields[number - 1])
        j.key("ctrl+a")
        j.type(text)
    learner.click_arrow(j, screen)
    say_no(j, "escape")
    still_there(j, program, "dictation1", header, "escape")
    j.shot("dictation1-after-nej")

    learner.click_arrow(j, screen)
    j.wait_window("Advarsel!")
    j.key("space")  # "Ja" has the focus
    learner.next_page(j, "dictation2", j.wait_page("guide"))

    answers1 = FIRST_TEN + LAST_TEN
    for number, text in CORRECTED.items():
        answers1[number - 1] = text
    section1, right = oracle.dictation1(answers1)
    check(right == 20, "the corrected answers were meant to be all right, not %d" % right)
    details = [oracle.date_text(datetime.date.today())] + FORM
    after1 = program.report()
    check(oracle.without_stamps(after1.decode("utf-8")) == oracle.header(details) + section1,
          "after Dictation 1 the report does not hold the answers given around the two Nej:\n%s"
          % after1.decode("utf-8"))

    learner.answer(j, ANSWERS_51)
    screen = learner.scroll_to_arrow(j)
    learner.click_arrow(j, screen)
    say_no(j, "escape")
    still_there(j, program, "dictation2", after1, "escape")
    learner.click_arrow(j, screen)
    j.wait_window("Advarsel!")
    j.key("Return")
    learner.close_reminder(j)
    j.wait_page("results")

    section2, total, _ = oracle.dictation2(ANSWERS_51)
    check(total == 51, "the Dictation 2 answers were meant to give 51, not %d" % total)
    expected = oracle.header(details) + section1 + section2
    actual = oracle.without_stamps(program.report().decode("utf-8"))
    check(actual == expected, "results.html differs from the expected report:\n--- expected\n%s\n--- actual\n%s"
          % (expected, actual))
    learner.quit(j, program)


if __name__ == "__main__":
    sys.exit(Journey("confirmation", deadline=150).run(journey))
