"""A class folder as the program leaves it: its class key wrapped under the password, and each
learner's data file and report sealed with that key under a name without the learner's name,
made here so journeys and the benchmark can seed a class of any size. A learner written before
the folder was sealed (plain files named after the learner) can be made too."""

import json
import os

import learner
import oracle
import sealed

PC = "LAB03-5e1f0a"


def level(d1, d2, finished):
    if not finished:
        return 0
    return 1 if d2 is None else oracle.level(sum(d2))


def report(name, d1, d2, finished):
    """A report as the program writes it (model/reporttext.cpp), up to where the learner got."""
    html = ('<!DOCTYPE HTML PUBLIC "-//W3C//DTD HTML 4.01//EN" "http://www.w3.org/TR/html4/strict.dtd">\n\n'
            "<html>\n\n<head>\n<title>Resultater</title>\n"
            '<meta http-equiv="Content-Type" content="text/html; charset=UTF-8">\n'
            "</head>\n\n<body>\n\n<h2><u>Diktat til trinindplacering</u></h2>\n\n<p>\n<small>\n"
            "Dato: 1/12-2026<br>\nUndervisningssted: Sprogcenter Øst<br>\nNavn: %s<br>\nAdresse: Vej 1<br>\n"
            "Fødselsår: 1984<br>\nAntal år i folkeskole: <br>\nStudentereksamen: <br>\nUddannelse: <br>\n"
            "Jobs: \n</small>\n\n" % name.replace("&", "&amp;").replace("<", "&lt;"))
    end = "\n</small>\n\n</body>\n</html>\n"
    if d1 >= 0:
        html += "<h3>Diktat 1 [03:10]</h3>\n\n<p>\n<small>\n%s.\n</small>\n\n<p>\n<small>\n" % ", ".join(["ord"] * 20)
        html += '<font color="blue"><b>Total: %d</b></font>' % d1
        html += "\n</small>\n\n" if d1 >= 18 else "<br>\nTrin 1" + end
    if d2:
        html += "<h3>Diktat 2 [09:55]</h3>\n\n<p>\n<small>\n<table border=\"1\" cols=\"3\" rows=\"22\">\n<tr>\n"
        html += "<td><b>Kontekstbetingede<br>stavemønstre</b></td><td><b>Etymologiske<br>stavemønstre</b></td>"
        html += "<td><b>Morfologiske<br>stavemønstre</b></td>\n</tr>\n<tr>\n"
        html += "".join("<td><b>%d</b></td>" % c for c in d2) + "\n</tr>\n</table>\n</small>\n\n<p>\n<small>\n"
        html += '<font color="blue"><b>Total: %d</b></font><br>\nTrin %d' % (sum(d2), oracle.level(sum(d2))) + end
    if not finished:
        if html.endswith("</body>\n</html>\n"):
            html = html[:-len("</body>\n</html>\n")]
        html += "<p>\n<small>\n<b>Testen blev ikke afsluttet.</b>\n</small>\n\n</body>\n</html>\n"
    return html


def class_key(folder, password=learner.PASSWORD, cost=sealed.TEST_COST):
    """A new class key, its line wrapped under the password and published in the folder as a
    PC publishes its own; returns the key."""
    key = sealed.new_key()
    line = sealed.wrap(key, password, cost)
    path = os.path.join(folder, sealed.published_name(line))
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="latin-1") as f:
        f.write(line + "\n")
    return key


def hand_in(folder, name, started, d1, d2, finished, key=None, pc=PC):
    """One learner's data file and report; started is "2026-12-01T09:00:05". Sealed with key
    under "<pc> <8 hex>", or with no key in the clear under the date and the name, as before
    sealing. Returns the stem."""
    if key:
        stem = "%s %s" % (pc, os.urandom(4).hex())
    else:
        stem = started[:10] + " " + started[11:16].replace(":", ".") + " " + name
    data = {"format": "skrivlo-kursist", "version": 1, "started": started, "pc": pc,
            "place": "Sprogcenter Øst", "name": name, "birthYear": "1984",
            "dictation1": d1 if d1 >= 0 else None, "dictation2": list(d2) if d2 else None,
            "dictation2Total": sum(d2) if d2 else None,
            "trin": level(d1, d2, finished) if finished else None, "finished": finished,
            "report": stem + ".html"}
    files = {stem + ".json": json.dumps(data, ensure_ascii=False, indent=4).encode("utf-8"),
             stem + ".html": report(name, d1, d2, finished).encode("utf-8")}
    for plain, contents in files.items():
        if key:
            plain, contents = plain + sealed.SUFFIX, sealed.seal(key, plain, contents)
        with open(os.path.join(folder, plain), "wb") as f:
            f.write(contents)
    return stem


def seed_class(folder, count, cost=sealed.TEST_COST):
    """count sealed learners, a quarter at each Trin from Dictation 2 and every tenth not
    finished; the class key wrapped at cost (passes, KiB)."""
    os.makedirs(folder, exist_ok=True)
    key = class_key(folder, cost=cost)
    for i in range(count):
        d2 = ((i * 7) % 21, (i * 11) % 21, (i * 13) % 21)
        hand_in(folder, "Kursist %04d Ærø" % i, "2026-%02d-%02dT%02d:%02d:%02d" % (
            1 + i % 12, 1 + i % 28, 8 + i % 9, i % 60, (i * 7) % 60), 20, d2, i % 10 != 0, key)
