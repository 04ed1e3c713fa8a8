#pragma once

#include "model/resultrow.h"
#include "sealing/keyring.h"

#include <QDateTime>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>

// One learner as the teacher's view lists it: the row, and where its files are.
struct ClassEntry
{
    enum State {
        Handed,     // in the class folder
        Waiting,    // only in this PC's outbox so far
        Unreadable  // changed, damaged, foreign or sealed with a key not known; problem says why
    };
    QString stem;        // the learner's files are <stem>.json and <stem>.html, sealed or not
    State state = Handed;
    bool unsealed = false; // in the clear, as written before the class folder was sealed
    ResultRow row;       // for an unreadable file only reportName is set
    QString problem;
    QString reportPath;  // empty when there is no report to open
    QString dataPath;
};

// Lists the class folder and the outbox, opening each learner's sealed data file (or, for
// results kept before there were data files, the report) with the class keys the teacher's
// password opens. Files already read are read again only when their size or time changed, as
// the directory listing gives them, so polling a share of 5,000 learners costs one listing. scan() runs on one thread at
// a time; the rest may be called from another.
class ClassListing
{
public:
    // What opens the class folder: the password the teacher typed, the key lines known on
    // this PC (the settings', the working folder's), and the teacher's own keyring folder,
    // where every key that opened is kept (empty: none).
    struct Keys
    {
        QString password;
        QStringList lines;
        QString keyringFolder;
    };

    struct Result
    {
        bool reachable = true;
        QString problem; // why the class folder could not be listed
        QVector<ClassEntry> entries;
        int unsealed = 0; // learners whose files are still in the clear
        QStringList resolved; // the class folder and the outbox by their real place, for a PDF kept out
    };

    ClassListing(const QString &classFolder, const QString &outbox, const Keys &keys = Keys());

    Result scan();

    QString classFolder() const { return folder; }
    QString outbox() const { return outboxFolder; }
    Keyring keys() const;

    // The learner's report, opened, as HTML. False, with a Danish reason, when it is gone,
    // changed or cannot be read.
    bool openReport(const ClassEntry &entry, QString *html, QString *reason) const;

    // Seals the learners' files that are still in the clear in the class folder under new
    // names that hold no name (with a data file, also for a result that had only its report),
    // reads each back, and only then removes the plain files; the overview of before
    // (oversigt.csv), made from them, goes too. Returns how many learners were sealed; reason
    // lists what could not be.
    int sealUnsealed(QString *reason);

private:
    struct Cached
    {
        qint64 size = -1;
        QDateTime modified;
        ClassEntry entry;
    };

    void refreshKeys();
    QVector<ClassEntry> list(const QString &dir, ClassEntry::State state, bool *reachable);
    ClassEntry read(const QString &dir, const QString &stem, const QFileInfo &source, const QString &dataFile,
                    const QString &reportFile, ClassEntry::State state);

    const QString folder;
    const QString outboxFolder;
    const Keys given;
    QHash<QString, Cached> cache; // by the path of the file read
    QSet<QString> triedLines;     // key lines the password did not open
    mutable QMutex keysGuard;
    Keyring keyring;
};
