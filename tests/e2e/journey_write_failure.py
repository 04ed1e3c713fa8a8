"""When results.html cannot be written the learner meets the "Kritisk fejl!" box, the program
ends with exit status 1, and no half-written report is left to pass for a real one. A folder
that takes no files at all is named right after the password, before anyone types; a
recovery file that cannot be written is told at once.

Variants (--variant):
  readonly        the working directory is read-only (for root: a read-only tmpfs in a
                  private mount namespace; as a last resort results.html is a folder): told
                  after the password, and the teacher closes the program
  resultater-file `resultater` is a file: told after the password, likewise
  devfull         results.html becomes a link to /dev/full during the test: opening works,
                  writing does not
  full-at-form    the disk fills while the header is written (the recovery file, larger,
                  fails as the form comes up)
  full-at-dictation1
                  the header fits, the disk fills while Dictation 1 is handed in; the
                  answers are in no file, so giving up takes a last warning
"""

import datetime
import os
import resource
import signal
import subprocess
import sys

import learner
import oracle
from harness import Journey, Skip, check

FORM = ["Kbh. Sprogcenter", "Lars Holm", "Nørrebrogade 1", "1988", "", "", "", ""]
ANSWERS = ["kørte", "fint", "solen", "talt", "gamle", "læst", "hele", "prøve", "fire", "døren",
           "glas", "lavet", "stole", "stor", "hane", "gåsevin", "symbol", "løven", "fine", "rene"]


def header_bytes():
    return oracle.header([oracle.date_text(datetime.date.today())] + FORM).encode("utf-8")


def critical_box_ends_program(j, program):
    j.wait_window("Kritisk fejl!")
    j.shot("kritisk-fejl")
    check(program.running(), "the program ended before the learner closed the box")
    j.key("Return")
    status = program.wait_exit(10)
    check(status == 1, "after the Kritisk fejl box the exit status is %s, not 1" % status)


FOLDER_TITLE = "Skrivlo kan ikke gemme resultater"
NOT_SAVED_TITLE = "Svarene bliver ikke gemt"


def to_form_and_leave_it(j, program, recovery_fails=False):
    if recovery_fails:
        # Told as soon as the first save fails, which may be before a screenshot saw the
        # form under the box; the learner's typing goes on after OK.
        learner.click_arrow(j)
        learner.confirm(j, NOT_SAVED_TITLE, activate=True)
        j.wait_page("form")
    else:
        learner.next_page(j, "form")
    learner.fill_form(j, FORM)
    learner.click_arrow(j)


def folder_refused_at_start(j, program, workdir, before):
    """The teacher types the password and is told at once; "Luk programmet" (the default)."""
    j.wait_window(learner.ACCESS_TITLE)
    j.type(learner.PASSWORD)
    j.key("Return")
    j.wait_window(FOLDER_TITLE)
    j.shot("folder-refused")
    check(not j.window_shown(learner.MAIN_TITLE), "the test page came up behind the box")
    j.key("Return")
    status = program.wait_exit(10)
    check(status == 1, "closing at the folder box gave exit status %s, not 1" % status)
    check(sorted(set(os.listdir(workdir)) - {learner.PC_FILE}) == before, "left behind: %s" % os.listdir(workdir))


def file_size_limit(size):
    def limit():
        # A full disk, as far as this process can tell: writes past `size` bytes fail with
        # EFBIG. Ignoring SIGXFSZ keeps the kernel from killing the program for trying.
        signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
        resource.setrlimit(resource.RLIMIT_FSIZE, (size, size))
    return limit


