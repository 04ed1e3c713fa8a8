"""The teacher's view of a class: `skrivlo --resultater` on a class folder of twelve learners
(each Trin, three not finished, Danish letters and a semicolon in names, one result kept
before there were data files, one damaged file). Behind the access dialog the teacher sorts
by Trin and searches for a name, opens a learner's result and saves it as PDF, exports the
rows shown as CSV, deletes a learner, and sees a learner handed in by a second copy of the
program while the view is open. Screenshots of the view with its chart are kept."""

import csv
import os
import shutil
import subprocess
import sys
import unicodedata

import classfolder
import learner
import oracle
from harness import Journey, check

VIEW_TITLE = "Skrivlo – resultater"
# name, start, Dictation 1, Dictation 2 (K, E, M) or None, finished
CLASS = [
    ("Åse Ørnsø", "2026-12-01T09:00:05", 12, None, True),            # Trin 1
    ("Bo; Holm", "2026-12-01T09:40:00", 17, None, True),             # Trin 1
    ("Carl Ærø", "2026-12-02T10:00:00", 19, (10, 8, 6), True),       # 24: Trin 2
    ("Dorte Dahl", "2026-12-02T10:30:00", 18, (12, 12, 10), True),   # 34: Trin 2
    ("Ebbe Å. Berg", "2026-12-03T08:00:00", 20, (15, 14, 12), True),  # 41: Trin 3
    ("Frida Friis", "2026-12-03T08:30:00", 20, (20, 18, 15), True),  # 53: Trin 4
    ("Gunnar Gøg", "2026-12-04T11:00:00", 20, (20, 20, 19), True),   # 59: Trin 4
    ("Hanne Hø", "2026-12-04T11:30:00", 15, None, False),            # not finished
    ("Ib Isager", "2026-12-05T12:00:00", 19, (5, 5, 5), False),      # not finished
    ("Jens Jæger", "2026-12-05T12:30:00", -1, None, False),          # not finished
]
OLD_FORMAT = ("Karen Kløft", "2026-12-06 08.15", 20, (13, 13, 13))  # 39: Trin 3, report only
DAMAGED = "2026-12-06 09.00 Lars Lund"
NEW_LEARNER = ["Sprogcenter Vest", "Mads Møller", "Havnevej 3", "1988", "", "", "", ""]


def seed(folder):
    os.makedirs(folder)
    for name, started, d1, d2, finished in CLASS:
        classfolder.hand_in(folder, name, started, d1, d2, finished)
    name, stem_time, d1, d2 = OLD_FORMAT
    with open(os.path.join(folder, "%s %s.html" % (stem_time, name)), "w", encoding="utf-8") as f:
        f.write(classfolder.report(name, d1, d2, True))
    with open(os.path.join(folder, DAMAGED + ".json"), "wb") as f:
        f.write(b'{"format": "skrivlo-kursist", "version": 1, "started": \x00\xff')


def export_csv(j, path):
    """Alt+E, a name typed into the save dialog; returns the rows read back with csv."""
    if os.path.exists(path):
        os.remove(path)
    j.key("alt+e")
    j.wait_window("Eksportér de viste kursister som CSV")
    j.key("ctrl+a")
    j.type(path)
    j.key("Return")
    j.wait_window_gone("Eksportér de viste kursister som CSV")
    j.until(lambda: os.path.isfile(path), 10, "the exported CSV")
    with open(path, encoding="utf-8-sig", newline="") as f:
        rows = list(csv.reader(f, delimiter=";"))
    check(rows and rows[0][3] == "Navn", "the export has no header line: %r" % rows[:1])
    return rows[1:]


def save_as(j, keys, title, path):
    """A button by its Alt key, a path typed into the save dialog that comes."""
    j.key(keys)
    j.wait_window(title)
    j.key("ctrl+a")
    j.type(path)
    j.key("Return")
    j.wait_window_gone(title)
    j.until(lambda: os.path.isfile(path) and os.path.getsize(path) > 0, 10, path)


def search(j, text):
    """Ctrl+F selects the search field's text, which the new text replaces."""
    j.key("ctrl+f", "BackSpace")
    j.type(text)


