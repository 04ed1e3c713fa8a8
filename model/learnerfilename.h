#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

// Names of the files kept for each learner in the class folder.
namespace LearnerFileName {

// The class folder's name in the working folder, where no other is set.
QString folderName();

// The learner's name as part of a file name: what Windows or Linux refuse replaced by "_",
// blanks run together, no dot or blank at the end; empty when nothing of the name is left.
QString safeName(const QString &learnerName);

// "2026-12-07 14.23.07 Åse Ørnsø [LAB07-3f9a2c]": start time to the second, name and the PC,
// with what Windows or Linux refuse in a file name replaced, blanks run together, no dot or
// blank at the end of the name, and short enough that the whole name with a counter and
// ".html" stays within 255 bytes. The PC and the second keep it unique in a class folder
// shared by many PCs, also where case is ignored ("åse" and "Åse" are one name on SMB).
QString stem(const QDateTime &started, const QString &learnerName, const QString &pc = QString());

// "LAB07-3f9a2c 5d1e0a77": the PC and a random id, and nothing of the learner, since every
// learner of the class sees the class folder's names. The id names the learner's files from
// then on.
QString anonymousStem(const QString &pc, const QString &id);

// The learner's data file beside the report: the same stem with ".json".
QString dataName(const QString &reportName);

// stem + ".html", or with " (2)", " (3)" ... for the n-th learner of the same name and minute.
QString withCounter(const QString &stem, int n);

} // namespace LearnerFileName
