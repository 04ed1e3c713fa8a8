"""Skrivlo for Windows, under Wine in a fresh prefix: the installer run silently with a class
folder for the PC, the program started as its Start-menu entry says (target, arguments and
working folder read from the .lnk), --version in a box, a second copy refused by the lock,
Alt+F4 asking for the
password, then the whole test by keyboard with the first sentence heard at the sound device
(Wine's PulseAudio driver), the report byte for byte as on Linux, the learner's own report
and the overview in the class folder on a UNC path, a PDF read back, the teacher's view from
its entry showing the learner, and the uninstaller.

--program is the installer (build-windows/skrivlo-<version>-setup.exe), --sounds the
deployed recordings; packaging/windows/test.sh runs it."""

import datetime
import os
import pwd
import shutil
import struct
import subprocess
import sys
import time
import unicodedata

import journey_dictation2 as whole_test
import journey_teacherview as teacher
import learner
import oracle
import sealed
import sound
from harness import Journey, Skip, check

# Where IT points the PC: a share with a comma and Danish letters, one of them before a letter
# that is also a hex digit.
CLASS_FOLDER = r"\\skole\klasser\Hold 3b, Åbyhøj"
# That value in the escapes of Qt's INI format (QSettings::IniFormat), so that Qt reads it
# back as one string: quoted, backslashes doubled, \x<hex> for each letter beyond ASCII and
# for a hex digit right after one.
CLASS_FOLDER_INI = r'"\\\\skole\\klasser\\Hold 3b, \xc5\x62yh\xf8j"'
MENU = "ProgramData/Microsoft/Windows/Start Menu/Programs/Skrivlo"
TEST_ENTRY, STUDIO_ENTRY, VIEW_ENTRY = "Skrivlo.lnk", "Skrivlo – indtal optagelser.lnk", "Skrivlo – resultater.lnk"
WINE_START = 60  # seconds for a window of a program starting under Wine on a busy machine
# The Linux journey's answers, but no "<" or ">": typed by xdotool they reached the program
# under Wine as "Z" and "X" in 2 of 8 runs (the key left of Z on a Danish keyboard), and
# AltGr letters ("[") never arrive. The report's escaping is the same code on both systems;
# "&" still shows it.
ANSWERS_38 = [answer.replace("<", "(").replace(">", ")") for answer in whole_test.ANSWERS_38]


def shortcut(path):
    """(target, arguments, working folder) of a Windows shortcut, from its LinkInfo and
    string data ([MS-SHLLINK])."""
    with open(path, "rb") as f:
        data = f.read()
    check(data[:4] == b"L\0\0\0", "%s is not a shortcut" % path)
    flags = struct.unpack_from("<I", data, 0x14)[0]
    at = 0x4C
    if flags & 0x1:  # an item id list
        at += 2 + struct.unpack_from("<H", data, at)[0]
    target = None
    if flags & 0x2:  # LinkInfo, with the local path
        size, header, info_flags = struct.unpack_from("<III", data, at)
        info = data[at:at + size]
        if info_flags & 0x1:
            if header >= 0x24:
                start = struct.unpack_from("<I", info, 0x1C)[0]
                target = info[start:].decode("utf-16-le").split("\0")[0]
            else:
                start = struct.unpack_from("<I", info, 0x10)[0]
                target = info[start:].split(b"\0")[0].decode("cp1252")
        at += size
    strings = {}
    width = 2 if flags & 0x80 else 1
    for bit, name in ((0x4, "name"), (0x8, "relative"), (0x10, "workdir"), (0x20, "arguments"), (0x40, "icon")):
        if flags & bit:
            count = struct.unpack_from("<H", data, at)[0]
            raw = data[at + 2:at + 2 + count * width]
            # Wine counts the closing zero too.
            strings[name] = raw.decode("utf-16-le" if width == 2 else "cp1252").split("\0")[0]
            at += 2 + count * width
    check(target, "%s names no local target" % path)
    return target, strings.get("arguments", ""), strings.get("workdir", "")


