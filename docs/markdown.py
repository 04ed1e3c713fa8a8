#!/usr/bin/env python3
"""Turns the teacher's guide from Markdown into one HTML page, at build time.

Only what the guide uses: headings (each with an anchor named after it), paragraphs, lists
(- and 1.), tables, pictures on a line of their own, ``` blocks, **bold**, `code` and
[links](url). Usage: markdown.py IN.md OUT.html
"""

import html
import re
import sys


def inline(text):
    text = html.escape(text, quote=False)
    text = re.sub(r"!\[([^\]]*)\]\(([^)\s]+)\)", r'<img src="\2" alt="\1">', text)
    text = re.sub(r"\[([^\]]+)\]\(([^)\s]+)\)", r'<a href="\2">\1</a>', text)
    text = re.sub(r"\*\*(.+?)\*\*", r"<b>\1</b>", text)
    text = re.sub(r"`([^`]+)`", r"<code>\1</code>", text)
    return text


def anchor(title):
    """A heading's name in a link: "Klassens resultater" -> "klassens-resultater"."""
    plain = title.lower().replace("æ", "ae").replace("ø", "oe").replace("å", "aa").replace("é", "e")
    return re.sub(r"[^a-z0-9]+", "-", plain).strip("-")


def cells(line):
    return [c.strip() for c in line.strip().strip("|").split("|")]


def convert(lines):
    out, paragraph, title = [], [], None
    i = 0

    def flush():
        if paragraph:
            out.append("<p>%s</p>" % inline(" ".join(paragraph)))
            paragraph.clear()

    while i < len(lines):
        line = lines[i].rstrip("\n")
        heading = re.match(r"(#{1,3}) (.*)", line)
        item = re.match(r"(-|\d+\.) (.*)", line)
        if line.startswith("```"):
            flush()
            block = []
            i += 1
            while i < len(lines) and not lines[i].startswith("```"):
                block.append(html.escape(lines[i].rstrip("\n"), quote=False))
                i += 1
            out.append("<pre>%s</pre>" % "\n".join(block))
        elif not line.strip():
            flush()
        elif heading:
            flush()
            level = len(heading.group(1))
            title = title or heading.group(2)
            # An anchor of its own, so the program can open the guide at a section.
            out.append('<h%d><a name="%s"></a>%s</h%d>' % (level, anchor(heading.group(2)), inline(heading.group(2)), level))
        elif item and not paragraph:
            tag = "ul" if item.group(1) == "-" else "ol"
            out.append("<%s>" % tag)
            while i < len(lines) and re.match(r"(-|\d+\.) ", lines[i]):
                text = re.match(r"(?:-|\d+\.) (.*)", lines[i]).group(1)
                # An item may go on over indented lines.
                while i + 1 < len(lines) and lines[i + 1].startswith("  ") and lines[i + 1].strip():
                    i += 1
                    text += " " + lines[i].strip()
                out.append("<li>%s</li>" % inline(text))
                i += 1
            out.append("</%s>" % tag)
            continue
        elif line.startswith("|") and i + 1 < len(lines) and re.match(r"\|[-| :]+\|\s*$", lines[i + 1]):
            flush()
            out.append('<table border="1" cellpadding="4" cellspacing="0">')
            out.append("<tr>%s</tr>" % "".join("<th>%s</th>" % inline(c) for c in cells(line)))
            i += 2
            while i < len(lines) and lines[i].startswith("|"):
                out.append("<tr>%s</tr>" % "".join("<td>%s</td>" % inline(c) for c in cells(lines[i])))
                i += 1
            out.append("</table>")
            continue
        elif re.match(r"!\[[^\]]*\]\([^)]+\)\s*$", line.strip()):
            flush()
            out.append("<p>%s</p>" % inline(line.strip()))
        else:
            paragraph.append(line.strip())
        i += 1
    flush()
    return title or "", out


def main():
    source, target = sys.argv[1], sys.argv[2]
    with open(source, encoding="utf-8") as f:
        title, body = convert(f.readlines())
    page = ['<!DOCTYPE html>', '<html lang="da">', '<head>', '<meta charset="utf-8">',
            "<title>%s</title>" % html.escape(title), "</head>", "<body>"] + body + ["</body>", "</html>", ""]
    with open(target, "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(page))


if __name__ == "__main__":
    main()
