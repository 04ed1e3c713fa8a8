#pragma once

#include <QString>

// The one folder that receives every file the program writes: the working directory
// unless the command line names another.
class ResultsFolder
{
public:
    // Creates the folder when it is missing. False, with a Danish reason, when it cannot be
    // made or is not a folder.
    static bool prepare(const QString &path, QString *reason);

    // The folder, made absolute; the working directory when path is empty.
    explicit ResultsFolder(const QString &path = QString());

    QString path() const { return folder; }
    // A file in the folder.
    QString filePath(const QString &name) const;

private:
    QString folder;
};