def read_only_launch(j, workdir):
    """Launches skrivlo in a working directory where results.html cannot be created, by
    the strongest means this machine allows; checks that it really cannot be."""
    if os.geteuid() != 0:
        os.chmod(workdir, 0o555)
        try:
            open(os.path.join(workdir, "results.html"), "w").close()
            raise Skip("a read-only directory is writable here")
        except PermissionError:
            pass
        return j.launch(workdir), "a directory without write permission"
    in_ro_mount = ['mount -t tmpfs -o ro,size=64k skrivlo-ro "$1" && cd "$1" && shift && exec "$@"', "sh", workdir]
    probe = subprocess.run(["unshare", "-m", "sh", "-c"] + in_ro_mount + ["sh", "-c", ": > results.html"],
                           capture_output=True)
    if probe.returncode != 0 and b"Read-only file system" in probe.stderr:
        # The mount exists only in the program's own namespace and vanishes with it.
        argv = ["unshare", "-m", "sh", "-c"] + in_ro_mount + [j.program]
        return j.launch(workdir, argv=argv), "a read-only tmpfs"
    os.mkdir(os.path.join(workdir, "results.html"))
    return j.launch(workdir), "results.html being a folder (no mount namespace here: %s)" % probe.stderr.decode().strip()


def journey(j):
    workdir = j.workdir()
    variant = j.variant
    if variant == "readonly":
        before = sorted(os.listdir(workdir))
        program, means = read_only_launch(j, workdir)
        print("read-only working directory by %s" % means)
        folder_refused_at_start(j, program, workdir, before)
        return
    if variant == "resultater-file":
        open(os.path.join(workdir, "resultater"), "w").close()
        program = j.launch(workdir)
        folder_refused_at_start(j, program, workdir, ["resultater"])
        check(os.path.isfile(os.path.join(workdir, "resultater")), "resultater was changed")
        return
    if variant == "devfull":
        program = j.launch(workdir)
        learner.unlock_started(j, program)
        # Put in place once the test runs: a new test removes the report of the learner before.
        os.symlink("/dev/full", os.path.join(workdir, "results.html"))
        to_form_and_leave_it(j, program)
        critical_box_ends_program(j, program)
        # The typed details stay in the recovery file for the next start, sealed with the
        # working folder's key; the outbox and the class folder keep the key line.
        kept = {learner.RECOVERY_SEALED, learner.KEY_FILE, "resultater", "udbakke", learner.PC_FILE}
        check(set(os.listdir(workdir)) - kept == {"results.html"}, "left behind: %s" % os.listdir(workdir))
        saved = learner.saved_test(workdir)
        check(saved and FORM[1] in saved["fields"].values(), "the saved test: %s" % saved)
        check(os.readlink(os.path.join(workdir, "results.html")) == "/dev/full", "the link was replaced")
        return
    if variant == "full-at-form":
        program = j.launch(workdir, preexec=file_size_limit(200))
        learner.unlock_started(j, program)
        to_form_and_leave_it(j, program, recovery_fails=True)
        critical_box_ends_program(j, program)
        report = program.report()
        check(not report, "a half-written header was left behind: %r" % report)
        return
    if variant == "full-at-dictation1":
        header = header_bytes()
        # Room for the header, not for Dictation 1 (some 800 bytes more); the recovery file
        # of the form (some 600 bytes) fits, and no longer once the header is in it too.
        program = j.launch(workdir, preexec=file_size_limit(len(header) + 300))
        learner.unlock_started(j, program)
        to_form_and_leave_it(j, program)
        # With the report in it, the recovery file no longer fits: told on the next page, a
        # moment after it comes (the box may cover the page before a screenshot sees it).
        learner.confirm(j, NOT_SAVED_TITLE, activate=True)
        learner.next_page(j, "dictation1", j.wait_page("guide"))
        check(program.report() == header, "the header was not written whole before the disk filled")
        learner.answer(j, ANSWERS)
        learner.click_arrow(j)
        j.wait_window("Advarsel!")
        j.key("Return")
        # The teacher may try again. The box does not claim the answers are kept: they are in
        # no file. Closing (Escape) takes a last warning, where "Tilbage" has the focus.
        j.wait_window("Svarene er ikke gemt")
        j.shot("answers-not-saved")
        j.key("Escape")
        j.wait_window("Svarene går tabt")
        j.key("Tab", "space")  # "Luk programmet alligevel"
        critical_box_ends_program(j, program)
        report = program.report()
        check(report in (None, b"", header),
              "a half-written Dictation 1 section was left behind:\n%s" % report.decode("utf-8", "replace"))
        return
    raise AssertionError("unknown variant %r" % variant)


if __name__ == "__main__":
    sys.exit(Journey("write_failure", deadline=60).run(journey))
