"""The teacher's view of a class: `skrivlo --resultater` on a sealed class folder of fifteen
learners (each Trin, three not finished, Danish letters and a semicolon in names, two kept in
the clear from before sealing, one of them before there were data files, three whose data file
fails its check). Behind the access dialog the teacher sees that the fixed password opens the
results, sorts by Trin and searches for a name, sees the failed files as pink rows counted
nowhere, seals the old results, opens a learner's sealed result and saves it as PDF, exports
the rows shown as CSV, deletes a learner, and sees a learner handed in by a second copy of the
program while the view is open. Screenshots of the view with its chart are kept."""

import csv
import os
import re
import shutil
import subprocess
import sys
import unicodedata

import classfolder
import learner
import oracle
import sealed
from harness import Journey, Screen, check

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
OLD_FORMAT = ("Karen Kløft", "2026-12-06 08.15", 20, (13, 13, 13))  # 39: Trin 3, report only, in the clear
OLD_PLAIN = ("Mette Munk", "2026-11-20T13:00:00", 20, (10, 10, 10), True)  # 30: Trin 2, in the clear
# Learners whose data file fails its check, each a pink row counted nowhere: a byte changed, sealed
# with another class folder's key (its line, under another password, put beside the class's), cut off.
FAILED = [("Ole Olsen", "byte"), ("Pia Poulsen", "other key"), ("Rune Ravn", "cut off")]
NEW_LEARNER = ["Sprogcenter Vest", "Mads Møller", "Havnevej 3", "1988", "", "", "", ""]


