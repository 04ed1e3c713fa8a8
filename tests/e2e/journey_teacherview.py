"""The teacher's view of a class: `skrivlo --resultater` on a sealed class folder of fifteen
learners (each Trin, three not finished, Danish letters and a semicolon in names, two kept in
the clear from before sealing, one of them before there were data files, three whose data file
fails its check). Behind the access dialog the teacher sees that the fixed password opens the
results, sorts by Trin and searches for a name, sees the failed files as pink rows counted
nowhere, seals the old results, opens a learner's sealed result (its captions readable on the
page's own colours) and saves it as PDF, saves the rows shown as a spreadsheet and the
overview of those found as PDF (after the question a search brings), deletes a learner, and
sees a learner handed in by a second copy of the program while the view is open.

Before that, on a PC where no test has been taken yet, the first look says that no results
have come (not that the folder cannot be reached); when 30 learners have come, their overview
as PDF holds every name once, a whole row to a line, and the column headings on every page. A
class folder that IT named and that is gone gets the yellow line that sends the teacher to the
network.

The variant hostile gives the view what a hostile learner can seal with the class key her PC
holds: markup and pictures of the teacher's own files in every field and in the report, a
Windows server's path, a link, a right-to-left override, a 50 MB report and data file, and a
link in the class folder to the teacher's own file. Run under strace at twice the scale (where
Qt also looks for a picture's "@2x" sibling), the view opens each result and never touches the
teacher's files, the server's path or the links, nor reads the large files.

The variants 1024x768 and 1920x1080 start the view of 15 learners on that screen: the name,
the Trin and both dictations in all must be on screen without scrolling (found by the
table's grid lines around the Trin's coloured cells), the chart below the table on the small
screen and beside it on the large one, and the result window readable. Screenshots of each are
kept."""

import csv
import json
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


SPREADSHEET_TITLE = re.compile(r"^Gem [0-9]+( af [0-9]+)? kursist(er)? som regneark$")
FIRST_LOOK_BLUE = (0xdc, 0xeb, 0xf7)
FIRST_LOOK_YELLOW = (0xff, 0xf3, 0xc4)
BAR_BLUE = (0x3a, 0x5f, 0x9e)


def export_csv(j, path):
    """Alt+R ("Gem som regneark"), a name typed into the save dialog; returns the rows read
    back with csv."""
    if os.path.exists(path):
        os.remove(path)
    j.key("alt+r")
    j.wait_window(SPREADSHEET_TITLE)
    j.key("ctrl+a")
    j.type(path)
    j.key("Return")
    j.wait_window_gone(SPREADSHEET_TITLE)
    j.until(lambda: os.path.isfile(path), 10, "the exported CSV")
    with open(path, encoding="utf-8-sig", newline="") as f:
        rows = list(csv.reader(f, delimiter=";"))
    check(rows and rows[0][3] == "Navn", "the export has no header line: %r" % rows[:1])
    return rows[1:]


def save_as(j, keys, title, path):
    """A button by its Alt key (None: already pressed), a path typed into the save dialog
    that comes."""
    if keys:
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