def trin_cells(screen, window):
    """The Trin column's coloured cells: (x0, y0, x1, y1) around all of them, or None."""
    x, y, w, h = window
    colours = [(0xf9, 0xc8, 0xc0), (0xfc, 0xe3, 0x9c), (0xbf, 0xe0, 0xf5), (0xc3, 0xe8, 0xc0)]
    xs, ys = [], []
    for py in range(y, y + h, 2):
        for px in range(x, x + w, 3):
            if screen.pixel(px, py) in colours:
                xs.append(px)
                ys.append(py)
    return (min(xs), min(ys), max(xs), max(ys)) if xs else None


def journey(j):
    workdir = j.workdir()
    classfolder = os.path.join(workdir, "resultater")
    seed(classfolder)
    program = j.launch(workdir, argv=[j.program, "--resultater"])
    learner.unlock_started(j, program, main_title=VIEW_TITLE)
    window = j.wait_window(VIEW_TITLE)
    geometry = j.geometry(window)
    check(geometry[2] >= j.screen[0] - 10 and geometry[3] < j.screen[1] and geometry[3] > j.screen[1] * 0.8,
          "the view is not maximised with its title bar: %r" % (geometry,))
    j.until(lambda: trin_cells(j.grab(), geometry), 10, "the table with its Trin colours")
    view_shot = j.shot("view")

    # Every readable learner, newest first; the damaged file is no row of the export.
    rows = export_csv(j, os.path.join(j.tmp, "alle.csv"))
    check(len(rows) == 11, "11 readable learners expected in the export, got %d: %r" % (len(rows), rows))
    check([r[0] + r[1] for r in rows] == sorted((r[0] + r[1] for r in rows), reverse=True),
          "not newest first: %r" % [r[3] for r in rows])
    karen = [r for r in rows if r[3] == "Karen Kløft"]
    check(karen and karen[0][5:11] == ["20", "13", "13", "13", "39", "3"],
          "the result kept before data files reads wrong: %r" % karen)
    bo = [r for r in rows if r[3] == "Bo; Holm"]
    check(bo and bo[0][10] == "1", "Bo; Holm: %r" % bo)

    # Sort by Trin: a click on its header, just above the first coloured cell.
    cells = trin_cells(j.grab(), geometry)
    check(cells, "no Trin colour in the table")
    j.click((cells[0] + cells[2]) // 2, cells[1] - 14)
    rows = export_csv(j, os.path.join(j.tmp, "trin.csv"))
    order = [0 if r[10] == "Ikke afsluttet" else int(r[10]) for r in rows]
    check(order == sorted(order) and order[0] == 0, "not sorted by Trin: %r" % order)

    # Search for a name: the chart and the export follow.
    search(j, "ø")
    rows = export_csv(j, os.path.join(j.tmp, "soeg.csv"))
    check(sorted(r[3] for r in rows) == sorted(["Hanne Hø", "Åse Ørnsø", "Carl Ærø", "Karen Kløft", "Gunnar Gøg"]),
          "search for ø: %r" % [r[3] for r in rows])
    j.shot("search")

    # The overview of the rows shown, table and chart, as a landscape PDF; the chart as PNG.
    save_as(j, "alt+p", "Gem oversigten som PDF-fil", os.path.join(j.tmp, "oversigt.pdf"))
    text = subprocess.run(["pdftotext", "-layout", os.path.join(j.tmp, "oversigt.pdf"), "-"],
                          capture_output=True, check=True).stdout.decode()
    for seen in ("5 af 12 kursister vises", "Karen Kløft", "Trin 3"):
        check(seen in text, "the overview PDF does not show %r:\n%s" % (seen, text))
    check("Dorte Dahl" not in text, "the overview PDF shows a learner the search hid")
    size = subprocess.run(["pdfinfo", os.path.join(j.tmp, "oversigt.pdf")], capture_output=True,
                          check=True).stdout.decode()
    images = subprocess.run(["pdfimages", "-list", os.path.join(j.tmp, "oversigt.pdf")], capture_output=True,
                            check=True).stdout.decode().splitlines()[2:]
    check(len(images) == 1, "the overview PDF should hold the chart as its one picture: %r" % images)
    check("841.89 x 595.276" in size or "842 x 595" in size, "the overview is not A4 landscape:\n" + size)
    shutil.copy(os.path.join(j.tmp, "oversigt.pdf"), j.artifacts)  # to look at
    save_as(j, "alt+d", "Gem diagrammet som PNG-fil", os.path.join(j.tmp, "diagram.png"))
    with open(os.path.join(j.tmp, "diagram.png"), "rb") as f:
        check(f.read(8) == b"\x89PNG\r\n\x1a\n", "the chart was not saved as PNG")

    # One learner's result, saved as PDF.
    search(j, "Åse")
    j.key("Return", "Return")
    j.wait_window("Resultat – Åse Ørnsø")
    j.key("Tab", "Return")  # from the report to "Gem som PDF-fil"
    j.wait_window("Gem resultater som PDF-fil")
    j.key("ctrl+a")
    j.type("aase")
    j.key("Return")
    j.wait_window_gone("Gem resultater som PDF-fil")
    pdf = os.path.join(workdir, "aase.pdf")
    j.until(lambda: os.path.isfile(pdf) and os.path.getsize(pdf) > 1000, 10, "the PDF")
    text = unicodedata.normalize("NFKC", subprocess.run(["pdftotext", pdf, "-"], capture_output=True,
                                                        check=True).stdout.decode())
    for seen in ("Navn: Åse Ørnsø", "Total: 12", "Trin 1"):
        check(seen in text, "the PDF does not show %r:\n%s" % (seen, text))
    j.key("Escape")
    j.wait_window_gone("Resultat – Åse Ørnsø")

    # Delete Bo; Holm: asked first, naming the learner; gone from disk and from the table.
    search(j, "Holm")
    j.key("Return", "Delete")
    j.wait_window("Slet kursist")
    j.shot("delete-question")
    j.key("alt+s")
    j.wait_window_gone("Slet kursist")

    def overview_after_delete():  # the box goes before the files do
        if any("Bo; Holm" in n for n in os.listdir(classfolder)):
            return None
        try:
            with open(os.path.join(classfolder, "oversigt.csv"), encoding="utf-8-sig") as f:
                text = f.read()
        except FileNotFoundError:
            return None
        return text if "Bo; Holm" not in text else None
    try:
        overview = j.until(overview_after_delete, 10, "Bo's files and row to go")
    except TimeoutError:
        overview = open(os.path.join(classfolder, "oversigt.csv"), encoding="utf-8-sig").read()
    bo_files = [n for n in os.listdir(classfolder) if "Bo; Holm" in n]
    check(not bo_files, "Bo's files are still there: %r" % bo_files)
    check("Bo; Holm" not in overview and "Karen Kløft" in overview, "the overview after the delete:\n" + overview)
    search(j, "")
    j.until(lambda: all(r[3] != "Bo; Holm" for r in export_csv(j, os.path.join(j.tmp, "efter.csv"))),
            10, "Bo; Holm to leave the table")

    # A learner hands in on a second copy of the program while the view is open.
    test = j.launch(workdir)
    j.wait_window(learner.ACCESS_TITLE)
    j.type(learner.PASSWORD)
    j.key("Return")
    # A build without recordings says so first; the teacher goes on without sound.
    j.until(lambda: j.window_shown(learner.RECORDINGS_TITLE) or j.window_shown(learner.MAIN_TITLE),
            15, "the test to come up")
    if j.window_shown(learner.RECORDINGS_TITLE):
        j.key("alt+f")
    j.wait_window(learner.MAIN_TITLE)
    j.wait_page("guide")
    learner.next_page(j, "form")
    learner.fill_form(j, NEW_LEARNER)
    learner.next_page(j, "guide")
    learner.next_page(j, "dictation1")
    learner.answer(j, list(oracle.DICTATION1)[:10] + [""] * 10)
    learner.click_arrow(j)
    j.wait_window("Advarsel!")
    j.key("Return")
    learner.close_reminder(j)
    j.wait_page("results")
    learner.quit(j, test)
    j.wait_window(VIEW_TITLE)
    j.until(lambda: any(r[3] == "Mads Møller" and r[10] == "1"
                        for r in export_csv(j, os.path.join(j.tmp, "ny.csv"))),
            15, "the new learner's row in the view")
    j.shot("view-after")
    print("screenshot of the view: %s" % view_shot)

    j.key("alt+F4")
    check(program.wait_exit(15) == 0, "the view did not close cleanly")


if __name__ == "__main__":
    sys.exit(Journey("teacherview", deadline=200).run(journey))
