"""Runs the real skrivlo the way a learner meets it: a private X server with a window
manager and a Danish keyboard, a fresh working directory, and nothing but keystrokes and
mouse clicks. Every process the journey starts is ended again by its process id.

The program reads the machine's settings only at their fixed place, /etc/xdg/Skrivlo/Skrivlo.ini.
It runs in a mount namespace of its own with the journey's folder Journey.etc_xdg mounted over
/etc/xdg, so the machine's settings (a school's password) never reach a journey, and what a
journey puts there (Journey.machine_settings) never reaches the machine.

A journey is a function of one Journey object; run it with Journey(name).run(body).
Exit status: 0 passed, 1 failed (with a screenshot under the artifacts folder), 77 skipped.
"""

import argparse
import ctypes
import ctypes.util
import os
import re
import select
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time
import traceback
import zlib

SKIP_CODE = 77
ETC_XDG = "/etc/xdg"
# sh -c's script: the folder in $1 over /etc/xdg, then the program in the rest.
OWN_ETC_XDG = 'mount --bind "$1" %s && shift && exec "$@"' % ETC_XDG
SCREEN = (1280, 1024)
NEEDED = ["Xvfb", "openbox", "setxkbmap", "xdotool", "xprop", "xwininfo", "import", "timeout"]

# Colours of what a learner sees on this program's pages.
WINDOW_BLUE = (21, 21, 85)
MARGIN_BLUE = (5, 5, 69)
FOCUS_RING = (0, 128, 230)


def _audio_priority():
    """What a desktop gives its sound: a share of the CPU that a second journey or a build
    beside this one cannot take, so a recording is not cut into by a starved player. Only
    where the harness may raise priorities (root); otherwise as it was."""
    try:
        os.nice(-5)
    except OSError:
        pass


class Skip(Exception):
    """The journey cannot be tried on this machine; say why and exit with SKIP_CODE."""


def check(condition, message):
    if not condition:
        raise AssertionError(message)


_libc = ctypes.CDLL(None, use_errno=True)
_PR_SET_PDEATHSIG = 1


def _die_with_harness():
    # Should ctest kill the journey outright, its X server and program must not linger.
    _libc.prctl(_PR_SET_PDEATHSIG, signal.SIGKILL)


class _XImage(ctypes.Structure):
    _fields_ = [(name, ctypes.c_int) for name in (
        "width", "height", "xoffset", "format")] + [("data", ctypes.c_void_p)] + [
        (name, ctypes.c_int) for name in ("byte_order", "bitmap_unit", "bitmap_bit_order",
                                          "bitmap_pad", "depth", "bytes_per_line", "bits_per_pixel")] + [
        (name, ctypes.c_ulong) for name in ("red_mask", "green_mask", "blue_mask")]


class _RootReader:
    """Reads the root window's pixels straight from the X server: a screenshot through
    ImageMagick's import took about 0.4 s, and the journeys take hundreds of them."""

    def __init__(self, display):
        name = ctypes.util.find_library("X11")
        self.x11 = x11 = ctypes.CDLL(name) if name else None
        self.display = None
        if not x11:
            return
        x11.XOpenDisplay.restype = ctypes.c_void_p
        x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        x11.XDefaultRootWindow.restype = ctypes.c_ulong
        x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        for size in (x11.XDisplayWidth, x11.XDisplayHeight):
            size.argtypes = [ctypes.c_void_p, ctypes.c_int]
        x11.XGetImage.restype = ctypes.POINTER(_XImage)
        x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                  ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        x11.XFree.argtypes = [ctypes.c_void_p]
        x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self.display = x11.XOpenDisplay(display.encode())

    def ppm(self):
        """The screen as 8-bit binary PPM bytes, or None when this server's pixels are not
        the 32-bit BGRX that Xvfb at depth 24 gives."""
        if not self.display:
            return None
        x11, d = self.x11, self.display
        width, height = x11.XDisplayWidth(d, 0), x11.XDisplayHeight(d, 0)
        image = x11.XGetImage(d, x11.XDefaultRootWindow(d), 0, 0, width, height, 0xffffffff, 2)
        if not image:
            return None
        try:
            im = image.contents
            if (im.bits_per_pixel, im.byte_order, im.red_mask, im.blue_mask,
                    im.bytes_per_line) != (32, 0, 0xff0000, 0xff, 4 * width):
                return None
            raw = ctypes.string_at(im.data, im.bytes_per_line * im.height)
        finally:
            x11.XFree(image.contents.data)
            x11.XFree(image)
        rgb = bytearray(3 * width * height)
        rgb[0::3], rgb[1::3], rgb[2::3] = raw[2::4], raw[1::4], raw[0::4]
        return b"P6\n%d %d\n255\n" % (width, height) + bytes(rgb)

    def close(self):
        if self.display:
            self.x11.XCloseDisplay(self.display)
            self.display = None


