#include "archive/outbox.h"

#include "archive/deletedlearners.h"
#include "archive/safefile.h"
#include "sealing/sealedfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMutexLocker>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("Outbox", text);
}

// Wrapped class keys, sent as they are (ClassKeys names them).
QString keyEnding()
{
    return QStringLiteral(".noegle");
}

// A learner's files are kilobytes; a file this large in the outbox is not one of ours.
constexpr qint64 largest = 16 * 1024 * 1024;

bool readAll(const QString &path, QByteArray *bytes)
{
    return SafeFile::readSmall(path, largest, bytes) == SafeFile::Read::Done;
}

} // namespace

Outbox::Outbox(const QString &workingFolder, const QString &classFolder, bool mayCreate)
    : box(QDir(workingFolder).filePath(folderName()))
    , target(classFolder)
    , mayCreate(mayCreate)
{
}

QString Outbox::folderName()
{
    return QStringLiteral("udbakke");
}

void Outbox::setKey(std::shared_ptr<const ClassKey> classKey, std::function<void()> onFirstUse)
{
    QMutexLocker lock(&guard);
    key = std::move(classKey);
    firstUse = std::move(onFirstUse);
}

std::shared_ptr<const ClassKey> Outbox::keyInUse()
{
    std::function<void()> pending;
    std::shared_ptr<const ClassKey> current;
    {
        QMutexLocker lock(&guard);
        std::swap(pending, firstUse);
        current = key;
    }
    if (pending)
        pending(); // outside the lock: it may put files itself
    return current;
}

bool Outbox::put(const QString &name, const QByteArray &bytes)
{
    const std::shared_ptr<const ClassKey> sealing = keyInUse();
    if (!sealing)
        return false; // never in the clear
    QMutexLocker lock(&guard);
    const QByteArray sealed = SealedFile::seal(*sealing, name, bytes);
    const QString path = QDir(box).filePath(SealedFile::sealedName(name));
    return !sealed.isEmpty() && QDir().mkpath(QFileInfo(path).path()) && SafeFile::write(path, sealed);
}

bool Outbox::putAsIs(const QString &name, const QByteArray &bytes)
{
    const QString path = QDir(box).filePath(name);
    QMutexLocker lock(&guard);
    return QDir().mkpath(QFileInfo(path).path()) && SafeFile::write(path, bytes);
}

void Outbox::withdraw(const QString &name)
{
    QMutexLocker lock(&guard);
    QFile::remove(QDir(box).filePath(SealedFile::sealedName(name)));
}

int Outbox::sealLeftInTheClear()
{
    int sealed = 0;
    QDirIterator it(box, { QStringLiteral("*.html"), QStringLiteral("*.json") }, QDir::Files | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QByteArray bytes;
        if (!readAll(path, &bytes) || !put(QDir(box).relativeFilePath(path), bytes))
            continue;
        QFile::remove(path);
        ++sealed;
    }
    return sealed;
}

int Outbox::setAside(const QString &stem, const QString &folder)
{
    QMutexLocker lock(&guard);
    int moved = 0;
    for (const QString &name : QDir(box).entryList(QDir::Files | QDir::Hidden)) {
        if (!name.startsWith(stem + QLatin1Char('.')) || !QDir().mkpath(folder))
            continue;
        const QString to = QDir(folder).filePath(name);
        QFile::remove(to); // an earlier stage of the same report
        moved += QFile::rename(QDir(box).filePath(name), to) ? 1 : 0;
    }
    return moved;
}

QStringList Outbox::waiting() const
{
    QStringList names;
    QMutexLocker lock(&guard);
    QDirIterator it(box, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        // QSaveFile's temporary files end in a dot and six characters; they are no file of ours yet.
        const QString name = QDir(box).relativeFilePath(path);
        if (name.endsWith(SealedFile::suffix()) || name.endsWith(keyEnding()))
            names.append(name);
    }
    names.sort();
    return names;
}

bool Outbox::send(QString *reason)
{
    bool all = true;
    QString why;
    // A learner the teacher deleted while this PC could not reach the class folder is not
    // brought back.
    std::shared_ptr<const ClassKey> sealing;
    {
        QMutexLocker lock(&guard);
        sealing = key; // not keyInUse(): sending alone is no first use of the key
    }
    const QSet<QString> deleted = sealing ? DeletedLearners::read(target, Keyring(sealing)) : QSet<QString>();
    for (const QString &name : waiting()) {
        if (deleted.contains(DeletedLearners::idOf(name))) {
            withdraw(SealedFile::plainName(name));
            continue;
        }
        if (!sendOne(name, &why))
            all = false;
    }
    if (!all && reason)
        *reason = why;
    return all;
}

bool Outbox::sendOne(const QString &name, QString *reason)
{
    const QString from = QDir(box).filePath(name);
    const QString to = QDir(target).filePath(name);
    QByteArray bytes;
    {
        QMutexLocker lock(&guard);
        if (!readAll(from, &bytes))
            return true; // withdrawn meanwhile, or not a plain file: nothing to send
    }
    if (mayCreate && !QFileInfo::exists(target))
        QDir().mkpath(target);
    if (!QFileInfo(target).isDir()) {
        *reason = tr("Klassemappen findes ikke eller kan ikke nås.");
        return false;
    }
    // The default class folder made into a link to somewhere else is never written through.
    if (mayCreate && !SafeFile::mayWriteInto(target)) {
        *reason = tr("Klassemappen er en genvej (et link) til en anden mappe.");
        return false;
    }
    QByteArray there;
    const bool same = QFileInfo::exists(to) && readAll(to, &there) && there == bytes;
    if (!same) {
        // A folder of ours below it (the saved tests') is made with one mkdir, never a path:
        // a class folder gone meanwhile must not come back on this PC's own disk.
        const QString below = QFileInfo(name).path();
        const bool made = below == QLatin1String(".") || QDir(target).exists(below) || QDir(target).mkdir(below);
        if (!made || !SafeFile::write(to, bytes)) {
            *reason = tr("Klassemappen tager ikke imod filer: den er skrivebeskyttet eller fuld, "
                         "eller forbindelsen er afbrudt.");
            return false;
        }
        // What a share reports as written is read back before the outbox lets go of it.
        if (!readAll(to, &there) || there != bytes) {
            *reason = tr("Filen kom ikke helt frem til klassemappen.");
            return false;
        }
    }
    QMutexLocker lock(&guard);
    QByteArray now;
    // A newer version put meanwhile stays for the next send.
    if (readAll(from, &now) && now == bytes)
        QFile::remove(from);
    return true;
}
