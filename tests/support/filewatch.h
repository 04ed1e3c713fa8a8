#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// Which files in some folders are opened or read, as the kernel sees it (inotify), whoever
// asked: the proof that a view opened no file it did not choose, which no hook in Qt can
// give. Linux only; elsewhere isWatching() is false and nothing is seen.
class FileWatch
{
public:
    explicit FileWatch(const QStringList &folders);
    ~FileWatch();
    FileWatch(const FileWatch &) = delete;
    FileWatch &operator=(const FileWatch &) = delete;

    bool isWatching() const { return handle >= 0 && !folderOf.isEmpty(); }
    // "opened <path>" and "read <path>" for each plain file since the last call (folders not).
    QStringList seen();

private:
    int handle = -1;
    QHash<int, QString> folderOf; // watch -> folder
};