class _ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("l", ctypes.c_long * 5)]


class _XEvent(ctypes.Union):
    _fields_ = [("message", _ClientMessage), ("pad", ctypes.c_long * 24)]


class _Pinger:
    """_NET_WM_PING to a window, as a window manager asks whether a program still answers: Qt
    answers it on the window's own thread, so the time to the answer is how long the window
    leaves its events waiting."""

    CLIENT_MESSAGE, STRUCTURE_NOTIFY = 33, 1 << 17

    def __init__(self, display):
        self.x11 = x11 = ctypes.CDLL(ctypes.util.find_library("X11"))
        x11.XOpenDisplay.restype = ctypes.c_void_p
        x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        x11.XDefaultRootWindow.restype = ctypes.c_ulong
        x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        x11.XInternAtom.restype = ctypes.c_ulong
        x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        x11.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
        x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
        for call in (x11.XFlush, x11.XPending, x11.XConnectionNumber, x11.XCloseDisplay):
            call.argtypes = [ctypes.c_void_p]
        x11.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
        self.display = x11.XOpenDisplay(display.encode())
        check(self.display, "no connection to the X server for pings")
        self.root = x11.XDefaultRootWindow(self.display)
        self.ping = x11.XInternAtom(self.display, b"_NET_WM_PING", 0)
        self.protocols = x11.XInternAtom(self.display, b"WM_PROTOCOLS", 0)
        x11.XSelectInput(self.display, self.root, self.STRUCTURE_NOTIFY)  # where Qt sends the answer
        self.stamp = 1

    def round_trip(self, window, cap):
        """Seconds to the window's answer, or cap when it gives none by then."""
        x11, d = self.x11, self.display
        self.stamp += 1
        event = _XEvent()
        m = event.message
        m.type, m.window, m.message_type, m.format = self.CLIENT_MESSAGE, window, self.protocols, 32
        m.l[0], m.l[1], m.l[2] = self.ping, self.stamp, window
        sent = time.monotonic()
        x11.XSendEvent(d, window, 0, 0, ctypes.byref(event))
        x11.XFlush(d)
        while True:
            while x11.XPending(d):
                answer = _XEvent()
                x11.XNextEvent(d, ctypes.byref(answer))
                a = answer.message
                if a.type == self.CLIENT_MESSAGE and a.l[0] == self.ping and a.l[1] == self.stamp:
                    return time.monotonic() - sent
            left = cap - (time.monotonic() - sent)
            if left <= 0:
                return cap
            select.select([x11.XConnectionNumber(d)], [], [], left)

    def close(self):
        self.x11.XCloseDisplay(self.display)


def write_png(path, screen):
    """Keeps a screenshot as PNG (8-bit RGB, no filter)."""
    row = 3 * screen.width
    raw = b"".join(b"\0" + screen.px[y * row:(y + 1) * row] for y in range(screen.height))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n"
                + chunk(b"IHDR", struct.pack(">IIBBBBB", screen.width, screen.height, 8, 2, 0, 0, 0))
                + chunk(b"IDAT", zlib.compress(raw, 1)) + chunk(b"IEND", b""))


class Program:
    """The running skrivlo."""

    def __init__(self, journey, popen, workdir):
        self.journey = journey
        self.popen = popen
        self.pid = popen.pid
        self.workdir = workdir

    def running(self):
        return self.popen.poll() is None

    def wait_exit(self, timeout=15):
        try:
            return self.popen.wait(timeout)
        except subprocess.TimeoutExpired:
            raise TimeoutError("skrivlo (pid %d) still runs after %s s" % (self.pid, timeout))

    def report(self):
        """results.html as bytes, or None when there is none."""
        path = os.path.join(self.workdir, "results.html")
        if not os.path.isfile(path):
            return None
        with open(path, "rb") as f:
            return f.read()


_tables = {}


def _channel_tables(pattern):
    """For a pattern of three byte classes, one per colour channel: a translation table
    per channel that turns a matching byte into 1 and any other into 0. None otherwise."""
    if pattern not in _tables:
        parts = re.findall(rb"\[(?:\\.|[^\]])*\]|\\x[0-9a-fA-F]{2}|\\.|.", pattern, re.S)
        _tables[pattern] = None if len(parts) != 3 else [
            bytes(1 if re.fullmatch(part, bytes([v]), re.S) else 0 for v in range(256))
            for part in parts]
    return _tables[pattern]


