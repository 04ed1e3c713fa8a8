"""Installed like any other program: `cmake --install` into a temporary prefix, then started
as the menu entry's Exec line says, from the home folder of a fresh user whose documents
folder has a Danish name. The first word field's sentence reaches the sound device from the
installed recordings, the report lands in Dokumenter/Skrivlo, and Qt's own dialogs speak
Danish: the save dialog's "&Gem" answers Alt+G and its overwrite question's "&Ja" Alt+J
(the English "&Save" and "&Yes" would not)."""

import os
import shlex
import shutil
import subprocess
import sys
import time

import learner
import sound
from harness import Journey, Skip, check

FORM = ["Sprogcenter Nord", "Asta Møller", "Åvej 3", "1988", "", "", "", ""]
SAVE_TITLE = "Gem resultater som PDF-fil"


def install(j):
    check(j.build, "--build names no build folder to install from")
    prefix = os.path.join(j.tmp, "prefix")
    done = subprocess.run(["cmake", "--install", j.build, "--prefix", prefix], capture_output=True)
    check(done.returncode == 0, "cmake --install failed:\n%s" % done.stderr.decode(errors="replace"))
    if not os.path.isfile(os.path.join(prefix, "share", "skrivlo", "sounds", "1.wav")):
        raise Skip("the build made no recordings to install")
    return prefix


def menu_command(prefix):
    """The Exec line of the installed menu entry, with the program found as the menu finds it."""
    with open(os.path.join(prefix, "share", "applications", "dk.skrivlo.Skrivlo.desktop"), encoding="utf-8") as f:
        exec_line = next(line for line in f if line.startswith("Exec="))
    argv = shlex.split(exec_line[len("Exec="):])
    program = shutil.which(argv[0], path=os.path.join(prefix, "bin"))
    check(program, "the Exec line's %r is not in %s/bin" % (argv[0], prefix))
    return [program] + argv[1:]


def save_pdf_with_mnemonics(j, name, overwrite=False):
    j.click_centre(j.grab().pdf_icon())
    j.wait_window(SAVE_TITLE)
    if not overwrite:
        j.shot("save-dialog")
    j.key("ctrl+a")  # over any name the dialog suggests
    j.type(name)
    j.key("alt+g")
    if overwrite:
        time.sleep(1.0)  # the question comes up over the dialog, under the same title
        j.shot("overwrite-question")
        j.key("alt+j")
    try:
        j.wait_window_gone(SAVE_TITLE)
    except TimeoutError:
        raise AssertionError("the save dialog did not answer Alt+%s: are Qt's dialogs in English?"
                             % ("J" if overwrite else "G"))


def journey(j):
    prefix = install(j)
    argv = menu_command(prefix)
    documents = os.path.join(j.home, "Dokumenter")
    os.makedirs(os.path.join(j.home, ".config"))
    with open(os.path.join(j.home, ".config", "user-dirs.dirs"), "w") as f:
        f.write('XDG_DOCUMENTS_DIR="$HOME/Dokumenter"\n')
    first = sound.read_wav(os.path.join(prefix, "share", "skrivlo", "sounds", "1.wav"))

    j.start_sound_server()
    program = learner.through_the_form(j, j.home, FORM, sound=True, argv=argv)
    rec = sound.Recorder(j, "installed")
    shown = rec.now()
    learner.next_page(j, "dictation1")
    time.sleep(len(first) / sound.RATE + 1.0)
    recording = rec.stop()
    _, fit, _ = sound.match(recording, first, shown, len(recording))
    check(fit >= 0.8, "1.wav from the installed recordings did not reach the sound device (fit %.2f)" % fit)

    learner.hand_in(j, "results")  # no word typed: Trin 1
    learner.close_reminder(j)
    report = os.path.join(documents, "Skrivlo", "results.html")
    check(os.path.isfile(report), "no report in Dokumenter/Skrivlo; the home folder holds %s"
          % sorted(os.listdir(j.home)))
    check("Asta Møller" in open(report, encoding="utf-8").read(), "the report is not this learner's")
    check(not os.path.exists(os.path.join(j.home, "results.html")), "a report landed in the working directory")

    save_pdf_with_mnemonics(j, "rapport.pdf")
    # Wherever the dialog opened: the working directory or the results folder.
    pdf = j.until(lambda: next((os.path.join(folder, "rapport.pdf") for folder, _, names in os.walk(j.home)
                                if "rapport.pdf" in names), None), 10, "the PDF file")
    first_save = os.stat(pdf).st_mtime_ns
    save_pdf_with_mnemonics(j, "rapport.pdf", overwrite=True)
    j.until(lambda: os.stat(pdf).st_mtime_ns != first_save, 10, "the PDF to be written again")
    learner.quit(j, program)


if __name__ == "__main__":
    sys.exit(Journey("installed", deadline=130).run(journey))
