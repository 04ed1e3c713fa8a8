"""The teacher's password: near misses are refused and leave the typed text in the field;
the right one opens the test full screen. Annullér or Escape ends the program at once,
with exit status 0 and nothing written. IT sets the school's password with
--ny-adgangskode: from then on only it opens the test and ends one, never the fixed one,
and a password typed into the settings file by hand keeps the program from starting."""

import os
import shutil
import sys

import learner
from harness import Journey, check

RED_TEXT = (rb"[\xc8-\xff][\x00-\x5a][\x00-\x5a]", lambda r, g, b: True)


def warned(j, dialog):
    """Is the red "Forkert password!" line showing in the access dialog?"""
    x, y, w, h = j.geometry(dialog)
    return j.grab().blob(*RED_TEXT, region=(x, y, x + w, y + h), min_pixels=15)


def refused(j, dialog, typed):
    j.type(typed)
    j.key("Return")
    check(j.never_shown(learner.MAIN_TITLE), "the wrong password %r opened the test" % typed)
    check(j.window_shown(learner.ACCESS_TITLE), "the access dialog closed on %r" % typed)
    j.until(lambda: warned(j, dialog), 5, "the red warning after %r" % typed)


def right_password_after_near_misses(j):
    workdir = j.workdir("right")
    program, dialog = learner.start(j, workdir)
    check(not warned(j, dialog), "the dialog warns before anything was typed")
    refused(j, dialog, "")
    refused(j, dialog, "Kanelsnegle")
    j.key("ctrl+a")
    refused(j, dialog, "kanel")
    # The refused text stays in the field and keeps the cursor: typing on completes it.
    refused(j, dialog, "snegle ")
    j.key("BackSpace", "Return")
    window = j.wait_window(learner.MAIN_TITLE)
    check(not j.window_shown(learner.ACCESS_TITLE), "the access dialog stayed after the password")
    j.wait_page("guide")
    check(j.geometry(window) == (0, 0, 1280, 1024),
          "the test window is not full screen: %s" % (j.geometry(window),))
    j.shot("welcome")
    learner.quit(j, program)
    check(os.listdir(workdir) == [learner.PC_FILE], "opening and closing the test left %s" % os.listdir(workdir))


def cancelled(j, how):
    workdir = j.workdir("cancel-" + how)
    program, dialog = learner.start(j, workdir)
    if how == "button":
        x, y, w, h = j.geometry(dialog)
        # Annullér stands at the left of the bottom row; its frame is Fusion's grey.
        button = j.grab().blob(rb"\xab\xab\xab", lambda r, g, b: True,
                               region=(x, y + h - 45, x + w // 2, y + h), min_pixels=20)
        check(button, "no Annullér button at the bottom left of the access dialog")
        j.click_centre(button)
    else:
        j.key("Escape")
    status = program.wait_exit(10)
    check(status == 0, "cancelling by %s gave exit status %s" % (how, status))
    check(os.listdir(workdir) == [], "cancelling by %s left %s" % (how, os.listdir(workdir)))


SCHOOL = "Rødgrød med fløde"


def school_password(j):
    j.own_machine_possible()
    settings = j.machine_settings  # what the program reads as /etc/xdg/Skrivlo/Skrivlo.ini
    workdir = j.workdir("school")
    setter = j.launch(workdir, argv=[j.program, "--ny-adgangskode"])
    j.wait_window("Skolens password")
    j.type(SCHOOL)
    j.key("Tab")
    j.type(SCHOOL)
    j.shot("new-password")
    j.key("Return")
    j.wait_window("Skolens password er gemt")
    j.key("Return")
    check(setter.wait_exit(10) == 0, "--ny-adgangskode did not end with status 0")
    with open(settings, "rb") as f:
        stored = f.read()
    check(SCHOOL.encode() not in stored and (b"pbkdf2-sha256$" in stored or b"skrivlo-noegle-1$" in stored),
          "the settings file holds %r" % stored)

    program, dialog = learner.start(j, workdir)
    refused(j, dialog, learner.PASSWORD)
    j.key("ctrl+a")
    j.type(SCHOOL)
    j.key("Return")
    j.wait_window(learner.MAIN_TITLE)
    j.wait_page("guide")
    # Ending the test: the fixed password leaves it running, the school's ends it.
    learner.end_test(j, learner.PASSWORD, right=False)
    check(program.running(), "the fixed password ended the test")
    learner.end_test(j, SCHOOL, right=True)
    check(program.wait_exit(10) == 0, "the school's password did not end the test")

    # A password typed in by hand is refused, and the fixed one does not take over.
    with open(settings, "w") as f:
        f.write("[General]\npassword=hemmelig\n")
    program = j.launch(workdir)
    j.wait_window("Skrivlo kan ikke starte")
    check(not j.window_shown(learner.ACCESS_TITLE), "the access dialog came up beside the refusal")
    j.shot("hand-written-password")
    j.key("Return")
    check(program.wait_exit(10) == 1, "a hand-written password did not stop the program")
    shutil.rmtree(os.path.dirname(settings))


def journey(j):
    right_password_after_near_misses(j)
    cancelled(j, "button")
    cancelled(j, "escape")
    school_password(j)


if __name__ == "__main__":
    sys.exit(Journey("password", deadline=130).run(journey))
