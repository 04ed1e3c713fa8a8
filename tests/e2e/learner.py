"""What a teacher and a learner do with their hands: the steps the journeys are made of."""

import json
import os
import time

from harness import check

PASSWORD = "kanelsnegle"
ACCESS_TITLE = "Adgang til..."
MAIN_TITLE = "Diktat til trinindplacering"
END_TITLE = "Luk programmet?"
WRONG_PASSWORD_TITLE = "Forkert password"
RECOVERY_TITLE = "Ufærdig test"
RECOVERY_FILE = "skrivlo-gemt-test.json"  # the saved test's plain name, which it is sealed under
RECOVERY_SEALED = RECOVERY_FILE + ".skrivlo"  # the saved test on disk
KEY_FILE = "skrivlo-noegle.txt"  # the working folder's class key, wrapped under the password
PC_FILE = "skrivlo-pc.txt"  # the name this working folder goes by in the class folder; kept
CLASS_TESTS_TITLE = "Ufærdige test i klassemappen"
PICK_TEST_TITLE = "Fortsæt en test fra en anden pc"
MOVED_TITLE = "Testen er fortsat på en anden pc"
RECORDINGS_TITLE = "Optagelser mangler"
GUIDE_TITLE = "Vejledning til læreren"


def pc_name(workdir):
    with open(os.path.join(workdir, PC_FILE), encoding="ascii") as f:
        return f.read().strip()


def saved_test(workdir, password=PASSWORD):
    """The working folder's saved test opened with the key its own key line gives, as JSON;
    None when there is none, or when it does not open."""
    import sealed  # libsodium only for the journeys that open files
    if not os.path.exists(os.path.join(workdir, RECOVERY_SEALED)):
        return None
    with open(os.path.join(workdir, KEY_FILE), encoding="latin-1") as f:
        key = sealed.unwrap(f.read(), password)
    check(key, "the password does not open %s" % KEY_FILE)
    plain = sealed.opened(workdir, RECOVERY_FILE, {sealed.key_id(key): key})
    return None if plain is None else json.loads(plain.decode("utf-8"))


def start(journey, workdir, sound=False, argv=None):
    """Starts skrivlo (or argv) and waits for the access dialog; returns (program, dialog window)."""
    program = journey.launch(workdir, sound=sound, argv=argv)
    dialog = journey.wait_window(ACCESS_TITLE)
    return program, dialog


def unlock(journey, workdir, sound=False, argv=None):
    """Starts skrivlo and the teacher types the password; returns the program with the
    welcome page up."""
    program, _ = start(journey, workdir, sound, argv)
    return unlock_started(journey, program)


def unlock_started(journey, program, recordings_notice=False, main_title=MAIN_TITLE, timeout=15):
    journey.wait_window(ACCESS_TITLE, timeout)
    # Shown is not yet typed into: under load the window manager hands over the keyboard later.
    journey.wait_active(ACCESS_TITLE, timeout)
    journey.type(PASSWORD)
    journey.key("Return")
    if recordings_notice:
        # Missing or broken recordings: the teacher reads the list and goes on (Alt+F).
        journey.wait_window(RECORDINGS_TITLE)
        journey.shot("recordings-notice")
        journey.key("alt+f")
        journey.wait_window_gone(RECORDINGS_TITLE)
    journey.wait_window(main_title, timeout)
    if main_title == MAIN_TITLE:
        journey.wait_page("guide", timeout)
    return program


def click_arrow(journey, screen=None):
    screen = screen or journey.grab()
    arrow = screen.arrow()
    check(arrow, "no green arrow on the page")
    journey.click_centre(arrow)


def next_page(journey, expect, screen=None):
    """Clicks the green arrow and waits for the page that must follow."""
    click_arrow(journey, screen)
    return journey.wait_page(expect)


def fill_details(journey, details):
    """Fills the form as a learner who skips the required fields at first: each "Ups!" box
    puts the cursor into the field it asks for, and the learner types there. So the order
    of the boxes decides where name, address and year of birth end up in the report.
    details: the nine values in page order; the date is left as the form has it."""
    date, place, name, address, born, school, exam, education, job = details
    check(date is None, "the date is the form's own")
    journey.type(place)  # the cursor starts in the place-of-teaching field
    for value in (name, address, born):
        click_arrow(journey)
        journey.wait_window("Ups!")
        journey.key("Return")
        journey.wait_window_gone("Ups!")
        journey.type(value)
    journey.type("".join("\n" + value for value in (school, exam, education, job)))


def fill_form(journey, values):
    """Fills the form from the place of teaching on, moving down with Return.
    values: place, name, address, year of birth, school years, exam, education, job."""
    check(len(values) == 8, "the form has eight fields after the date")
    journey.type("\n".join(values))


def through_the_form(journey, workdir, values, sound=False, argv=None):
    """Unlocks, fills the form with fill_form's values and leaves it; returns the program
    with the first help page up."""
    program = unlock(journey, workdir, sound=sound, argv=argv)
    next_page(journey, "form")
    fill_form(journey, values)
    next_page(journey, "guide")
    return program


def to_results_after_dictation1(journey, values, answers):
    """From the welcome page: the form with fill_form's values, Dictation 1 answered and handed
    in, on to the results page (fewer than 18 right: Trin 1) and its reminder closed."""
    next_page(journey, "form")
    fill_form(journey, values)
    next_page(journey, "guide")
    next_page(journey, "dictation1")
    answer(journey, answers)
    hand_in(journey, "results")
    close_reminder(journey)


def answer(journey, answers):
    """Types each answer into its field and presses Enter, which moves on to the next word.
    One stream of keys, as a quick typist gives it: the focus must keep up with Enter."""
    journey.type("".join(text + "\n" for text in answers))