def seed(folder):
    """Returns each learner's stem by name, and the names of the files that fail their check."""
    os.makedirs(folder)
    key = classfolder.class_key(folder)
    stems = {name: classfolder.hand_in(folder, name, started, d1, d2, finished, key)
             for name, started, d1, d2, finished in CLASS}
    name, stem_time, d1, d2 = OLD_FORMAT
    stems[name] = "%s %s" % (stem_time, name)
    with open(os.path.join(folder, stems[name] + ".html"), "w", encoding="utf-8") as f:
        f.write(classfolder.report(name, d1, d2, True))
    stems[OLD_PLAIN[0]] = classfolder.hand_in(folder, *OLD_PLAIN)
    with open(os.path.join(folder, "oversigt.csv"), "w", encoding="utf-8-sig") as f:
        f.write("Dato;Starttid;Undervisningssted;Navn\n2026-12-06;08:15;Sprogcenter Øst;Karen Kløft\n")
    failed = []
    other_key = classfolder.class_key(folder, "en anden klasses password")
    for name, how in FAILED:
        stems[name] = classfolder.hand_in(folder, name, "2026-12-07T09:00:00", 20, (20, 20, 20), True,
                                          other_key if how == "other key" else key)
        failed.append(stems[name] + ".json" + sealed.SUFFIX)
        path = os.path.join(folder, failed[-1])
        with open(path, "rb") as f:
            data = bytearray(f.read())
        if how == "byte":
            data[len(data) // 2] ^= 0x01
        elif how == "cut off":
            del data[len(data) // 2:]
        with open(path, "wb") as f:
            f.write(data)
    return stems, failed


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

    def whole():  # a PDF is written page by page after the dialog has gone
        if not os.path.isfile(path):
            return False
        with open(path, "rb") as f:
            data = f.read()
        return data.rstrip().endswith(b"%%EOF") if path.endswith(".pdf") else data.endswith(b"IEND\xaeB`\x82")
    j.until(whole, 10, path + " written whole")


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


def pink_rows(screen, window):
    """How many table rows are drawn pink, as a file that fails its check is (or, when selected,
    in Fusion's highlight colour)."""
    x, y, w, h = window
    shown = [y0 for y0 in range(y, y + h) if any(
        screen.px.find(bytes(colour), 3 * (y0 * screen.width + x), 3 * (y0 * screen.width + x + w)) >= 0
        for colour in ((0xf2, 0xd7, 0xd5), (0x30, 0x8c, 0xc6)))]
    return sum(1 for a, b in zip([None] + shown, shown) if a != b - 1)


def chart_bars(path):
    """The bars of a chart saved as PNG, top to bottom, by their length in pixels."""
    screen = Screen(subprocess.run(["convert", path, "-depth", "8", "ppm:-"], capture_output=True,
                                   check=True).stdout)
    found = {}
    for m in re.finditer(re.escape(bytes((0x3a, 0x5f, 0x9e))), screen.px):
        if m.start() % 3 == 0:
            py, px = divmod(m.start() // 3, screen.width)
            found.setdefault(py, []).append(px)
    bars, last = [], None
    for py in sorted(found):
        if last is None or py != last + 1:
            bars.append(0)
        bars[-1] = max(bars[-1], max(found[py]) - min(found[py]) + 1)
        last = py
    return bars


def journey(j):
    workdir = j.workdir()
    classfolder = os.path.join(workdir, "resultater")
    stems, failed = seed(classfolder)
    program = j.launch(workdir, argv=[j.program, "--resultater"])
    learner.unlock_started(j, program, main_title=VIEW_TITLE)
    window = j.wait_window(VIEW_TITLE)

    def maximised():  # by the window manager, a moment after the view shows (later under load)
        g = j.geometry(window)
        return g if g[2] >= j.screen[0] - 10 and j.screen[1] > g[3] > j.screen[1] * 0.8 else None
    geometry = j.until(maximised, 5, "the view to be maximised with its title bar")
    j.until(lambda: trin_cells(j.grab(), geometry), 10, "the table with its Trin colours")
    view_shot = j.shot("view")
    # No school password is set: a line of its own says that anyone with Skrivlo opens the results.
    x, y, w, h = geometry
    line = j.grab().blob(rb"\xff\xf3\xc4", lambda r, g, b: True, (x, y, x + w, y + h), min_pixels=2000)
    check(line and line[2] - line[0] > w * 0.8, "no line on the fixed password across the view: %r" % (line,))

    # Every readable learner, newest first; the files that fail their check are no row of the export.
    rows = export_csv(j, os.path.join(j.tmp, "alle.csv"))
    check(len(rows) == 12, "12 readable learners expected in the export, got %d: %r" % (len(rows), rows))
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
    for seen in ("5 af 15 kursister vises", "Karen Kløft", "Trin 3"):
        check(seen in text, "the overview PDF does not show %r:\n%s" % (seen, text))
    check(text.count("beskyttet") == 1, "only Karen Kløft's result is marked as in the clear:\n" + text)
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
    bars = chart_bars(os.path.join(j.tmp, "diagram.png"))
    check(len(bars) == 5 and max(bars) - min(bars) <= 1, "one learner at each Trin and one not finished: %r" % bars)

    # The files that fail their check, found by their names: pink rows, none in the export or the chart.
    search(j, sealed.SUFFIX)
    j.until(lambda: pink_rows(j.grab(), geometry) == len(FAILED), 10, "%d pink rows" % len(FAILED))
    j.shot("failed-files")
    check(export_csv(j, os.path.join(j.tmp, "beskadiget.csv")) == [], "a file that failed its check was exported")
    save_as(j, "alt+d", "Gem diagrammet som PNG-fil", os.path.join(j.tmp, "beskadiget.png"))
    bars = chart_bars(os.path.join(j.tmp, "beskadiget.png"))
    check(bars == [], "a file that failed its check is counted in the chart: %r" % bars)
    save_as(j, "alt+p", "Gem oversigten som PDF-fil", os.path.join(j.tmp, "beskadiget.pdf"))
    text = " ".join(unicodedata.normalize("NFKC", subprocess.run(  # "ff" may come as a ligature
        ["pdftotext", os.path.join(j.tmp, "beskadiget.pdf"), "-"], capture_output=True, check=True).stdout.decode()).split())
    check(text.count("Ændret eller beskadiget") == len(FAILED) and all(name.split()[1][:8] in text for name in failed),
          "the overview does not name each file that failed its check:\n" + text)

    # The results kept in the clear from before are sealed once asked: read back under new
    # names, the plain files and the old overview gone, each learner with the Trin they had.
    search(j, "")
    j.key("alt+b")
    j.wait_window("Beskyt de gamle resultater")
    j.shot("seal-question")
    j.key("Return")  # "Beskyt dem"
    plain = lambda: [n for n in os.listdir(classfolder) if not n.endswith(sealed.SUFFIX) and n != "noegler"]
    j.until(lambda: not plain(), 15, "the files in the clear to go")
    learner.confirm(j, "Beskyt de gamle resultater")
    old = {"Karen Kløft": ("2026-12-06", "3"), "Mette Munk": ("2026-11-20", "2")}  # day and Trin

    def listed_sealed():
        rows = {r[3]: r for r in export_csv(j, os.path.join(j.tmp, "beskyttet.csv"))}
        return rows if all(name in rows and rows[name][11] != stems[name] + ".html" for name in old) else None
    rows = j.until(listed_sealed, 10, "the old results listed sealed")
    keys = sealed.class_keys(classfolder, learner.PASSWORD)
    for name, (day, trin) in old.items():
        row = rows[name]
        check((row[0], row[10]) == (day, trin) and re.fullmatch(r"\S+ [0-9a-f]{8}\.html", row[11]), "%s sealed: %r" % (name, row))
        opened = sealed.opened(classfolder, row[11], keys)
        check(opened and ("Navn: " + name).encode() in opened, "%s's report does not open sealed" % name)

    # One learner's sealed result, opened and saved as PDF.
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

    j.until(lambda: not [n for n in os.listdir(classfolder) if n.startswith(stems["Bo; Holm"])], 10,
            "Bo's files to go")  # the box goes before the files do
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
