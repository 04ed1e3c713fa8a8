#include "tests/support/filewatch.h"

#include <QDir>
#include <QFile>

#ifdef Q_OS_LINUX
#include <sys/inotify.h>
#include <unistd.h>
#endif

FileWatch::FileWatch(const QStringList &folders)
{
#ifdef Q_OS_LINUX
    handle = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    for (const QString &folder : folders) {
        const int watch = handle < 0 ? -1 : inotify_add_watch(handle, QFile::encodeName(folder).constData(), IN_OPEN | IN_ACCESS);
        if (watch >= 0)
            folderOf.insert(watch, folder);
    }
#else
    Q_UNUSED(folders);
#endif
}

FileWatch::~FileWatch()
{
#ifdef Q_OS_LINUX
    if (handle >= 0)
        ::close(handle);
#endif
}

QStringList FileWatch::seen()
{
    QStringList found;
#ifdef Q_OS_LINUX
    alignas(inotify_event) char buffer[64 * 1024];
    for (;;) {
        const ssize_t got = handle < 0 ? -1 : ::read(handle, buffer, sizeof buffer);
        if (got <= 0)
            break;
        for (ssize_t at = 0; at < got;) {
            const auto *event = reinterpret_cast<const inotify_event *>(buffer + at);
            at += ssize_t(sizeof(inotify_event) + event->len);
            if ((event->mask & IN_ISDIR) || event->len == 0)
                continue;
            const QString path = QDir(folderOf.value(event->wd)).filePath(QFile::decodeName(event->name));
            found.append((event->mask & IN_OPEN ? QStringLiteral("opened ") : QStringLiteral("read ")) + path);
        }
    }
#endif
    return found;
}
