"""A learner fills the form clumsily, spells 17 of Dictation 1's words right and is placed
on "Trin 1"; the teacher finds exactly the expected report."""

import datetime
import sys
import time

import learner
import oracle
from harness import Journey, check

DETAILS = [
    None,  # the date as the form fills it in
    "  VUC Østjylland ",
    'Åse "Bæk" <b>&Ærø</b>',
    "Søndergade 7 & 9, 2. tv.",
    "nitten hundrede og 90",
    "9 år",
    "   ",  # blanks only
    "",
    "Kok <i>",
]

ANSWERS_17 = [
    "kørte", "  fint ", "Solen", "talt", "gamle", "læst", "hele", "prøve", "fire", "",
    "glas", "lavet", "stole", "stor", "hane", "gåsevin", "symbol", "løven",
    "<b>fine&</b>xyz",  # markup, and longer than the field takes
    "rene",
]


def journey(j):
    workdir = j.workdir()
    day_before = datetime.date.today()
    program = learner.unlock(j, workdir)
    learner.next_page(j, "form")
    learner.fill_details(j, DETAILS)
    check(program.report() is None, "the report was written before the form was accepted")

    learner.next_page(j, "guide")
    dates = {oracle.date_text(day_before), oracle.date_text(datetime.date.today())}
    header = program.report()
    check(header is not None, "leaving the form wrote no results.html")
    header = header.decode("utf-8")
    matching = [d for d in dates if header == oracle.header([d] + DETAILS[1:])]
    check(matching, "report after the form differs from the expected header:\n%s" % header)

    screen = learner.next_page(j, "dictation1")
    shown_at = time.monotonic()
    learner.answer(j, ANSWERS_17)
    learner.click_arrow(j, screen)
    j.wait_window("Advarsel!")
    j.key("Return")
    # The reminder comes over the results page, which is already on screen behind it.
    j.wait_window("Vigtigt!")
    spent = time.monotonic() - shown_at
    check(j.grab().pdf_icon(), 'the "Vigtigt!" box came before the results page')
    j.shot("reminder-over-results")
    learner.close_reminder(j)
    j.wait_page("results")

    section, right = oracle.dictation1(ANSWERS_17)
    check(right == 17, "the answers were meant to hold 17 right words, not %d" % right)
    expected = oracle.header([matching[0]] + DETAILS[1:]) + section
    actual = program.report().decode("utf-8")
    check(oracle.without_stamps(actual) == expected,
          "results.html differs from the expected report:\n--- expected\n%s\n--- actual\n%s"
          % (expected, actual))
    stamp = oracle.stamps(actual)[1]
    check(abs(stamp - spent) <= 3, "Dictation 1 took about %.0f s, the report says %d s" % (spent, stamp))
    learner.quit(j, program)


if __name__ == "__main__":
    sys.exit(Journey("trin1", deadline=100).run(journey))
