#pragma once

#include <QString>

class QWidget;

// "Vejledning til læreren": the guide installed beside the program, shown in a window of its
// own over the one that asked (F1 or "Hjælp").
namespace TeacherGuide {

// The guide's HTML file: installed beside the program, else the build's; empty when neither
// is there.
QString path();

// Shows the guide, or raises it when it is already open over parent, at the section named
// (its heading's anchor, as docs/markdown.py writes it: "klassens-resultater"), else at the
// top. When the guide is missing, says so and where it was looked for. False then.
bool open(QWidget *parent, const QString &section = QString());

} // namespace TeacherGuide
