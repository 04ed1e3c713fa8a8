#pragma once

#include "model/resultrow.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QVector>

// One learner as the teacher's view lists it: the row, and where its files are.
struct ClassEntry
{
    enum State {
        Handed,     // in the class folder
        Waiting,    // only in this PC's outbox so far
        Unreadable  // a damaged or foreign file; problem says why
    };
    QString stem;        // the learner's files are <stem>.json and <stem>.html
    State state = Handed;
    ResultRow row;       // for an unreadable file only reportName is set
    QString problem;
    QString reportPath;  // empty when there is no report to open
    QString dataPath;
};

// Lists the class folder and the outbox, reading each learner's data file (or, for results
// kept before there were data files, the report). Files already read are read again only
// when their size or time changed, so polling a share of 500 learners costs one directory
// listing. Used from one thread at a time.
class ClassListing
{
public:
    struct Result
    {
        bool reachable = true;
        QString problem; // why the class folder could not be listed
        QVector<ClassEntry> entries;
    };

    ClassListing(const QString &classFolder, const QString &outbox);

    Result scan();

    QString classFolder() const { return folder; }
    QString outbox() const { return outboxFolder; }

    // Removes the learner's report and data file from the class folder and the outbox.
    // Refused, with a Danish reason, when the class folder cannot be reached or is read-only.
    // A learner already gone (deleted on another PC) is no failure.
    static bool remove(const QString &classFolder, const QString &outbox, const QString &stem, QString *reason);

private:
    struct Cached
    {
        qint64 size = -1;
        QDateTime modified;
        ClassEntry entry;
    };

    QVector<ClassEntry> list(const QString &dir, ClassEntry::State state, bool *reachable);
    ClassEntry read(const QString &dir, const QString &stem, bool hasData, bool hasReport, ClassEntry::State state);

    const QString folder;
    const QString outboxFolder;
    QHash<QString, Cached> cache; // by the path of the file read
};