class Wine:
    """A fresh prefix of our own in the journey's folder, and the programs run in it."""

    def __init__(self, j):
        self.j = j
        self.prefix = os.path.join(j.tmp, "wineprefix")
        extra = {"WINEPREFIX": self.prefix, "WINEDEBUG": "fixme-all", "WINEARCH": "win64",
                 # No Mono or Gecko to offer (no network), and no Linux menu entries.
                 "WINEDLLOVERRIDES": "mscoree,mshtml=;winemenubuilder.exe=d"}
        j.program_env.update(extra)
        # The prefix is the journey's own machine, so the program reads the settings where the
        # installer wrote them (%ProgramData% in the prefix); /etc/xdg means nothing to it, and
        # wine runs without the mount the Linux journeys give the program.
        j.etc_xdg = None
        self.env = dict(j.env(), **extra)

    def unix(self, path):
        check(path[1:3] == ":\\", "%r is not on a drive" % path)
        drive = os.path.join(self.prefix, "dosdevices", path[0].lower() + ":")
        return os.path.join(os.path.realpath(drive), *path[3:].split("\\"))

    def run(self, *argv, timeout=120):
        done = subprocess.run(["wine"] + list(argv), env=self.env, capture_output=True, timeout=timeout)
        return done.returncode, done.stdout.decode(errors="replace") + done.stderr.decode(errors="replace")

    def settle(self, timeout=60):
        """Waits until every program in the prefix has ended."""
        subprocess.run(["wineserver", "-w"], env=self.env, timeout=timeout)

    def stop(self):
        subprocess.run(["wineserver", "-k"], env=self.env, timeout=30)

    def catch_crashes(self):
        """A crashing program leaves winedbg's backtrace in C:\\wine-crash.txt and ends, instead
        of waiting in a dialog that no other debugger can attach to."""
        debugger = r"C:\windows\system32\cmd.exe /c C:\windows\system32\winedbg.exe --auto %ld %ld > C:\wine-crash.txt 2>&1"
        for key, value, kind, data in (
                (r"HKCU\Software\Wine\WineDbg", "ShowCrashDialog", "REG_DWORD", "0"),
                (r"HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug", "Debugger", "REG_SZ", debugger)):
            status, output = self.run("reg", "add", key, "/v", value, "/t", kind, "/d", data, "/f")
            check(status == 0, "reg add %s failed (%d): %s" % (key, status, output))

    def describe_stall(self):
        """Which window has the keyboard and where each thread of each program waits, so a
        stall tells a lost focus from a blocked program (kept as wine-stall.txt)."""
        lines = []
        for argv in (["xprop", "-root", "_NET_ACTIVE_WINDOW"], ["xdotool", "getactivewindow", "getwindowname"],
                     ["xdotool", "search", "--onlyvisible", "--name", "."]):
            done = subprocess.run(["timeout", "10"] + argv, env=self.env, capture_output=True)
            lines.append("$ %s\n%s" % (" ".join(argv), done.stdout.decode(errors="replace")))
            if argv[1] == "search":
                for window in done.stdout.split():
                    name = subprocess.run(["timeout", "5", "xdotool", "getwindowname", window], env=self.env,
                                          capture_output=True).stdout.decode(errors="replace").strip()
                    lines.append("  %s %r" % (window.decode(), name))
        try:
            done = subprocess.run(["wine", "winedbg", "--command", "bt all"], env=self.env, capture_output=True,
                                  timeout=120)
            lines.append("$ winedbg --command 'bt all'\n" + done.stdout.decode(errors="replace"))
        except subprocess.TimeoutExpired:
            lines.append("winedbg did not answer within 120 s")
        with open(os.path.join(self.j.artifacts, "wine-stall.txt"), "w", encoding="utf-8") as f:
            f.write("\n".join(lines))
        print("\n".join(lines[:6]))
        crash = os.path.join(self.prefix, "drive_c", "wine-crash.txt")
        if os.path.exists(crash):
            kept = shutil.copy(crash, self.j.artifacts)
            with open(crash, encoding="utf-8", errors="replace") as f:
                print("a program crashed (%s):\n%s" % (kept, f.read().split("Modules:")[0]))

    def registry(self, key):
        status, _ = self.run("reg", "query", key)
        return status == 0


