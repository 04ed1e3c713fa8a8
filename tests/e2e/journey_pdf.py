"""Saving the results as PDF: a cancelled save dialog writes nothing; a name typed without
".pdf" gets it and holds a real PDF of the report on screen: the learner's name, answers
and the level ("Trin 2" from 37 right, the highest score of that level)."""

import os
import subprocess
import sys
import unicodedata

import learner
import oracle
from harness import Journey, check

FORM = ["Sprogskolen", "Ole Bjørn <Larsen>", "Torvet 1", "1966", "", "", "", "Buschauffør"]
ANSWERS_19 = ["kørte", "fint", "solen", "talt", "gamle", "læst", "hele", "prøve", "fire", "døren",
              "glas", "lavet", "stole", "stor", "hane", "gåsevin", "symbol", "Løven", "fine", "rene"]
WRONG = {21: "", 22: "eftermidag", 23: "tjekede", 25: "saitsiing", 27: "renæssance", 28: "etasjer",
         31: "provokation!", 36: "konstruered", 39: "FJERDE", 42: "svenskere", 47: "arkitekten",
         51: "dekorasjoner", 54: "groteskt", 57: "provokeere", 58: "aksepteret", 59: "kontroversielt",
         60: "excentric", 62: "bygningsverk", 64: "restorant", 65: "danmarks", 73: "dekorativt",
         76: "", 78: "arrangement"}
ANSWERS_37 = [WRONG.get(n, oracle.DICTATION2_WORDS[n]) for n in range(21, 81)]
TYPED_NAME = "kursist rapport"


def files_in(*folders):
    return {os.path.join(folder, name) for folder in folders for name in os.listdir(folder)}


def journey(j):
    workdir = j.workdir()
    program = learner.through_the_form(j, workdir, FORM)
    learner.next_page(j, "dictation1")
    learner.answer(j, ANSWERS_19)
    learner.hand_in(j, "guide")
    learner.next_page(j, "dictation2")
    learner.answer(j, ANSWERS_37)
    learner.click_arrow(j, learner.scroll_to_arrow(j))
    j.wait_window("Advarsel!")
    j.key("Return")
    learner.close_reminder(j)
    screen = j.wait_page("results")
    _, total, _ = oracle.dictation2(ANSWERS_37)
    check(total == 37, "the Dictation 2 answers were meant to give 37, not %d" % total)

    before = files_in(workdir)
    j.click_centre(screen.pdf_icon())
    j.wait_window("Gem resultater som PDF-fil")
    j.shot("save-dialog")
    j.key("Escape")
    j.wait_window_gone("Gem resultater som PDF-fil")
    check(files_in(workdir) == before, "the cancelled save dialog wrote %s"
          % sorted(files_in(workdir) - before))

    learner.save_pdf(j, TYPED_NAME)
    pdf = os.path.join(workdir, TYPED_NAME + ".pdf")
    try:
        j.until(lambda: os.path.isfile(pdf) and os.path.getsize(pdf) > 1000, 10, "the PDF file")
    except TimeoutError:
        raise AssertionError("no PDF named %r; new files: %s"
                             % (TYPED_NAME, sorted(f for f in files_in(workdir, j.home) - before
                                                   if not os.path.basename(f).startswith("."))))
    check(not os.path.exists(os.path.join(workdir, TYPED_NAME)), "the typed name was used without .pdf")
    with open(pdf, "rb") as f:
        check(f.read(5) == b"%PDF-", "the saved file is not a PDF")
    text = subprocess.run(["pdftotext", pdf, "-"], capture_output=True, check=True).stdout.decode()
    text = unicodedata.normalize("NFKC", text)  # the PDF's ligatures (ﬁ, ﬀ) back to letters
    for seen in ("Navn: Ole Bjørn <Larsen>", "Jobs: Buschauffør", "Diktat 1", "Løven (løven)",
                 "kørte", "Total: 19", "FJERDE (fjerde)", "danmarks (Danmarks)", "- (ankom)",
                 "restorant (restaurant)", "Total: 37", "Trin 2"):
        check(seen in text, "the PDF does not show %r:\n%s" % (seen, text))
    learner.quit(j, program)


if __name__ == "__main__":
    sys.exit(Journey("pdf", deadline=120).run(journey))