class Screen:
    """One screenshot, read as 8-bit RGB, with the few ways the journeys look at it."""

    def __init__(self, data):
        m = re.match(rb"P6\s+(\d+)\s+(\d+)\s+(\d+)\s", data)
        check(m and m.group(3) == b"255", "screenshot is not an 8-bit PPM")
        self.width, self.height = int(m.group(1)), int(m.group(2))
        self.px = data[m.end():]
        # The page lies between the progress panel and the right margin (stretch 1:4:1).
        side = self.width // 6
        self.page = (side + 2, 0, self.width - side - 2, self.height)

    def pixel(self, x, y):
        i = 3 * (y * self.width + x)
        return tuple(self.px[i:i + 3])

    def _matches(self, pattern, accept, region):
        """Pixels in region whose three bytes match pattern (one byte class per channel)
        and that accept(r, g, b) takes."""
        x0, y0, x1, y1 = region
        tables = _channel_tables(pattern)
        if tables is None:
            return self._matches_slowly(pattern, accept, region)
        # Each channel marked through its table, the marks multiplied as big numbers: a
        # screen is four million bytes, too many to try one by one in Python.
        rows = self.px[3 * y0 * self.width:3 * y1 * self.width]
        both = None
        for channel, table in enumerate(tables):
            marks = int.from_bytes(rows[channel::3].translate(table), "big")
            both = marks if both is None else both & marks
        flags = both.to_bytes(len(rows) // 3, "big")
        found = []
        for m in re.finditer(b"\x01", flags):
            y, x = divmod(m.start(), self.width)
            if x0 <= x < x1 and accept(*self.pixel(x, y0 + y)):
                found.append((x, y0 + y))
        return found

    def _matches_slowly(self, pattern, accept, region):
        x0, y0, x1, y1 = region
        found = []
        for m in re.finditer(b"(?=" + pattern + b")", self.px, re.S):
            s = m.start()
            if s % 3:
                continue
            y, x = divmod(s // 3, self.width)
            if x0 <= x < x1 and y0 <= y < y1 and accept(*self.px[s:s + 3]):
                found.append((x, y))
        return found

    def blob(self, pattern, accept, region=None, min_pixels=40):
        """Bounding box (x0, y0, x1, y1) of the largest patch of matching pixels, or None."""
        cell = 6
        cells = {}
        for x, y in self._matches(pattern, accept, region or self.page):
            key = (x // cell, y // cell)
            cells.setdefault(key, []).append((x, y))
        best, seen = [], set()
        for start in cells:
            if start in seen:
                continue
            seen.add(start)
            stack, patch = [start], []
            while stack:
                cx, cy = stack.pop()
                patch.extend(cells[(cx, cy)])
                for nx in (cx - 1, cx, cx + 1):
                    for ny in (cy - 1, cy, cy + 1):
                        if (nx, ny) in cells and (nx, ny) not in seen:
                            seen.add((nx, ny))
                            stack.append((nx, ny))
            if len(patch) > len(best):
                best = patch
        if len(best) < min_pixels:
            return None
        xs = [p[0] for p in best]
        ys = [p[1] for p in best]
        return (min(xs), min(ys), max(xs), max(ys))

    def arrow(self):
        """The green arrow of a page's next button."""
        return self.blob(rb"[\x00-\x82][\x82-\xff][\x00-\x82]",
                         lambda r, g, b: g - max(r, b) >= 50, min_pixels=150)

    def speaker(self):
        """The yellow sound waves of a loudspeaker button (the orange labels are redder)."""
        return self.blob(rb"[\xc8-\xff][\x8c-\xe6][\x00-\x5a]",
                         lambda r, g, b: 0.72 <= g / r <= 0.9, min_pixels=40)

    def pdf_icon(self):
        return self.blob(rb"[\xaa-\xff][\x00-\x50][\x00-\x50]",
                         lambda r, g, b: True, min_pixels=80)

    def focus_ring(self):
        """(x0, y0, x1, y1) of the focus ring, when one is drawn whole: a rectangle at least
        2 pixels thick on every side in the ring's colour, or None."""
        found = self._matches(re.escape(bytes(FOCUS_RING)), lambda r, g, b: True,
                              (0, 0, self.width, self.height))
        if len(found) < 16:
            return None
        xs = [p[0] for p in found]
        ys = [p[1] for p in found]
        box = (min(xs), min(ys), max(xs), max(ys))
        x0, y0, x1, y1 = box
        ring = lambda x, y: self.pixel(x, y) == FOCUS_RING
        for inset in (0, 1):
            sides = [[ring(x, y0 + inset) for x in range(x0, x1 + 1)],
                     [ring(x, y1 - inset) for x in range(x0, x1 + 1)],
                     [ring(x0 + inset, y) for y in range(y0, y1 + 1)],
                     [ring(x1 - inset, y) for y in range(y0, y1 + 1)]]
            if not all(sum(side) >= 0.9 * len(side) for side in sides):
                return None
        return box

    def widget_around(self, box, background=WINDOW_BLUE):
        """The widget a picture sits on: (x0, y0, x1, y1) up to where the page shows again."""
        cx, cy = (box[0] + box[2]) // 2, (box[1] + box[3]) // 2

        def reach(dx, dy):
            x, y = cx, cy
            while 0 <= x + dx < self.width and 0 <= y + dy < self.height and \
                    self.pixel(x + dx, y + dy) != background:
                x, y = x + dx, y + dy
            return x if dx else y

        return (reach(-1, 0), reach(0, -1), reach(1, 0), reach(0, 1))

    def white_boxes(self, region=None, min_width=40):
        """Entry fields: white rectangles, in reading order (line by line, left to right)."""
        x0r, y0r, x1r, y1r = region or self.page
        runs = {}
        for m in re.finditer(rb"(?:\xff\xff\xff){%d,}" % min_width, self.px):
            s, e = m.start(), m.end()
            s += (3 - s % 3) % 3
            p0, p1 = s // 3, e // 3 - 1
            y, x0 = divmod(p0, self.width)
            x1 = min(p1, (y + 1) * self.width - 1) - y * self.width
            if x1 - x0 + 1 < min_width or not (y0r <= y < y1r) or x0 < x0r or x1 >= x1r:
                continue
            runs.setdefault((x0, x1), []).append(y)
        white = lambda x, y: self.pixel(x, y) == (255, 255, 255)
        boxes = []
        for (x0, x1), ys in runs.items():
            ys.sort()
            top = prev = ys[0]
            for y in ys[1:] + [None]:
                # Typed text breaks the full-width rows of a field, but its left padding
                # stays white; between two fields the frame and the page come in between.
                if y is None or not all(white(x0 + 1, g) for g in range(prev + 1, y)):
                    if prev - top >= 8:
                        boxes.append([x0, top, x1, prev])
                    top = y
                if y is not None:
                    prev = y
        # A focused field's frame splits it into two nested rectangles: keep the outer one.
        merged = []
        for b in sorted(boxes, key=lambda b: (b[2] - b[0]) * (b[3] - b[1]), reverse=True):
            if not any(b[0] >= m[0] - 3 and b[2] <= m[2] + 3 and b[1] >= m[1] - 3 and b[3] <= m[3] + 3
                       for m in merged):
                merged.append(b)
        merged.sort(key=lambda b: ((b[1] + b[3]) // 2 // 8, b[0]))
        return [tuple(b) for b in merged]

    def contrast(self, region):
        """The WCAG contrast ratio between a region's most common colour (its background) and
        the colour that stands out most from it: text there reads well at 4.5 and above."""
        x0, y0, x1, y1 = region
        seen = {}
        for y in range(y0, y1):
            for x in range(x0, x1):
                p = self.pixel(x, y)
                seen[p] = seen.get(p, 0) + 1

        def luminance(colour):
            c = [v / 255 for v in colour]
            c = [v / 12.92 if v <= 0.03928 else ((v + 0.055) / 1.055) ** 2.4 for v in c]
            return 0.2126 * c[0] + 0.7152 * c[1] + 0.0722 * c[2]

        background = luminance(max(seen, key=seen.get))
        ratios = [(max(background, luminance(p)) + 0.05) / (min(background, luminance(p)) + 0.05) for p in seen]
        return max(ratios)

    def ink(self, box):
        """How many pixels inside a white box are not white: typed text shows here."""
        x0, y0, x1, y1 = box
        return sum(1 for y in range(y0 + 3, y1 - 2) for x in range(x0 + 3, x1 - 2)
                   if self.pixel(x, y) != (255, 255, 255))

    def fields(self, min_width, max_width):
        return [b for b in self.white_boxes() if min_width <= b[2] - b[0] + 1 <= max_width
                and 16 <= b[3] - b[1] + 1 <= 40]

    def page_kind(self):
        """Which page of the test is on screen, as far as its buttons and fields tell."""
        if self.pdf_icon():
            return "results"
        arrow, speaker = self.arrow(), self.speaker()
        if arrow and speaker:
            return "form" if len(self.fields(80, 900)) >= 9 else "guide"
        narrow, wide = self.fields(80, 120), self.fields(150, 200)
        if len(narrow) == 20 and not speaker:
            return "dictation1"
        if wide and not narrow and not speaker:
            return "dictation2"
        return "unknown"


class Journey:
    def __init__(self, name, deadline=120, options=None):
        """options(parser), if given, adds arguments of the caller's own; they end up in
        self.args with the common ones."""
        parser = argparse.ArgumentParser()
        parser.add_argument("--program", required=True)
        parser.add_argument("--artifacts", required=True)
        parser.add_argument("--sounds", default="")
        parser.add_argument("--variant", default="")
        parser.add_argument("--build", default="")
        if options:
            options(parser)
        args = self.args = parser.parse_args()
        self.build = args.build
        self.variant = args.variant
        if self.variant:
            name += "-" + self.variant
        self.name = name
        self.deadline = deadline
        self.program = os.path.abspath(args.program)
        self.sounds = args.sounds
        self.artifacts = os.path.join(os.path.abspath(args.artifacts), name)
        shutil.rmtree(self.artifacts, ignore_errors=True)
        os.makedirs(self.artifacts)
        self.tmp = tempfile.mkdtemp(prefix="skrivlo-e2e-%s-" % name)
        self.home = os.path.join(self.tmp, "home")
        self.runtime = os.path.join(self.tmp, "run")
        os.makedirs(self.home)
        os.makedirs(self.runtime, mode=0o700)
        self.logs = os.path.join(self.tmp, "logs")
        os.makedirs(self.logs)
        # What the program finds at /etc/xdg: the machine's folder without its Skrivlo/, until
        # the journey writes machine_settings. None runs the program on the machine's own
        # settings (the Windows journey, whose Wine prefix is its own machine).
        self.etc_xdg = os.path.join(self.tmp, "etc-xdg")
        if os.path.isdir(ETC_XDG):
            shutil.copytree(ETC_XDG, self.etc_xdg, symlinks=True,
                            ignore=lambda folder, names: ["Skrivlo"] if folder == ETC_XDG else [])
        else:
            os.makedirs(self.etc_xdg)
        self.machine_settings = os.path.join(self.etc_xdg, "Skrivlo", "Skrivlo.ini")
        self.no_mount = None  # why this machine gives the program no mount namespace, once tried
        self.procs = []
        self.programs = []
        self.display = None
        self.session_bus = None
        self.reader = None
        self.pulse_socket = None
        self.shots = 0
        self.started = time.monotonic()
        self.screen = SCREEN
        self.program_env = {}  # what the program gets on top of env(): scaling, font dpi

    # ---- running the journey -------------------------------------------------------

    def run(self, body):
        def overdue(signum, frame):
            raise TimeoutError("journey %s overran its %d s" % (self.name, self.deadline))

        signal.signal(signal.SIGALRM, overdue)
        signal.signal(signal.SIGTERM, overdue)
        signal.alarm(self.deadline)
        code = 0
        try:
            missing = [tool for tool in NEEDED if not shutil.which(tool)]
            check(not missing, "missing tools (scripts/install-deps.sh --test installs them): "
                  + " ".join(missing))
            self.start_desktop()
            body(self)
        except Skip as reason:
            print("SKIPPED: %s" % reason)
            code = SKIP_CODE
        except BaseException:
            traceback.print_exc()
            self.keep_failure()
            code = 1
        finally:
            signal.alarm(0)
            self.teardown()
        print("%s: %s after %.1f s" % (self.name, {0: "passed", 1: "FAILED", SKIP_CODE: "skipped"}[code],
                                       time.monotonic() - self.started))
        return code

    def keep_failure(self):
        """Leaves a screenshot, the logs and any report where the build tree keeps them."""
        try:
            if self.display:
                self.shot("failure")
        except Exception as e:  # the screenshot must not hide the real failure
            print("no failure screenshot: %s" % e)
        for name in os.listdir(self.logs):
            shutil.copy(os.path.join(self.logs, name), self.artifacts)
        for i, program in enumerate(self.programs):
            report = program.report()
            if report is not None:
                with open(os.path.join(self.artifacts, "results-run%d.html" % (i + 1)), "wb") as f:
                    f.write(report)
        print("artifacts of the failed run: %s" % self.artifacts)

    def spawn(self, label, argv, env=None, cwd=None, pass_fds=(), preexec=None, stdin=subprocess.DEVNULL):
        """Starts a process whose output goes to a log file, popen.log."""
        path = os.path.join(self.logs, "%s-%d.log" % (label, len(self.procs) + 1))
        log = open(path, "wb")

        def setup():
            _die_with_harness()
            if preexec:
                preexec()

        popen = subprocess.Popen(argv, env=env if env is not None else self.env(), cwd=cwd,
                                 stdin=stdin, stdout=log, stderr=subprocess.STDOUT,
                                 pass_fds=pass_fds, preexec_fn=setup)
        log.close()
        popen.log = path
        self.procs.append((label, popen))
        return popen

    def teardown(self):
        if self.reader:
            self.reader.close()
        for label, popen in reversed(self.procs):
            if popen.poll() is None:
                try:
                    os.kill(popen.pid, signal.SIGTERM)
                    popen.wait(3)
                except subprocess.TimeoutExpired:
                    os.kill(popen.pid, signal.SIGKILL)
                    popen.wait(3)
                except ProcessLookupError:
                    pass
        shutil.rmtree(self.tmp, ignore_errors=True)

    def env(self, sound=False):
        env = {
            "PATH": os.environ.get("PATH", "/usr/bin:/bin"),
            "HOME": self.home,
            "XDG_RUNTIME_DIR": self.runtime,
            "XDG_CONFIG_HOME": os.path.join(self.home, ".config"),
            "LANG": "C.UTF-8",
            "LC_ALL": "C.UTF-8",
            "QT_QPA_PLATFORM": "xcb",
            # No audio server unless the journey starts one: the program must run on in silence.
            "PULSE_SERVER": "unix:" + os.path.join(self.runtime, "no-sound-server"),
        }
        for passed in ("LD_LIBRARY_PATH",):
            if passed in os.environ:
                env[passed] = os.environ[passed]
        if self.display:
            env["DISPLAY"] = self.display
        if self.session_bus:
            env["DBUS_SESSION_BUS_ADDRESS"] = self.session_bus
        if sound:
            check(self.pulse_socket, "no sound server started")
            env["PULSE_SERVER"] = "unix:" + self.pulse_socket
        return env

    # ---- the desktop ---------------------------------------------------------------

    def start_desktop(self):
        read_end, write_end = os.pipe()
        self.spawn("xvfb", ["Xvfb", "-displayfd", str(write_end), "-noreset",
                            "-screen", "0", "%dx%dx24" % self.screen, "-nolisten", "tcp"],
                   pass_fds=(write_end,))
        os.close(write_end)
        number, until = b"", time.monotonic() + 15
        while not number.endswith(b"\n"):
            ready = select.select([read_end], [], [], max(0.0, until - time.monotonic()))[0]
            check(ready, "Xvfb named no display within 15 s")
            chunk = os.read(read_end, 32)
            check(chunk, "Xvfb ended before naming a display")
            number += chunk
        os.close(read_end)
        self.display = ":" + number.decode().strip()

        # A session bus, as every desktop session has: without one Qt's accessibility bridge
        # tries to start one (dbus-launch along the PATH) when a program first shows rich text.
        bus = os.path.join(self.runtime, "session-bus")
        self.spawn("dbus", ["dbus-daemon", "--session", "--nofork", "--nopidfile", "--address=unix:path=" + bus])
        self.until(lambda: os.path.exists(bus), 15, "the session bus")
        self.session_bus = "unix:path=" + bus

        # Without a window manager full screen is ignored and focus is lost after a message box.
        self.spawn("openbox", ["openbox", "--sm-disable"])
        self.until(lambda: "window id" in self.tool("xprop", "-root", "_NET_SUPPORTING_WM_CHECK"),
                   15, "openbox to manage the screen")
        # So that æ, ø and å arrive as typed.
        self.tool("setxkbmap", "dk")
        check("dk" in self.tool("setxkbmap", "-query"), "the Danish keyboard map did not take")

    def start_sound_server(self, microphone=False):
        """A private PulseAudio server whose only output is a null sink we can record; with
        microphone, also a default input fed by `paplay -d mic FILE` (Qt lists no monitor
        sources, so a virtual source stands on the second sink's monitor)."""
        for tool in ("pulseaudio", "parec", "pactl"):
            check(shutil.which(tool), "missing %s (pulseaudio, pulseaudio-utils)" % tool)
        self.pulse_socket = os.path.join(self.runtime, "pulse.sock")
        modules = ["module-null-sink sink_name=nullsink"]
        if microphone:
            modules += ["module-null-sink sink_name=mic",
                        "module-virtual-source source_name=vmic master=mic.monitor"]
        modules.append("module-native-protocol-unix auth-anonymous=1 socket=" + self.pulse_socket)
        self.spawn("pulseaudio", ["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1",
                                  "--use-pid-file=no"] + [a for m in modules for a in ("-L", m)],
                   preexec=_audio_priority)
        env = self.env(sound=True)
        self.until(lambda: subprocess.run(["pactl", "info"], env=env, capture_output=True,
                                          timeout=5).returncode == 0,
                   15, "the sound server to answer")
        if microphone:
            for command in (["set-default-sink", "nullsink"], ["set-default-source", "vmic"]):
                subprocess.run(["pactl"] + command, env=env, check=True, timeout=5)

    def tool(self, *argv, timeout=10):
        """Runs an X tool against our display and returns its output; fails on an error."""
        done = subprocess.run(["timeout", str(timeout)] + list(argv), env=self.env(),
                              capture_output=True)
        check(done.returncode == 0, "%s failed (%d): %s" % (" ".join(argv), done.returncode,
                                                            done.stderr.decode(errors="replace")))
        return done.stdout.decode(errors="replace")

    def until(self, condition, timeout, what, interval=0.1):
        end = time.monotonic() + timeout
        while True:
            result = condition()
            if result:
                return result
            if time.monotonic() > end:
                raise TimeoutError("waited %s s for %s" % (timeout, what))
            time.sleep(interval)

    # ---- the program ---------------------------------------------------------------

    def workdir(self, name="work", sounds=False):
        """A fresh working directory; with sounds, the built recordings beside it."""
        path = os.path.join(self.tmp, name)
        os.makedirs(path)
        if sounds:
            source = self.sounds
            if not (source and os.path.isdir(source) and os.path.isfile(os.path.join(source, "1.wav"))):
                raise Skip("no recordings in %r yet (the build makes sounds/*.wav)" % source)
            shutil.copytree(source, os.path.join(path, "sounds"),
                            ignore=lambda d, names: [n for n in names if not n.endswith(".wav")])
        return path

    def own_machine_possible(self):
        """Raises Skip when this machine cannot mount the journey's folder over /etc/xdg for
        the program (without root, or in a container without the right to mount)."""
        if self.no_mount is None:
            probe = subprocess.run(["unshare", "--mount", "sh", "-c", OWN_ETC_XDG, "sh", self.etc_xdg, "true"],
                                   capture_output=True)
            self.no_mount = "" if probe.returncode == 0 else \
                probe.stderr.decode(errors="replace").strip() or "unshare --mount ended with %d" % probe.returncode
        if self.no_mount:
            raise Skip("the program cannot be given settings of its own at /etc/xdg here: %s" % self.no_mount)

    def own_machine(self, argv):
        """argv (the program, or a tool that starts it), run so that the program finds the
        journey's folder at /etc/xdg. unshare and sh exec each other, so the process id is the
        program's own. Without a mount namespace the program runs as it is, as long as the
        machine has no settings of its own and the journey wants none."""
        if self.etc_xdg is None:
            return list(argv)
        try:
            self.own_machine_possible()
        except Skip:
            if os.path.exists(os.path.join(ETC_XDG, "Skrivlo")) or \
                    os.path.exists(os.path.dirname(self.machine_settings)):
                raise
            return list(argv)
        return ["unshare", "--mount", "sh", "-c", OWN_ETC_XDG, "sh", self.etc_xdg] + list(argv)

    def launch(self, workdir, sound=False, argv=None, preexec=None):
        env = self.env(sound=sound)
        for name, value in self.program_env.items():  # None takes a variable away
            env.pop(name) if value is None else env.update({name: value})
        if sound and not preexec:
            preexec = _audio_priority
        popen = self.spawn("skrivlo", self.own_machine(argv or [self.program]), env=env, cwd=workdir,
                           preexec=preexec)
        program = Program(self, popen, workdir)
        self.programs.append(program)
        return program

    # ---- eyes and hands ------------------------------------------------------------

    def visible_window(self, title):
        """The id of a visible window whose whole title is `title` (or matches it, when it is
        a compiled pattern: a title with a count in it), or None."""
        pattern = title.pattern if hasattr(title, "pattern") else "^" + re.escape(title) + "$"
        done = subprocess.run(["timeout", "5", "xdotool", "search", "--onlyvisible", "--name",
                               pattern], env=self.env(), capture_output=True)
        return int(done.stdout.split()[0]) if done.returncode == 0 and done.stdout.split() else None

    def wait_window(self, title, timeout=15):
        """Waits until a window whose whole title is `title` is visible; returns its id.
        (xdotool's own --sync looks only every half second.)"""
        try:
            return self.until(lambda: self.visible_window(title), timeout, "", interval=0.03)
        except TimeoutError:
            raise TimeoutError("no window %r within %s s" % (title, timeout))

    def window_shown(self, title):
        return self.visible_window(title) is not None

    def never_shown(self, title, within=1.0):
        """For what must not happen: true when no such window comes within the time."""
        end = time.monotonic() + within
        while time.monotonic() < end:
            if self.window_shown(title):
                return False
            time.sleep(0.03)
        return not self.window_shown(title)

    def wait_active(self, title, timeout=10):
        """Waits until the window titled `title` has the keyboard: a window manager under load
        may give it back a moment after a dialog closes, and keys sent before go nowhere."""
        def active():
            done = subprocess.run(["timeout", "5", "xdotool", "getactivewindow", "getwindowname"],
                                  env=self.env(), capture_output=True)
            return done.returncode == 0 and done.stdout.decode("utf-8", "replace").strip() == title
        self.until(active, timeout, "window %r to have the keyboard" % title, interval=0.03)

    def wait_window_gone(self, title, timeout=10):
        self.until(lambda: not self.window_shown(title), timeout, "window %r to close" % title,
                   interval=0.03)

    def geometry(self, window):
        """(x, y, width, height) of a window's inside, as the X server has it."""
        info = self.tool("xwininfo", "-id", str(window))
        value = lambda key: int(re.search(key + r":\s+(-?\d+)", info).group(1))
        return (value("Absolute upper-left X"), value("Absolute upper-left Y"),
                value("Width"), value("Height"))

    def key(self, *keys):
        self.tool("xdotool", "key", "--delay", "40", *keys)

    def type(self, text):
        """Types text as a person would, key by key; a newline is a Return. (xdotool's type
        sends a newline as Linefeed, which no field takes for Enter; its key takes the
        characters as key symbols, Latin-1 by number.)"""
        if "\n" in text:
            keys = ["Return" if c == "\n" else "0x%x" % ord(c) if ord(c) < 0x100 else "U%04X" % ord(c)
                    for c in text]
            self.tool("xdotool", "key", "--delay", "4", *keys, timeout=30 + len(text) // 20)
        elif text:
            self.tool("xdotool", "type", "--delay", "12", "--", text, timeout=30)

    def click(self, x, y, button=1):
        # No --sync: it waits forever when the pointer is already there.
        self.tool("xdotool", "mousemove", str(x), str(y), "sleep", "0.05", "click", str(button))

    def click_centre(self, box):
        self.click((box[0] + box[2]) // 2, (box[1] + box[3]) // 2)

    def longest_unanswered(self, window, seconds, cap=5.0):
        """Pings the window (_NET_WM_PING) for `seconds`, one after another; returns the longest
        wait for an answer, at most cap."""
        pinger = _Pinger(self.display)
        try:
            longest, end = 0.0, time.monotonic() + seconds
            while time.monotonic() < end:
                longest = max(longest, pinger.round_trip(window, cap))
                time.sleep(0.01)
            return longest
        finally:
            pinger.close()

    def grab(self):
        if self.reader is None:
            self.reader = _RootReader(self.display)
        data = self.reader.ppm()
        if data:
            return Screen(data)
        data = subprocess.run(["timeout", "10", "import", "-window", "root", "-depth", "8", "ppm:-"],
                              env=self.env(), capture_output=True, check=True).stdout
        return Screen(data)

    def shot(self, label):
        """Keeps a screenshot in the artifacts folder; returns its path."""
        self.shots += 1
        path = os.path.join(self.artifacts, "%02d-%s.png" % (self.shots, label))
        write_png(path, self.grab())
        return path

    def wait_page(self, kind, timeout=15):
        """Waits until the page on screen is of the given kind; returns the screenshot."""
        seen = []

        def shown():
            screen = self.grab()
            seen.append(screen.page_kind())
            return screen if seen[-1] == kind else None

        try:
            return self.until(shown, timeout, "the %s page" % kind, interval=0.05)
        except TimeoutError:
            raise TimeoutError("waited %s s for the %s page; saw %s" % (timeout, kind, seen[-1] if seen else "nothing"))