def answer_watching(journey, answers, within=1.0):
    """Like answer, but each typed word must show in its own field within `within` seconds,
    so a page that stalls on a recording after Enter fails at once. Returns the slowest."""
    boxes = journey.grab().fields(80, 120)
    check(len(boxes) == len(answers), "%d fields on screen for %d answers" % (len(boxes), len(answers)))
    slowest = 0.0
    for box, text in zip(boxes, answers):
        journey.type(text)
        typed = time.monotonic()
        journey.until(lambda: journey.grab().ink(box) > 30, within,
                      "%r to show in its field (the page stopped answering)" % text, interval=0.05)
        slowest = max(slowest, time.monotonic() - typed)
        journey.key("Return")
    return slowest


def hand_in(journey, expect, title="Advarsel!"):
    """Green arrow, then "Ja" in the confirmation box (it has the focus, so Return)."""
    click_arrow(journey)
    journey.wait_window(title)
    journey.wait_active(title)
    journey.key("Return")
    journey.wait_window_gone(title)
    return journey.wait_page(expect)


def confirm(journey, title, activate=False):
    """Return in a message box: "Ja" or OK, which have the focus. A box that comes up by
    itself while the learner types (activate) is given the keyboard first, as a click would."""
    window = journey.wait_window(title)
    if activate:
        journey.tool("xdotool", "windowactivate", "--sync", str(window))
    journey.wait_active(title)
    journey.key("Return")
    journey.wait_window_gone(title)


def close_reminder(journey):
    """The "Vigtigt!" box over the results page: the learner clicks it away with OK."""
    confirm(journey, "Vigtigt!")


def scroll_to_arrow(journey, timeout=10):
    """Dictation 2 is taller than the screen: the wheel brings the green arrow into view,
    and a few more turns to the end of the page bring all of it."""
    screen = journey.grab()
    x = (screen.page[0] + screen.page[2]) // 2
    end = time.monotonic() + timeout
    while not screen.arrow():
        check(time.monotonic() < end, "the green arrow of Dictation 2 never scrolled into view")
        journey.tool("xdotool", "mousemove", str(x), "500", "click", "--repeat", "5", "5")
        screen = journey.grab()
    journey.tool("xdotool", "mousemove", str(x), "500", "click", "--repeat", "10", "5")
    return journey.grab()


def quit(journey, program):
    """The teacher closes the full-screen window (the program has no button of its own);
    before the results page that takes the password."""
    journey.key("alt+F4")
    journey.until(lambda: not program.running() or journey.window_shown(END_TITLE), 15,
                  "the program to end or to ask for the password")
    if program.running():
        end_test(journey, PASSWORD, pressed=True)
    status = program.wait_exit(15)
    check(status == 0, "closing the main window gave exit status %s" % status)


def end_test(journey, password, pressed=False, right=None):
    """Alt+F4 during the test, and the teacher types a password into the box that asks;
    right says whether it opens (by default: when it is the fixed one)."""
    if not pressed:
        journey.key("alt+F4")
    journey.wait_window(END_TITLE)
    journey.wait_active(END_TITLE)
    journey.type(password)
    journey.key("Return")
    if not (password == PASSWORD if right is None else right):
        # A wrong one is said so before the test comes back.
        journey.wait_window(WRONG_PASSWORD_TITLE)
        journey.key("Return")
        journey.wait_window_gone(WRONG_PASSWORD_TITLE)
        journey.wait_window_gone(END_TITLE)
        journey.wait_active(MAIN_TITLE)
    else:
        journey.wait_window_gone(END_TITLE)


def unlock_recovered(journey, workdir, choice, argv=None):
    """Starts skrivlo on a folder with an unfinished test; after the password the teacher
    answers the offer with "Fortsæt" (the default, Return) or "Start forfra"."""
    program = journey.launch(workdir, argv=argv)
    journey.wait_window(ACCESS_TITLE)
    journey.type(PASSWORD)
    journey.key("Return")
    journey.wait_window(RECOVERY_TITLE)
    journey.shot("recovery-offer")
    journey.key("Return" if choice == "Fortsæt" else "Tab", *([] if choice == "Fortsæt" else ["space"]))
    journey.wait_window_gone(RECOVERY_TITLE)
    journey.wait_window(MAIN_TITLE)
    return program


def unlock_class_test(journey, workdir, argv):
    """Starts skrivlo on a PC with no test of its own; after the password the teacher is
    offered the unfinished tests in the class folder, presses »Vælg en test...« (not the
    default: Tab from »Ny test«, then space) and takes the first test in the list."""
    program = journey.launch(workdir, argv=argv)
    journey.wait_window(ACCESS_TITLE)
    journey.type(PASSWORD)
    journey.key("Return")
    journey.wait_window(CLASS_TESTS_TITLE)
    journey.shot("class-tests-offer")
    journey.key("Tab", "space")
    journey.wait_window_gone(CLASS_TESTS_TITLE)
    journey.wait_window(PICK_TEST_TITLE)
    journey.shot("pick-a-test")
    journey.key("Return")
    journey.wait_window_gone(PICK_TEST_TITLE)
    journey.wait_window(MAIN_TITLE)
    return program


def save_pdf(journey, typed_name, shot=None):
    """PDF button, then the file name typed into the save dialog and Return; with shot, a
    screenshot of the dialog by that name."""
    screen = journey.grab()
    icon = screen.pdf_icon()
    check(icon, "no PDF button on the results page")
    journey.click_centre(icon)
    journey.wait_window("Gem resultater som PDF-fil")
    if shot:
        journey.shot(shot)
    journey.key("ctrl+a")  # over the suggested name
    journey.type(typed_name)
    journey.key("Return")
    journey.wait_window_gone("Gem resultater som PDF-fil")