def bands(screen, window, colour):
    """How many lines above the table are of the colour: runs of screen rows that are at
    least a quarter that colour (text takes the rest), in the window's upper third."""
    x, y, w, h = window
    found, inside = 0, False
    for py in range(y, y + h // 3):
        full = sum(1 for px in range(x, x + w, 7) if screen.pixel(px, py) == colour) > w // 28
        found += full and not inside
        inside = full
    return found


def grid_lines(screen, cells, window):
    """The table's vertical grid lines (x) over the rows that have a Trin colour: columns of
    dark pixels from the first of those rows to the last, which text never makes."""
    x, _, w, _ = window
    rows = range(cells[1], cells[3])
    return [px for px in range(x, x + w)
            if sum(1 for py in rows if sum(screen.pixel(px, py)) < 3 * 200) >= 0.9 * len(rows)]


def check_layout(j, window, screen, chart_beside):
    """Name, Trin, Dictation 1 and Dictation 2 in all stand whole on screen: the Trin's cells
    lie in the fourth column, and the grid line after the sixth is inside the window. The
    chart's bars stand beside the table or below it."""
    cells = trin_cells(screen, window)
    check(cells, "no Trin colour in the table")
    lines = grid_lines(screen, cells, window)
    middle = (cells[0] + cells[2]) // 2
    trin = [i for i in range(len(lines) - 1) if lines[i] < middle < lines[i + 1]]
    check(trin == [3], "the Trin is not the fourth column: grid lines %r, Trin cells %r" % (lines, cells))
    check(len(lines) >= 8 and lines[6] < window[0] + window[2] - 20,
          "Dictation 2 in all is not whole on screen: grid lines %r in a window %r" % (lines, window))
    bars = screen.blob(re.escape(bytes(BAR_BLUE)), lambda r, g, b: True, region=(window[0], window[1],
                       window[0] + window[2], window[1] + window[3]), min_pixels=200)
    check(bars, "no chart in the window")
    beside = bars[0] > lines[6]
    check(beside == chart_beside, "the chart is %s the table: bars %r, rows end at %d"
          % ("beside" if beside else "below", bars, cells[3]))
    if not chart_beside:
        check(bars[1] > cells[3], "the chart is not below the rows: bars %r, rows end at %d" % (bars, cells[3]))


def check_result_window(j, name):
    """The result window shows the results page's look: its heading and the two captions
    by the buttons pass WCAG AA contrast (4.5:1), as white on the page's blue does."""
    title = "Resultat – " + name
    window = j.geometry(j.wait_window(title))
    x, y, w, h = window
    region = (x, y, x + w, y + h)

    def pdf_button():
        screen = j.grab()
        return screen.blob(rb"[\xaa-\xff][\x00-\x50][\x00-\x50]", lambda r, g, b: True, region=region,
                           min_pixels=80)
    icon = j.until(pdf_button, 10, "the PDF button in the result window")
    screen = j.grab()
    j.shot("result-window")
    top, bottom = icon[1], icon[3]
    places = {
        "the heading": (x + 10, y + 10, x + w // 3, y + 90),
        "»Gem som PDF-fil«": (icon[2] + 15, top, icon[2] + 110, bottom),
        "»Udskriv«": (x + w - 190, top, x + w - 90, bottom),
    }
    for what, box in places.items():
        ratio = screen.contrast(box)
        check(ratio >= 4.5, "%s in the result window has a contrast of %.2f:1 (%r)" % (what, ratio, box))
    return title


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


def open_view(j, workdir, argv=()):
    """The view behind the password; returns the program and the window's geometry."""
    program = j.launch(workdir, argv=[j.program, "--resultater"] + list(argv))
    learner.unlock_started(j, program, main_title=VIEW_TITLE)
    window = j.wait_window(VIEW_TITLE)

    def maximised():  # by the window manager, a moment after the view shows (later under load)
        g = j.geometry(window)
        return g if g[2] >= j.screen[0] - 10 and j.screen[1] > g[3] > j.screen[1] * 0.8 else None
    return program, j.until(maximised, 5, "the view to be maximised with its title bar")


def close_view(j, program):
    j.key("alt+F4")
    check(program.wait_exit(15) == 0, "the view did not close cleanly")


def pdf_pages(path):
    """The PDF's text page by page, laid out as printed."""
    text = subprocess.run(["pdftotext", "-layout", path, "-"], capture_output=True, check=True).stdout.decode()
    return [page for page in text.split("\f") if page.strip()]


def first_look(j):
    """A PC where no test has been taken yet, then 30 learners; and a class folder that IT
    named and that is not there."""
    workdir = j.workdir("first-look")
    program, geometry = open_view(j, workdir)
    j.until(lambda: bands(j.grab(), geometry, FIRST_LOOK_BLUE) == 1, 10, "the blue line: no results yet")
    # The yellow lines are the fixed password's and the school's period not chosen: an empty
    # class is not sent to IT.
    yellow = bands(j.grab(), geometry, FIRST_LOOK_YELLOW)
    check(yellow == 2, "%d yellow lines over an empty class" % yellow)
    j.shot("first-look-no-results")

    # Thirty learners arrive; F5 lists them, and the line goes.
    classfolder.seed_class(os.path.join(workdir, "resultater"), 30)
    j.key("F5")
    j.until(lambda: trin_cells(j.grab(), geometry) and not bands(j.grab(), geometry, FIRST_LOOK_BLUE),
            10, "the 30 learners, without the line")
    names = ["Kursist %04d Ærø" % i for i in range(30)]
    path = os.path.join(j.tmp, "tredive.pdf")
    save_as(j, "alt+p", "Gem oversigt over 30 kursister som PDF-fil", path)
    pages = pdf_pages(path)
    check(len(pages) >= 2, "30 learners on %d page(s)" % len(pages))
    text = "\n".join(pages)
    for name in names:
        check(text.count(name) == 1, "%s is in the overview %d times" % (name, text.count(name)))
        # A whole row to a line: the name and the place of teaching, its last column but two.
        line = [line for line in text.splitlines() if name in line]
        check(line and "Sprogcenter Øst" in line[0], "the row of %s is cut: %r" % (name, line))
    for number, page in enumerate(pages, 1):
        for heading in ("Dato", "Navn", "Trin", "Diktat 1", "Undervisningssted"):
            check(heading in page, "page %d has no heading %r:\n%s" % (number, heading, page))
        check("Side %d af %d" % (number, len(pages)) in page, "page %d has no number" % number)
    check("30 kursister" in pages[0], "the overview does not say how many it holds:\n" + pages[0])
    shutil.copy(path, j.artifacts)
    close_view(j, program)

    # A class folder IT named, on a share that is not there.
    program, geometry = open_view(j, workdir, ["--klassemappe", os.path.join(j.tmp, "skoleserver", "hold 3")])
    j.until(lambda: bands(j.grab(), geometry, FIRST_LOOK_YELLOW) == 3, 10,
            "the yellow line that the folder cannot be reached, beside the fixed password's and the period's")
    j.shot("first-look-unreachable")
    close_view(j, program)


def journey(j):
    workdir = j.workdir()
    classfolder = os.path.join(workdir, "resultater")
    stems, failed = seed(classfolder)
    program, geometry = open_view(j, workdir)
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

    # The overview of the rows shown, table and chart, as a landscape PDF: asked first, since
    # the search hides some, and "Kun de 5 viste" is the answer Return gives; the files that
    # fail their check are in no count. The chart as PNG.
    j.key("alt+p")
    j.wait_window("Gem oversigt som PDF-fil")
    j.wait_active("Gem oversigt som PDF-fil")
    j.shot("overview-question")
    j.key("Return")
    save_as(j, None, "Gem oversigt over 5 af 12 kursister som PDF-fil", os.path.join(j.tmp, "oversigt.pdf"))
    text = subprocess.run(["pdftotext", "-layout", os.path.join(j.tmp, "oversigt.pdf"), "-"],
                          capture_output=True, check=True).stdout.decode()
    for seen in ("5 af 12 kursister, navne med »ø«", "Karen Kløft", "Trin 3"):
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
    save_as(j, "alt+g", "Gem diagrammet som billede", os.path.join(j.tmp, "diagram.png"))
    with open(os.path.join(j.tmp, "diagram.png"), "rb") as f:
        check(f.read(8) == b"\x89PNG\r\n\x1a\n", "the chart was not saved as PNG")
    bars = chart_bars(os.path.join(j.tmp, "diagram.png"))
    check(len(bars) == 5 and max(bars) - min(bars) <= 1, "one learner at each Trin and one not finished: %r" % bars)

    # The files that fail their check, found by their names: pink rows, none in the export or the chart.
    search(j, sealed.SUFFIX)
    j.until(lambda: pink_rows(j.grab(), geometry) == len(FAILED), 10, "%d pink rows" % len(FAILED))
    j.shot("failed-files")
    check(export_csv(j, os.path.join(j.tmp, "beskadiget.csv")) == [], "a file that failed its check was exported")
    save_as(j, "alt+g", "Gem diagrammet som billede", os.path.join(j.tmp, "beskadiget.png"))
    bars = chart_bars(os.path.join(j.tmp, "beskadiget.png"))
    check(bars == [], "a file that failed its check is counted in the chart: %r" % bars)
    # Only files that fail their check are shown, no learner: nothing to ask, and none counted.
    save_as(j, "alt+p", "Gem oversigt over 0 af 12 kursister som PDF-fil", os.path.join(j.tmp, "beskadiget.pdf"))
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

    # One learner's sealed result, readable in its window, opened and saved as PDF.
    search(j, "Åse")
    j.key("Return", "Return")
    check_result_window(j, "Åse Ørnsø")
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
    j.wait_window("Slet resultat")
    j.shot("delete-question")
    j.key("alt+s")
    j.until(lambda: not [n for n in os.listdir(classfolder) if n.startswith(stems["Bo; Holm"])], 10,
            "Bo's files to go")
    # Then the teacher is told what went, and which PCs drop their copies later.
    j.wait_window("Slet resultat")
    j.shot("delete-told")
    j.key("Return")
    j.wait_window_gone("Slet resultat")
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

    close_view(j, program)
    first_look(j)


def screen_size(j):
    """The view of 15 learners on the variant's screen, and one learner's result."""
    workdir = j.workdir()
    classfolder.seed_class(os.path.join(workdir, "resultater"), 15)
    program, geometry = open_view(j, workdir)
    screen = j.until(lambda: trin_cells(j.grab(), geometry) and j.grab(), 10, "the table with its Trin colours")
    j.shot("view")
    check_layout(j, geometry, screen, chart_beside=j.screen[0] >= 1200)
    search(j, "0003")
    j.key("Return", "Return")
    title = check_result_window(j, "Kursist 0003 Ærø")
    j.key("Escape")
    j.wait_window_gone(title)
    close_view(j, program)


def hostile(j):
    workdir = j.workdir()
    folder = os.path.join(workdir, "resultater")
    teachers = os.path.join(j.tmp, "laerer")  # the teacher's own files, which nothing may open
    os.makedirs(teachers)
    for path in (os.path.join(teachers, "foto.png"), os.path.join(teachers, "foto.css"),
                 os.path.join(workdir, "foto.png"),
                 os.path.join(workdir, "\\\\server\\share\\foto.png")):  # a file's name here, a server on Windows
        with open(path, "wb") as f:
            f.write(b"the teacher's own")
    picture = '<img src="file://%s/foto.png">' % teachers
    learners = [  # name (also place and year of birth), what the report holds besides
        ("Hostil1 <b>fed</b>" + picture, picture + '<img src="%s/foto.png"><p style="background-image: url(foto.png)">'
         '<link rel="stylesheet" href="%s/foto.css">' % (teachers, teachers)),
        ('Hostil2 <img src="\\\\server\\share\\foto.png">', '<img src="\\\\server\\share\\foto.png"><img src="foto.png">'),
        ("Hostil3 <a href=\"file:///etc/passwd\">link</a>", '<a href="file:///etc/passwd">link</a>'),
        ("Hostil4 \u202e4 nirT\u202c Hansen", ""),
        ("Hostil5", ""),  # its report is 50 MB
        ("Hostil6", ""),  # its data file is 50 MB
    ]
    key = classfolder.class_key(folder)
    large = []
    for number, (name, extra) in enumerate(learners, 1):
        stem = classfolder.hand_in(folder, name, "2026-12-0%dT09:00:00" % number, 19, (12, 9, 15), True, key)
        data, report = (os.path.join(folder, stem + ending + sealed.SUFFIX) for ending in (".json", ".html"))
        row = sealed.opened(folder, stem + ".json", sealed.class_keys(folder, learner.PASSWORD))
        row = row.replace(b'"Sprogcenter \xc3\x98st"', json_text(name)).replace(b'"1984"', json_text(name))
        with open(data, "wb") as f:
            f.write(sealed.seal(key, stem + ".json", row))
        with open(report, "wb") as f:
            f.write(sealed.seal(key, stem + ".html", (classfolder.report(name, 19, (12, 9, 15), True) + extra).encode()))
        if name in ("Hostil5", "Hostil6"):
            large.append(report if name == "Hostil5" else data)
            os.truncate(large[-1], 50 * 1024 * 1024)
    os.symlink(os.path.join(teachers, "foto.png"), os.path.join(folder, "PC9-0a0b0c 0a0b0c0e.json" + sealed.SUFFIX))

    trace = os.path.join(j.tmp, "strace.log")
    j.program_env["QT_SCALE_FACTOR"] = "2"
    program = j.launch(workdir, argv=["strace", "-f", "-qq", "-y", "-e", "trace=%file,read,pread64", "-o", trace,
                                      j.program, "--resultater"])
    learner.unlock_started(j, program, main_title=VIEW_TITLE)
    j.wait_window(VIEW_TITLE)
    j.shot("hostile-view")
    for name, _ in learners[:4]:
        search(j, name.split()[0])
        j.key("Return", "Return")
        title = re.compile("^" + re.escape("Resultat – " + name.split()[0]))
        j.wait_window(title)
        j.shot("hostile-" + name.split()[0])
        j.key("Escape")
        j.wait_window_gone(title)
    # The large report: a box says it cannot be shown (the view's own title: two windows of it).
    search(j, "Hostil5")
    j.key("Return", "Return")
    j.until(lambda: len(windows(j, VIEW_TITLE)) >= 2, 10, "the box on the 50 MB report")
    j.shot("hostile-large")
    j.key("Return")
    j.until(lambda: len(windows(j, VIEW_TITLE)) == 1, 10, "the box to close")
    close_view(j, program)

    with open(trace, encoding="utf-8", errors="replace") as f:
        touched = [line.strip() for line in f if teachers in line or "server" in line or "foto." in line
                   or any("read(" in line and "<%s>" % path in line for path in large)]
    check(not touched, "the view touched what it did not choose:\n" + "\n".join(touched[:20]))


def json_text(text):
    return json.dumps(text, ensure_ascii=False).encode("utf-8")


def windows(j, title):
    done = subprocess.run(["timeout", "5", "xdotool", "search", "--onlyvisible", "--name", "^" + re.escape(title) + "$"],
                          env=j.env(), capture_output=True)
    return done.stdout.split() if done.returncode == 0 else []


if __name__ == "__main__":
    j = Journey("teacherview", deadline=300)
    if j.variant == "hostile":
        sys.exit(j.run(hostile))
    if j.variant:
        j.screen = tuple(int(v) for v in j.variant.split("x"))
        sys.exit(j.run(screen_size))
    sys.exit(j.run(journey))

