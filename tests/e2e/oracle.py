"""What a teacher expects to read in results.html, written out from the report's format
rules and our own copy of the answer keys. Nothing here asks the program how to judge or
how to write, so a fault there cannot hide behind the same fault in the test."""

import re

# Dictation 1: every word judged case-sensitively.
DICTATION1 = [
    "kørte", "fint", "solen", "talt", "gamle", "læst", "hele", "prøve", "fire", "døren",
    "glas", "lavet", "stole", "stor", "hane", "gåsevin", "symbol", "løven", "fine", "rene",
]

# Dictation 2, fields 21 to 80 in reading order, with their spelling category:
# K context-dependent, E etymological, M morphological (the report's columns 1, 2, 3).
DICTATION2 = [
    ("ankom", "M"), ("eftermiddag", "M"), ("tjekkede", "E"), ("hotellet", "K"),
    ("sightseeing", "E"), ("første", "M"), ("renæssancebygning", "E"), ("etager", "E"),
    ("rigeste", "M"), ("byggede", "M"), ("provokation", "E"), ("borgerskab", "M"),
    ("nemlig", "K"), ("tilladt", "K"), ("borgerlige", "M"), ("konstruerede", "E"),
    ("venner", "K"), ("daværende", "M"), ("fjerde", "K"), ("bestandigt", "K"),
    ("penge", "K"), ("svenskerne", "M"), ("flink", "K"), ("gerne", "K"),
    ("formue", "K"), ("sendte", "M"), ("arkitekt", "E"), ("imponerende", "M"),
    ("hjørnet", "K"), ("sydgavl", "K"), ("dekorationer", "E"), ("udfordring", "M"),
    ("blandt", "K"), ("grotesk", "E"), ("tunge", "K"), ("ligger", "K"),
    ("provokere", "E"), ("accepteret", "E"), ("kontroversiel", "E"), ("excentrisk", "E"),
    ("spændende", "M"), ("bygningsværk", "M"), ("kælderen", "M"), ("restaurant", "E"),
    ("Danmarks", "K"), ("ansete", "M"), ("hjemme", "M"), ("nærmede", "M"),
    ("straks", "K"), ("egetræsbord", "M"), ("optaget", "M"), ("oldermanden", "K"),
    ("dekorativ", "E"), ("bordenden", "K"), ("rundt", "K"), ("ceremonier", "E"),
    ("elegante", "E"), ("arrangementet", "E"), ("burgere", "E"), ("attraktioner", "E"),
]
FIRST_LETTER_FREE = {39}  # "Christian den Fjerde" may be written with a capital
DICTATION2_WORDS = {21 + i: word for i, (word, _) in enumerate(DICTATION2)}
D1_MAX_LENGTH = 12
D2_MAX_LENGTH = 20

STAMP = "[\u2039mm:ss\u203a]"  # stands in for a time stamp when reports are compared

HEAD = (
    '<!DOCTYPE HTML PUBLIC "-//W3C//DTD HTML 4.01//EN" "http://www.w3.org/TR/html4/strict.dtd">\n\n'
    "<html>\n\n"
    "<head>\n"
    "<title>Resultater</title>\n"
    '<meta http-equiv="Content-Type" content="text/html; charset=UTF-8">\n'
    "</head>\n\n"
    "<body>\n\n"
    "<h2><u>Diktat til trinindplacering</u></h2>\n\n"
    "<p>\n<small>\n"
)
DETAIL_LABELS = [
    "Dato: ", "Undervisningssted: ", "Navn: ", "Adresse: ", "Fødselsår: ",
    "Antal år i folkeskole: ", "Studentereksamen: ", "Uddannelse: ", "Jobs: ",
]
END = "\n</small>\n\n</body>\n</html>\n"


def escaped(text):
    """The learner's text as the report must carry it: & < > " as entities."""
    return (text.replace("&", "&amp;").replace("<", "&lt;")
            .replace(">", "&gt;").replace('"', "&quot;"))


def as_typed(text, max_length):
    """What a field holds after the learner typed text: a line edit takes no more."""
    return text[:max_length]


