"""The teacher's password: near misses are refused and leave the typed text in the field;
the right one opens the test full screen. Annullér or Escape ends the program at once,
with exit status 0 and nothing written. IT sets the school's password with
--ny-adgangskode: from then on only it opens the test and ends one, never the fixed one,
whatever other settings a learner points the program at, and a password typed into the
settings file by hand keeps the program from starting."""

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
# What a learner might try, with the school's password at the fixed path, to bring the fixed
# one back: the environment (paths in the journey's folder) and a settings file without a
# password the learner wrote there.
DETOURS = [
    ("the old settings variable at a missing file", {"SKRIVLO_SETTINGS_FILE": "findes-ikke/Skrivlo.ini"}, None),
    ("XDG_CONFIG_DIRS at the learner's folder", {"XDG_CONFIG_DIRS": "egne"}, "egne/Skrivlo/Skrivlo.ini"),
    ("the learner's own settings file", {}, "home/.config/Skrivlo/Skrivlo.ini"),
]


def detour(j, workdir, name, variables, own_file):
    if own_file:
        own_file = os.path.join(j.tmp, own_file)
        os.makedirs(os.path.dirname(own_file))
        with open(own_file, "w") as f:
            f.write("[General]\n")
    j.program_env.update({k: os.path.join(j.tmp, v) for k, v in variables.items()})
    program, dialog = learner.start(j, workdir)
    try:
        refused(j, dialog, learner.PASSWORD)
    except AssertionError as e:
        raise AssertionError("%s: %s" % (name, e))
    j.key("ctrl+a")
    j.type(SCHOOL)
    j.key("Return")
    j.wait_window(learner.MAIN_TITLE)
    j.wait_page("guide")
    learner.end_test(j, SCHOOL, right=True)
    check(program.wait_exit(10) == 0, "%s: the school's password did not end the test" % name)
    for k in variables:
        del j.program_env[k]
    if own_file:
        os.remove(own_file)


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
    for name, variables, own_file in DETOURS:
        detour(j, workdir, name, variables, own_file)

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
