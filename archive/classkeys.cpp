#include "archive/classkeys.h"

#include "archive/outbox.h"
#include "archive/safefile.h"
#include "sealing/keywrap.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <future>
#include <thread>

namespace {

// A key line is about 200 bytes; a class folder holds one per PC at the most.
constexpr qint64 largestLine = 4096;

QString readLine(const QString &path)
{
    QByteArray bytes;
    if (SafeFile::readSmall(path, largestLine, &bytes) != SafeFile::Read::Done)
        return QString();
    return QString::fromLatin1(bytes).trimmed();
}

} // namespace

namespace ClassKeys {

QString localFileName()
{
    return QStringLiteral("skrivlo-noegle.txt");
}

QString folderName()
{
    return QStringLiteral("noegler");
}

QString ending()
{
    return QStringLiteral(".noegle");
}

QString publishedName(const QString &line)
{
    const QByteArray hash = QCryptographicHash::hash(line.toLatin1(), QCryptographicHash::Sha256).toHex().left(8);
    return folderName() + QLatin1Char('/') + KeyWrap::keyIdOf(line) + QLatin1Char(' ') + QString::fromLatin1(hash)
            + ending();
}

QStringList linesIn(const QString &folder)
{
    QStringList lines;
    // A folder of key lines that is a link leads to files of someone else's choosing.
    const QFileInfo linked(folder);
    if (linked.isSymLink() || linked.isJunction())
        return lines;
    // Filtered by hand: a name filter is a regular expression, and a thread that matched one
    // crashes as it ends in the Windows build (MinGW frees its thread storage too early).
    const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files, QDir::Name);
    for (const QFileInfo &file : files) {
        if (!file.fileName().endsWith(ending()))
            continue;
        if (lines.size() >= mostLines)
            break;
        const QString line = readLine(file.filePath());
        if (KeyWrap::isWellFormed(line) && !lines.contains(line))
            lines.append(line);
    }
    return lines;
}

QString localLine(const QString &workingFolder)
{
    return readLine(QDir(workingFolder).filePath(localFileName()));
}

QStringList open(Keyring *keys, const QStringList &lines, const QString &password, QSet<QString> *tried,
                 int mostTries)
{
    QStringList opened;
    for (const QString &line : lines) {
        if (keys->contains(KeyWrap::keyIdOf(line)) || (tried && tried->contains(line)))
            continue;
        if (mostTries-- <= 0)
            break;
        const std::shared_ptr<const ClassKey> key = KeyWrap::unwrap(line, password);
        if (!key) {
            if (tried)
                tried->insert(line);
            continue;
        }
        keys->add(key);
        opened.append(line);
    }
    return opened;
}

Own forPc(const Own &fromSettings, const QString &workingFolder, const QString &classFolder,
          const QString &password, QStringList *classLines, int lookMs)
{
    // Read on a thread of its own, since the share may hang; what it finds in time is used.
    auto looking = std::make_shared<std::promise<QStringList>>();
    std::future<QStringList> looked = looking->get_future();
    std::thread([looking, folder = QDir(classFolder).filePath(folderName())]() {
        looking->set_value(linesIn(folder));
    }).detach();
    QStringList lines;
    const bool answered = looked.wait_for(std::chrono::milliseconds(lookMs)) == std::future_status::ready;
    if (answered)
        lines = looked.get();
    if (classLines)
        *classLines = lines;
    Own own;
    own.classFolderAnswered = answered;
    if (fromSettings.key) {
        own.key = fromSettings.key;
        own.line = fromSettings.line;
        return own;
    }
    own.line = localLine(workingFolder);
    own.key = KeyWrap::isWellFormed(own.line) ? KeyWrap::unwrap(own.line, password) : nullptr;
    if (own.key)
        return own;
    // The class folder's key, so that the PCs of a class share one: the first in the folder's
    // order that the password opens, the same for every PC.
    for (int tried = 0; tried < lines.size() && tried < mostAdoptionTries && !own.key; ++tried) {
        own.line = lines.at(tried);
        own.key = KeyWrap::unwrap(own.line, password);
    }
    if (!own.key) {
        own.key = ClassKey::generate();
        own.line = own.key ? KeyWrap::wrap(*own.key, password) : QString();
        if (own.line.isEmpty())
            return Own();
    }
    own.keepLocally = true;
    return own;
}

void keep(const Own &own, const QString &workingFolder, Outbox &outbox)
{
    if (own.keepLocally)
        SafeFile::write(QDir(workingFolder).filePath(localFileName()), own.line.toLatin1() + '\n');
    outbox.putAsIs(publishedName(own.line), own.line.toLatin1() + '\n');
}

} // namespace ClassKeys