def is_right(answer, correct, first_letter_free=False):
    a = answer.strip(" ")
    if not a:
        return False
    if first_letter_free:
        return a[0].lower() == correct[0].lower() and a[1:] == correct[1:]
    return a == correct


def entry(answer, correct, first_letter_free=False):
    shown = answer.strip(" ") or "-"
    if is_right(answer, correct, first_letter_free):
        return '<font color="green">' + escaped(shown) + "</font>"
    return escaped(shown) + "&nbsp;(" + correct + ")"


def header(details):
    """Stage 1. details: the nine form values as typed, in page order."""
    assert len(details) == 9
    text = HEAD
    for i, (label, value) in enumerate(zip(DETAIL_LABELS, details)):
        text += label + escaped(value) + ("<br>\n" if i < 8 else "\n</small>\n\n")
    return text


def dictation1(answers):
    """Stage 2 from the 20 typed answers; the time stamp is left as STAMP."""
    assert len(answers) == 20
    typed = [as_typed(a, D1_MAX_LENGTH) for a in answers]
    right = sum(is_right(a, w) for a, w in zip(typed, DICTATION1))
    text = "<h3>Diktat 1 " + STAMP + "</h3>\n\n<p>\n<small>\n"
    text += ", ".join(entry(a, w) for a, w in zip(typed, DICTATION1)) + "."
    text += '\n</small>\n\n<p>\n<small>\n<font color="blue"><b>Total: %d</b></font>' % right
    text += "\n</small>\n\n" if right >= 18 else "<br>\nTrin 1" + END
    return text, right


def level(total):
    if total > 50:
        return 4
    if total > 37:
        return 3
    if total >= 22:
        return 2
    return 1


def dictation2(answers):
    """Stage 3 from the 60 typed answers (fields 21 to 80)."""
    assert len(answers) == 60
    columns = {"K": [], "E": [], "M": []}
    for i, ((word, category), answer) in enumerate(zip(DICTATION2, answers)):
        free = (21 + i) in FIRST_LETTER_FREE
        typed = as_typed(answer, D2_MAX_LENGTH)
        columns[category].append((entry(typed, word, free), is_right(typed, word, free)))
    assert all(len(c) == 20 for c in columns.values())
    order = [columns["K"], columns["E"], columns["M"]]
    text = "<h3>Diktat 2 " + STAMP + "</h3>\n\n"
    text += '<p>\n<small>\n<table border="1" cols="3" rows="22">\n'
    text += ("<tr>\n<td><b>Kontekstbetingede<br>stavemønstre</b></td>"
             "<td><b>Etymologiske<br>stavemønstre</b></td>"
             "<td><b>Morfologiske<br>stavemønstre</b></td>\n</tr>\n")
    for row in range(20):
        text += "<tr>\n" + "".join("<td>" + col[row][0] + "</td>" for col in order) + "\n</tr>\n"
    counts = [sum(right for _, right in col) for col in order]
    text += "<tr>\n" + "".join("<td><b>%d</b></td>" % c for c in counts)
    text += "\n</tr>\n</table>\n</small>\n\n<p>\n<small>\n"
    total = sum(counts)
    text += '<font color="blue"><b>Total: %d</b></font><br>\n' % total
    text += "Trin %d" % level(total) + END
    return text, total, counts


# Whole hours are dropped, so a stamp is always two digits each side, 00:00 to 59:59.
STAMP_IN_REPORT = re.compile(r"<h3>Diktat ([12]) \[([0-5]\d):([0-5]\d)\]</h3>")


def stamps(report):
    """{dictation: elapsed seconds} read from the section headings."""
    found = {}
    for m in STAMP_IN_REPORT.finditer(report):
        minutes, seconds = int(m.group(2)), int(m.group(3))
        found[int(m.group(1))] = minutes * 60 + seconds
    return found


def without_stamps(report):
    return STAMP_IN_REPORT.sub(lambda m: "<h3>Diktat %s %s</h3>" % (m.group(1), STAMP), report)


def date_text(day):
    """The details form's date: day/month-year without leading zeros."""
    return "%d/%d-%d" % (day.day, day.month, day.year)