def journey(j):
    if not shutil.which("wine"):
        raise Skip("no wine (scripts/install-deps.sh --windows-test)")
    setup = j.program
    check(os.path.isfile(setup), "no installer at %s (bash packaging/windows/build.sh)" % setup)
    wine = Wine(j)
    try:
        walk(j, wine, setup)
    except BaseException:
        wine.describe_stall()
        raise
    finally:
        wine.stop()


def walk(j, wine, setup):
    took = time.monotonic()
    status, output = wine.run("wineboot", "-i", timeout=180)
    check(status == 0, "wineboot failed (%d): %s" % (status, output))
    wine.settle()
    wine.catch_crashes()
    print("fresh prefix in %.1f s" % (time.monotonic() - took))

    took = time.monotonic()
    status, output = wine.run(setup, "/S", "/KLASSEMAPPE=" + CLASS_FOLDER, timeout=300)
    check(status == 0, "the silent install failed (%d): %s" % (status, output))
    wine.settle()
    print("installed in %.1f s" % (time.monotonic() - took))
    program_folder = wine.unix("C:\\Program Files\\Skrivlo")
    for name in ("skrivlo.exe", "skrivlo-resultater.exe", "skrivlo-indtal.exe", "skrivlo_devices.dll", "qt.conf", "Qt6Core.dll", "platforms/qwindows.dll",
                 "multimedia/windowsmediaplugin.dll", "translations/qtbase_da.qm", "sounds/1.wav",
                 "vejledning/vejledning.html", "vejledning/it.html", "vejledning/databeskyttelse.html",
                 "Afinstaller Skrivlo.exe"):
        check(os.path.isfile(os.path.join(program_folder, name)), "the install holds no %s" % name)
    menu = os.path.join(wine.prefix, "drive_c", MENU)
    entries = sorted(os.listdir(menu))
    check(entries == sorted([TEST_ENTRY, STUDIO_ENTRY, VIEW_ENTRY]),
          "the Start menu holds %s" % entries)
    with open(os.path.join(wine.prefix, "drive_c/ProgramData/Skrivlo/Skrivlo.ini"), "rb") as f:
        settings = f.read()
    check(b"[General]" in settings and b"klassemappe=" + CLASS_FOLDER_INI.encode() in settings,
          "the class folder is not in the machine's settings as Qt writes it:\n%r" % settings)
    check(wine.registry(r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Skrivlo"),
          "the install is not among the programs Windows can remove")

    target, arguments, folder = shortcut(os.path.join(menu, TEST_ENTRY))
    check(target.lower() == "c:\\program files\\skrivlo\\skrivlo.exe", "the entry starts %r" % target)
    argv = ["wine", target] + arguments.split()
    cwd = wine.unix(folder)
    check(os.path.samefile(cwd, program_folder), "the entry's working folder is %r" % folder)
    # Wine keeps \\server\share\... under dosdevices/unc/: the share exists when its folder does.
    class_folder = os.path.join(wine.prefix, "dosdevices", "unc", *CLASS_FOLDER[2:].split("\\"))
    os.makedirs(class_folder)
    documents = os.path.realpath(os.path.join(wine.prefix, "drive_c/users", pwd.getpwuid(os.getuid()).pw_name,
                                              "Documents"))
    workdir = os.path.join(documents, "Skrivlo")

    # A Windows program has no terminal: --version answers in a box.
    asked = j.launch(cwd, argv=["wine", target, "--version"])
    j.wait_window("Skrivlo", timeout=WINE_START)
    j.wait_active("Skrivlo", timeout=WINE_START)
    j.shot("version-box")
    j.key("Return")
    check(asked.wait_exit(30) == 0, "--version did not end with status 0")

    # Alt+F4 during a test asks for the password; a second copy meets the lock meanwhile.
    j.start_sound_server()
    program = j.launch(cwd, sound=True, argv=argv)
    program.workdir = workdir
    j.wait_window(learner.ACCESS_TITLE, timeout=WINE_START)
    j.shot("access-dialog")
    learner.unlock_started(j, program, timeout=WINE_START)
    window = j.wait_window(learner.MAIN_TITLE)
    check(j.geometry(window) == (0, 0) + j.screen, "the test is not full screen: %s" % (j.geometry(window),))
    j.shot("welcome")
    second = j.launch(cwd, argv=argv)
    refusal = j.wait_window("Skrivlo kan ikke starte", timeout=WINE_START)
    # The box of another program opens behind the full-screen test; the teacher brings it up.
    j.tool("xdotool", "windowactivate", str(refusal))
    j.until(lambda: j.tool("xdotool", "getactivewindow").strip() == str(refusal), WINE_START,
            "the refusal to have the keyboard")
    j.shot("second-copy")
    j.key("Return")
    check(second.wait_exit(30) == 1, "the second copy did not end with status 1")
    with open(second.popen.log, encoding="utf-8", errors="replace") as f:
        said = f.read()
    check("\\Documents\\Skrivlo" in said and ":/" not in said,
          "the second copy's message does not name the folder the Windows way:\n%s" % said)
    # The box was another program's: the teacher clicks the test to go on with it.
    j.tool("xdotool", "windowactivate", str(window))
    j.wait_active(learner.MAIN_TITLE, timeout=WINE_START)
    j.key("alt+F4")
    j.wait_window(learner.END_TITLE)
    j.shot("alt-f4-asks")
    learner.end_test(j, learner.PASSWORD, pressed=True)
    check(program.wait_exit(30) == 0, "closing with the password did not end the program with status 0")
    wine.settle()

    # The whole test, as the Linux journey of both dictations takes it.
    first = sound.read_wav(os.path.join(program_folder, "sounds", "1.wav"))
    program = j.launch(cwd, sound=True, argv=argv)
    program.workdir = workdir
    learner.unlock_started(j, program, timeout=WINE_START)
    learner.next_page(j, "form")
    j.shot("form")
    learner.fill_form(j, whole_test.FORM)
    j.shot("form-filled")
    learner.next_page(j, "guide")
    j.shot("help-dictation1")
    rec = sound.Recorder(j, "windows")
    shown = rec.now()
    learner.next_page(j, "dictation1")
    fit = sound.heard_within(rec, first, shown)
    print("1.wav at the null sink: fit %.2f" % fit)
    j.shot("dictation1")
    learner.answer(j, whole_test.ANSWERS_18)
    j.shot("dictation1-filled")
    learner.hand_in(j, "guide")
    j.shot("help-dictation2")
    learner.next_page(j, "dictation2")
    j.shot("dictation2")
    learner.answer(j, ANSWERS_38)
    learner.click_arrow(j, learner.scroll_to_arrow(j))
    learner.confirm(j, "Advarsel!")
    j.wait_window("Vigtigt!")
    j.shot("results-reminder")
    learner.close_reminder(j)
    j.wait_page("results")
    j.shot("results")

    details = [oracle.date_text(datetime.date.today())] + whole_test.FORM
    section1, _ = oracle.dictation1(whole_test.ANSWERS_18)
    section2, total, _ = oracle.dictation2(ANSWERS_38)
    check(total == 38, "the Dictation 2 answers were meant to give 38, not %d" % total)
    report = program.report()
    check(report is not None, "no results.html in %s" % workdir)
    check(b"\r\n" not in report, "results.html has Windows line ends")
    actual = oracle.without_stamps(report.decode("utf-8"))
    expected = oracle.header(details) + section1 + section2
    check(actual == expected, "results.html differs from the expected report:\n--- expected\n%s\n--- actual\n%s"
          % (expected, actual))
    # Sent to the class folder IT set at the install, through the outbox, sealed under a name
    # that holds nothing of the learner; what the Windows program sealed opens here.
    own = lambda: [name for name in os.listdir(class_folder) if name.endswith(".html" + sealed.SUFFIX)]
    waiting = lambda: [name for _, _, names in os.walk(os.path.join(workdir, "udbakke")) for name in names]
    j.until(lambda: len(own()) == 1 and not waiting(), 30,
            "the learner's report in the class folder, and the outbox empty")
    stem = own()[0][:-len(".html" + sealed.SUFFIX)]
    check(stem.startswith(learner.pc_name(workdir) + " ") and "Jørgen" not in unicodedata.normalize("NFC", stem),
          "the class folder holds %s, not a report named by the PC and an id" % own())
    keys = sealed.class_keys(class_folder, learner.PASSWORD)
    opened = sealed.opened(class_folder, stem + ".html", keys)
    check(opened is not None and oracle.without_stamps(opened.decode("utf-8")) == expected,
          "the learner's own report, opened, differs from results.html")
    data = sealed.opened(class_folder, stem + ".json", keys)
    check(data is not None and "Jørgen Ødegård" in unicodedata.normalize("NFC", data.decode("utf-8")),
          "the learner's data file does not open: %r" % data)
    check(not os.path.exists(os.path.join(class_folder, "oversigt.csv")), "a PC wrote an overview in the clear")

    learner.save_pdf(j, "trin3.pdf", shot="save-dialog")
    found = lambda: [os.path.join(d, "trin3.pdf") for d, _, names in os.walk(documents) if "trin3.pdf" in names]
    j.until(lambda: found() and os.path.getsize(found()[0]) > 1000, 20, "the PDF file")
    text = subprocess.run(["pdftotext", "-layout", found()[0], "-"], capture_output=True, check=True).stdout.decode()
    text = unicodedata.normalize("NFKC", text)
    for seen in ("Navn: Jørgen Ødegård", "Total: 18", "Total: 38", "Trin 3", "restaurant & (bar)"):
        check(seen in text, "the PDF does not show %r:\n%s" % (seen, text))
    j.shot("results-after-pdf")
    j.wait_active(learner.MAIN_TITLE)
    learner.quit(j, program)
    wine.settle()

    # The teacher's view, in the folder its entry starts it in: the class folder's one learner,
    # with a Trin.
    target, arguments, folder = shortcut(os.path.join(menu, VIEW_ENTRY))
    check(target.lower().endswith("\\skrivlo-resultater.exe") and arguments.split() == ["--dokumenter"],
          "the teacher's entry starts %r %r" % (target, arguments))
    # Started the old way, as scripts and older shortcuts do: skrivlo.exe runs its sibling and
    # ends with the sibling's status.
    test_program = target[:-len("skrivlo-resultater.exe")] + "skrivlo.exe"
    view = j.launch(wine.unix(folder), argv=["wine", test_program, "--resultater"] + arguments.split())
    learner.unlock_started(j, view, main_title=teacher.VIEW_TITLE, timeout=WINE_START)
    window = j.wait_window(teacher.VIEW_TITLE)
    j.until(lambda: teacher.trin_cells(j.grab(), j.geometry(window)), 30, "the learner's Trin in the view")
    j.shot("teacher-view")
    j.wait_active(teacher.VIEW_TITLE)
    j.key("alt+F4")
    # Its listing ran on a thread of its own; the program must still end.
    check(view.wait_exit(30) == 0, "the teacher's view did not end with status 0")
    wine.settle()

    took = time.monotonic()
    status, output = wine.run(os.path.join(program_folder, "Afinstaller Skrivlo.exe"), "/S")
    check(status == 0, "the uninstaller failed (%d): %s" % (status, output))
    # It runs on from a copy of itself in the temporary folder.
    j.until(lambda: not os.path.exists(program_folder), 60, "the uninstaller to remove the program")
    wine.settle()
    print("uninstalled in %.1f s" % (time.monotonic() - took))
    check(not os.path.exists(menu), "the Start-menu entries stayed")
    check(not wine.registry(r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Skrivlo"),
          "the uninstall entry stayed in the registry")
    check(os.path.isfile(os.path.join(workdir, "results.html")), "the uninstaller took the learner's results")
    check(os.path.isfile(os.path.join(wine.prefix, "drive_c/ProgramData/Skrivlo/Skrivlo.ini")),
          "the uninstaller took IT's setting")


if __name__ == "__main__":
    sys.exit(Journey("windows", deadline=600).run(journey))
