"""The whole test: exactly 18 right in Dictation 1 opens Dictation 2, where a mix of right
and wrong answers (capitals, "Fjerde" in field 39, "danmarks" in field 65, empty fields,
blanks, markup, a too long answer) gives 38 right and "Trin 3". Every page is kept as a
screenshot, and the page colours and button sizes are checked on screen."""

import datetime
import os
import subprocess
import sys
import unicodedata

import learner
import oracle
from harness import MARGIN_BLUE, WINDOW_BLUE, Journey, check

FORM = ["Sprogcenter Nord", "Jørgen Ødegård", "Åbyvej 12", "1979", "7", "nej", "smed", "lager"]

ANSWERS_18 = [
    " kørte", "fint", "solen", "talt", "gammel", "læst", "hele", "prøve", "fire", "døren",
    "glas", "lavet", "  ", "stor", "hane", "gåsevin", "symbol", "løven  ", "fine", "rene",
]

ANSWERS_38 = [
    "Ankom", "eftermiddag", "tjekkede  ", "  hotellet", "sightseing",
    "første", "renæssancebygning", "", "rigeste", "byggede",
    "provokasjon", "borgerskab", "nemli", "tilladt", "borgerlige",
    "konstruerede", "vener", "daværende", "Fjerde", "bestandigt",
    "penge", "Svenskerne", "flink", "gerne", "formue",
    "sente", "arkitekt", "imponerende", "hjørnet", "",
    "dekorationer", "udfordring", "blant", "grotesk", "tunge",
    "liger", "Provokere", "acepteret", "kontroversiel", "eksentrisk",
    "spændende", "bygningsværk", "kelderen", "restaurant & <bar>", "danmarks",
    "ansete", "hjemme", "nærmede", "straks", "egetræsbordet-i-kælderen",
    "optaget", "oldermanden", "", "bordenden", "rundt",
    "seremonier", "elegante", "arangementet", "burgere", "   ",
]


def looks_right(j, screen, what, buttons):
    """Dark blue page between darker side panels, and 64 x 64 picture buttons."""
    check(screen.pixel(5, 600) == MARGIN_BLUE, "%s: the progress panel is %s" % (what, screen.pixel(5, 600)))
    check(screen.pixel(screen.width - 5, 600) == MARGIN_BLUE,
          "%s: the right margin is %s" % (what, screen.pixel(screen.width - 5, 600)))
    check(screen.pixel(screen.page[0] + 2, 600) == WINDOW_BLUE,
          "%s: the page background is %s" % (what, screen.pixel(screen.page[0] + 2, 600)))
    for name, picture in buttons:
        check(picture, "%s: no %s button" % (what, name))
        x0, y0, x1, y1 = screen.widget_around(picture)
        check((x1 - x0 + 1, y1 - y0 + 1) == (64, 64),
              "%s: the %s button is %d x %d" % (what, name, x1 - x0 + 1, y1 - y0 + 1))


def no_horizontal_scroll_bar(j, screen):
    """Fusion draws a scroll bar as a grey trough; the page's bottom rows must hold none."""
    x0, _, x1, _ = screen.page
    for y in range(screen.height - 24, screen.height):
        row = [screen.pixel(x, y) for x in range(x0, x1)]
        grey = sum(1 for r, g, b in row if r == g == b and r > 150)
        check(grey < len(row) // 2, "a horizontal scroll bar under Dictation 2 (row %d)" % y)


def journey(j):
    workdir = j.workdir()
    today = datetime.date.today()
    program = learner.unlock(j, workdir)
    screen = j.grab()
    looks_right(j, screen, "welcome", [("next", screen.arrow()), ("speaker", screen.speaker())])
    j.shot("welcome")

    screen = learner.next_page(j, "form")
    looks_right(j, screen, "form", [("next", screen.arrow()), ("speaker", screen.speaker())])
    learner.fill_form(j, FORM)
    j.shot("form-filled")

    screen = learner.next_page(j, "guide")
    looks_right(j, screen, "help 1", [("next", screen.arrow()), ("speaker", screen.speaker())])
    j.shot("help-dictation1")

    screen = learner.next_page(j, "dictation1")
    looks_right(j, screen, "dictation 1", [("next", screen.arrow())])
    j.shot("dictation1")
    learner.answer(j, ANSWERS_18)
    j.shot("dictation1-filled")
    learner.click_arrow(j)
    j.wait_window("Advarsel!")
    j.shot("dictation1-confirm")
    j.key("Return")
    screen = j.wait_page("guide")
    looks_right(j, screen, "help 2", [("next", screen.arrow()), ("speaker", screen.speaker())])
    j.shot("help-dictation2")

    details = [oracle.date_text(today)] + FORM
    section1, right = oracle.dictation1(ANSWERS_18)
    check(right == 18, "the Dictation 1 answers were meant to hold 18 right words, not %d" % right)
    after1 = oracle.without_stamps(program.report().decode("utf-8"))
    check(after1 == oracle.header(details) + section1,
          "after Dictation 1 the report is not the open document expected:\n%s" % after1)

    screen = learner.next_page(j, "dictation2")
    looks_right(j, screen, "dictation 2", [])
    no_horizontal_scroll_bar(j, screen)
    j.shot("dictation2")
    learner.answer(j, ANSWERS_38)
    j.shot("dictation2-filled")
    screen = learner.scroll_to_arrow(j)
    looks_right(j, screen, "dictation 2 bottom", [("next", screen.arrow())])
    no_horizontal_scroll_bar(j, screen)
    j.shot("dictation2-bottom")
    learner.click_arrow(j, screen)
    j.wait_window("Advarsel!")
    j.shot("dictation2-confirm")
    j.key("Return")
    j.wait_window("Vigtigt!")
    j.shot("results-reminder")
    learner.close_reminder(j)
    j.wait_page("results")
    j.shot("results")

    section2, total, counts = oracle.dictation2(ANSWERS_38)
    check((total, counts) == (38, [14, 9, 15]),
          "the Dictation 2 answers were meant to give 38 = 14 + 9 + 15, not %d = %s" % (total, counts))
    expected = oracle.header(details) + section1 + section2
    actual = oracle.without_stamps(program.report().decode("utf-8"))
    check(actual == expected, "results.html differs from the expected report:\n--- expected\n%s\n--- actual\n%s"
          % (expected, actual))

    # What the results page shows: print it to PDF and read the text back.
    learner.save_pdf(j, "trin3.pdf")
    pdf = os.path.join(workdir, "trin3.pdf")
    j.until(lambda: os.path.isfile(pdf) and os.path.getsize(pdf) > 1000, 10, "the PDF file")
    text = subprocess.run(["pdftotext", "-layout", pdf, "-"], capture_output=True, check=True).stdout.decode()
    text = unicodedata.normalize("NFKC", text)  # the PDF's ligatures (ﬁ, ﬀ) back to letters
    for seen in ("Navn: Jørgen Ødegård", "Total: 18", "Total: 38", "Trin 3", "restaurant & <bar>",
                 "Fjerde", "danmarks (Danmarks)"):
        check(seen in text, "the report on screen does not show %r:\n%s" % (seen, text))
    check("Trin 1" not in text, "the report on screen shows Trin 1 as well")
    j.shot("results-after-pdf")
    learner.quit(j, program)


if __name__ == "__main__":
    sys.exit(Journey("dictation2", deadline=150).run(journey))
