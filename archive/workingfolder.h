#pragma once

#include <QString>

// This PC's own folder, "arbejdsmappen": the current learner's results.html, the saved test,
// the lock and the outbox (the class folder is "resultater" in it unless IT names another).
// The working directory unless the command line names another.
class WorkingFolder
{
public:
    // Creates the folder when it is missing. False, with a Danish reason, when it cannot be
    // made or is not a folder.
    static bool prepare(const QString &path, QString *reason);

    // The folder, made absolute; the working directory when path is empty.
    explicit WorkingFolder(const QString &path = QString());

    QString path() const { return folder; }
    // A file in the folder.
    QString filePath(const QString &name) const;

private:
    QString folder;
};
