#pragma once

#include <QDateTime>
#include <QString>

// Names of the files kept for each learner in the archive folder.
namespace LearnerFileName {

// The subfolder of the results folder that holds every learner's report and the overview.
QString folderName();

// The learner's name as part of a file name: what Windows or Linux refuse replaced by "_",
// blanks run together, no dot or blank at the end; empty when nothing of the name is left.
QString safeName(const QString &learnerName);

// "2026-12-07 14.23 Åse Ørnsø": start time and name, with what Windows or Linux refuse in a
// file name replaced, blanks run together, no dot or blank at the end, and short enough that
// the whole name with a counter and ".html" stays within 255 bytes.
QString stem(const QDateTime &started, const QString &learnerName);

// stem + ".html", or with " (2)", " (3)" ... for the n-th learner of the same name and minute.
QString withCounter(const QString &stem, int n);

// The first of withCounter(stem, 1, 2, ...) that is not yet taken in folder.
QString unused(const QString &folder, const QString &stem);

} // namespace LearnerFileName
