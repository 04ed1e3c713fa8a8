"""Installed like any other program: `cmake --install` into a temporary prefix, then started
as the menu entry's Exec line says, from the home folder of a fresh user whose documents
folder has a Danish name. The first word's sentence reaches the sound device from the
installed recordings, the report lands in Dokumenter/Skrivlo, and Qt's save dialog is Danish:
its "&Gem" answers Alt+G, which the English "&Save" would not."""

import os
import re
import shlex
import shutil
import subprocess
import sys

import learner
import sound
from harness import Journey, check

FORM = ["Sprogcenter Nord", "Asta Møller", "Åvej 3", "1988", "", "", "", ""]


def journey(j):
    prefix = os.path.join(j.tmp, "prefix")
    done = subprocess.run(["cmake", "--install", j.build, "--prefix", prefix], capture_output=True)
    check(done.returncode == 0, "cmake --install failed:\n%s" % done.stderr.decode(errors="replace"))
    with open(os.path.join(prefix, "share/applications/dk.skrivlo.Skrivlo.desktop"), encoding="utf-8") as f:
        argv = shlex.split(next(line for line in f if line.startswith("Exec="))[len("Exec="):])
    argv[0] = shutil.which(argv[0], path=os.path.join(prefix, "bin"))  # as the menu finds it
    os.makedirs(os.path.join(j.home, ".config"))
    with open(os.path.join(j.home, ".config", "user-dirs.dirs"), "w") as f:
        f.write('XDG_DOCUMENTS_DIR="$HOME/Dokumenter"\n')
    first = sound.read_wav(os.path.join(prefix, "share/skrivlo/sounds/1.wav"))
    # The documents for a school lie together, so their pictures and links to each other hold.
    guide = os.path.join(prefix, "share/skrivlo/vejledning")
    pages = {}
    for name in ("vejledning.html", "it.html", "databeskyttelse.html"):
        with open(os.path.join(guide, name), encoding="utf-8") as f:
            pages[name] = f.read()
    pictures = re.findall(r'<img src="([^"]+)"', pages["vejledning.html"])
    check(pictures and all(os.path.isfile(os.path.join(guide, p)) for p in pictures),
          "the installed guide misses pictures: %s" % pictures)
    for name, page in pages.items():
        for target, section in re.findall(r'<a href="([^":#]+)#?([^"]*)"', page):
            check(target in pages and (not section or '<a name="%s">' % section in pages[target]),
                  "%s links to %s#%s, which is not installed" % (name, target, section))
    check(os.path.isfile(os.path.join(prefix, "share/doc/skrivlo/vejledning/it.html")),
          "share/doc/skrivlo does not lead to the documents")

    j.start_sound_server()
    program = learner.through_the_form(j, j.home, FORM, sound=True, argv=argv)
    rec = sound.Recorder(j, "installed")
    shown = rec.now()
    learner.next_page(j, "dictation1")
    sound.heard_within(rec, first, shown, what="1.wav from the installed recordings")

    learner.hand_in(j, "results")  # no word typed: Trin 1
    learner.close_reminder(j)
    report = os.path.join(j.home, "Dokumenter", "Skrivlo", "results.html")
    check(os.path.isfile(report), "no report in Dokumenter/Skrivlo; the home folder holds %s"
          % sorted(os.listdir(j.home)))
    check("Asta Møller" in open(report, encoding="utf-8").read(), "the report is not this learner's")

    j.click_centre(j.grab().pdf_icon())
    j.wait_window("Gem resultater som PDF-fil")
    j.shot("save-dialog")
    j.key("ctrl+a")  # over any name the dialog suggests
    j.type("rapport.pdf")
    j.key("alt+g")
    try:
        j.wait_window_gone("Gem resultater som PDF-fil")
    except TimeoutError:
        raise AssertionError("the save dialog did not answer Alt+G: are Qt's dialogs in English?")
    # Wherever the dialog opened: the working directory or the working folder.
    j.until(lambda: any("rapport.pdf" in names for _, _, names in os.walk(j.home)), 10, "the PDF file")
    learner.quit(j, program)


if __name__ == "__main__":
    sys.exit(Journey("installed", deadline=130).run(journey))
