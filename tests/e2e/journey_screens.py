"""The whole test by keyboard alone on one classroom screen size (the variant, "1024x768"),
at each scaling a learner may have: Qt's scale factors 1, 1.25 and 1.5 and system text at
120 dpi. On every page the window must cover exactly the screen, as the X server has it,
and the focused button or field must show its whole focus ring on the screen, so the page
scrolls to whatever the learner reaches by Tab. Each page is kept as a screenshot; the
report must come out byte for byte as at any other size."""

import datetime
import sys

import learner
import oracle
from harness import Journey, check

SCALINGS = [
    ("scale1", {}),
    ("scale1.25", {"QT_SCALE_FACTOR": "1.25"}),
    ("scale1.5", {"QT_SCALE_FACTOR": "1.5"}),
    ("dpi120", {"QT_FONT_DPI": "120"}),
]
FORM = ["Sprogcenter Syd", "Åse Ørnebæk", "Havnegade 3", "1988", "", "", "", ""]
ANSWERS_18 = ["kørte", "fint", "solen", "talt", "gammel", "læst", "hele", "prøve", "fire", "døren",
              "glas", "lavet", "", "stor", "hane", "gåsevin", "symbol", "løven", "fine", "rene"]
# Tab stops after the last question: the loudspeaker, the arrow.
TABS_TO_FORM_ARROW = 2


class Walk:
    def __init__(self, j, label):
        self.j = j
        self.label = label
        self.window = None
        self.ring = None

    def focus_moves(self, *keys, what):
        """Presses the keys and waits until the focus ring stands whole somewhere new."""
        before = self.ring
        if keys:
            self.j.key(*keys)

        def moved():
            ring = self.j.grab().focus_ring()
            return ring if ring and ring != before else None

        try:
            self.ring = self.j.until(moved, 10, "the focus ring on %s" % what, interval=0.15)
        except TimeoutError:
            raise AssertionError("%s: no whole focus ring on %s (cut off or off the screen)"
                                 % (self.label, what))
        return self.ring

    def on_page(self, page):
        """The window is the screen (the focus ring, whole in the screenshot, says the focused
        widget is on it); keep a screenshot. The window manager may still be making the newly
        shown window full screen."""
        seen = []
        try:
            self.j.until(lambda: seen.append(self.j.geometry(self.window)) or seen[-1] == (0, 0) + self.j.screen,
                         5, "a full-screen window")
        except TimeoutError:
            raise AssertionError("%s, %s: the window is %s on the %s screen"
                                 % (self.label, page, seen[-1], self.j.screen))
        self.j.shot("%s-%s" % (self.label, page))


def walk(j, label, env):
    j.program_env = env
    workdir = j.workdir(label)
    program, _ = learner.start(j, workdir)
    w = Walk(j, label)
    j.type(learner.PASSWORD)
    j.key("Return")
    w.window = j.wait_window(learner.MAIN_TITLE)

    w.focus_moves(what="the welcome page's loudspeaker")
    w.on_page("welcome")
    w.focus_moves("Tab", what="the welcome page's arrow")
    w.on_page("welcome-arrow")

    w.focus_moves("Return", what="the place of teaching")
    w.on_page("form")
    learner.fill_form(j, FORM)
    w.focus_moves(*["Tab"] * TABS_TO_FORM_ARROW, what="the form's arrow")
    w.on_page("form-arrow")

    w.focus_moves("Return", what="the loudspeaker of help 1")
    for number, first_word in ((1, "word 1"), (2, "word 21")):
        w.on_page("help%d" % number)
        w.focus_moves("Tab", what="the arrow of help %d" % number)
        w.focus_moves("Return", what=first_word)
        w.on_page("dictation%d" % number)
        if number == 1:
            learner.answer(j, ANSWERS_18)
        # Back from the first word is the arrow, at the end of the story.
        w.focus_moves("shift+Tab", what="the arrow of dictation %d" % number)
        w.on_page("dictation%d-arrow" % number)
        j.key("Return")
        learner.confirm(j, "Advarsel!")
        w.ring = None
        if number == 1:
            w.focus_moves(what="the loudspeaker of help 2")

    learner.close_reminder(j)
    w.focus_moves("Tab", what="the PDF button")
    w.on_page("results")

    details = [oracle.date_text(datetime.date.today())] + FORM
    section1, right = oracle.dictation1(ANSWERS_18)
    check(right == 18, "the answers were meant to hold 18 right words, not %d" % right)
    section2, _, _ = oracle.dictation2([""] * 60)
    actual = oracle.without_stamps(program.report().decode("utf-8"))
    expected = oracle.header(details) + section1 + section2
    check(actual == expected, "%s: results.html differs:\n--- expected\n%s\n--- actual\n%s"
          % (label, expected, actual))
    learner.quit(j, program)


def journey(j):
    for name, env in SCALINGS:
        walk(j, "%dx%d-%s" % (j.screen + (name,)), env)


if __name__ == "__main__":
    j = Journey("screens", deadline=420)
    j.screen = tuple(int(n) for n in j.variant.split("x"))
    sys.exit(j.run(journey))
