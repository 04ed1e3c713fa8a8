#include "archive/deletedlearners.h"

#include "archive/outbox.h"
#include "archive/pcname.h"
#include "archive/recoveryfile.h"
#include "archive/safefile.h"
#include "archive/session.h"
#include "model/recoverytext.h"
#include "sealing/classkey.h"
#include "sealing/sealedfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace DeletedLearners {

namespace {

const QByteArray firstLine = QByteArrayLiteral("Skrivlo slettede kursister 1");
// Some thousand ids at most in a school's lifetime; anything much larger is not ours.
constexpr qint64 largestList = 1024 * 1024;

bool isId(const QString &id)
{
    const int blank = id.indexOf(QLatin1Char(' '));
    if (blank < 0 || id.size() - blank - 1 != 8 || !PcName::isWellFormed(id.left(blank)))
        return false;
    return std::all_of(id.cbegin() + blank + 1, id.cend(), [](QChar c) {
        return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || (c >= QLatin1Char('a') && c <= QLatin1Char('f'));
    });
}

// Empty for a file that is not read whole.
QByteArray readSmall(const QString &path, qint64 largest)
{
    QByteArray bytes;
    SafeFile::readSmall(path, largest, &bytes);
    return bytes;
}

QSet<QString> readList(const QString &path, const QString &name, const Keyring &keys)
{
    QSet<QString> ids;
    QByteArray plain;
    if (SealedFile::open(keys, name, readSmall(path, largestList), &plain) == SealedFile::Opened::Yes)
        parse(plain, &ids);
    return ids;
}

QSet<QString> readRecord(const QString &record)
{
    QSet<QString> ids;
    if (!record.isEmpty())
        parse(readSmall(record, largestList), &ids);
    return ids;
}

} // namespace

QString folderName()
{
    return QStringLiteral("slettede-kursister");
}

QString nameFor(const QString &keyId)
{
    return folderName() + QLatin1Char('/') + keyId + QStringLiteral(".txt");
}

QString idOf(const QString &fileName)
{
    QString name = SealedFile::plainName(fileName);
    if (name.isEmpty())
        name = fileName;
    for (const QLatin1String ending : { QLatin1String(".html"), QLatin1String(".json") }) {
        if (name.endsWith(ending)) {
            const QString id = name.chopped(ending.size());
            return isId(id) ? id : QString();
        }
    }
    return QString();
}

QByteArray text(const QSet<QString> &ids)
{
    QStringList sorted(ids.cbegin(), ids.cend());
    sorted.sort();
    QByteArray bytes = firstLine + '\n';
    for (const QString &id : sorted)
        bytes += id.toLatin1() + '\n';
    return bytes;
}

bool parse(const QByteArray &bytes, QSet<QString> *ids)
{
    const QList<QByteArray> lines = bytes.split('\n');
    if (lines.isEmpty() || lines.first() != firstLine)
        return false;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QString id = QString::fromLatin1(lines.at(i));
        if (isId(id))
            ids->insert(id);
    }
    return true;
}

QSet<QString> read(const QString &classFolder, const Keyring &keys)
{
    QSet<QString> ids;
    const QDir folder(classFolder);
    for (const QString &keyId : keys.ids()) {
        const QString name = nameFor(keyId);
        ids.unite(readList(folder.filePath(SealedFile::sealedName(name)), name, keys));
    }
    return ids;
}

bool add(const QString &classFolder, const Keyring &keys, const QString &record, const QSet<QString> &ids,
         QString *reason)
{
    QSet<QString> all = readRecord(record);
    all.unite(ids);
    if (all.isEmpty())
        return true;
    if (!record.isEmpty() && !(QDir().mkpath(QFileInfo(record).path()) && SafeFile::write(record, text(all)))) {
        *reason = QCoreApplication::translate("DeletedLearners", "Listen over slettede kursister kunne ikke gemmes "
                                                                 "på denne pc (%1).")
                          .arg(QDir::toNativeSeparators(record));
        return false;
    }
    const QDir folder(classFolder);
    const bool made = folder.exists() && !folder.exists(folderName()) && folder.mkdir(folderName());
    if (made) {
        const QString path = folder.filePath(folderName());
        QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeGroup | QFile::ExeOther);
    }
    if (!folder.exists() || !folder.exists(folderName())) {
        *reason = QCoreApplication::translate("DeletedLearners", "Klassemappen tager ikke imod listen over "
                                                                 "slettede kursister.");
        return false;
    }
    QStringList failed;
    for (const QString &keyId : keys.ids()) {
        const QString name = nameFor(keyId);
        const QString path = folder.filePath(SealedFile::sealedName(name));
        const QSet<QString> before = readList(path, name, keys);
        if (before.contains(all))
            continue;
        const QByteArray sealed = SealedFile::seal(*keys.find(keyId), name, text(before + all));
        if (sealed.isEmpty() || !SafeFile::write(path, sealed)) {
            failed.append(QDir::toNativeSeparators(path));
            continue;
        }
        // Where IT lets the PCs only put files in the class folder (a drop box), they must still
        // read this list: it holds ids, nothing of a learner, and only the key opens it.
        QFile::setPermissions(path, QFile::permissions(path) | QFile::ReadGroup | QFile::ReadOther);
    }
    if (failed.isEmpty())
        return true;
    *reason = QCoreApplication::translate("DeletedLearners", "Listen over slettede kursister kunne ikke skrives i "
                                                             "klassemappen:\n%1")
                      .arg(failed.join(QLatin1Char('\n')));
    return false;
}

QString stemOf(const QString &reportName)
{
    const QString name = QFileInfo(reportName).fileName();
    return name.endsWith(QLatin1String(".html")) ? name.chopped(5) : QString();
}

QString stemOfSavedTest(const QString &path, const QString &sealedAs, const Keyring &keys)
{
    const QByteArray bytes = readSmall(path, SealedFile::largestFile);
    QByteArray plain;
    const SealedFile::Opened opened = SealedFile::open(keys, sealedAs, bytes, &plain);
    if (opened == SealedFile::Opened::NotSealed)
        plain = bytes;
    else if (opened != SealedFile::Opened::Yes)
        return QString();
    RecoveryState state;
    QString reason;
    return RecoveryText::parse(plain, &state, &reason) ? stemOf(state.learner.reportName) : QString();
}

QStringList forgetSavedTests(const QString &workingFolder, const Keyring &keys, const QSet<QString> &stems,
                             QStringList *left)
{
    QStringList gone;
    const QDir work(workingFolder);
    // The saved test, sealed or of before, and those set aside for the teacher, which keep the
    // saved test's name in front.
    const QString prefix = RecoveryFile::plainName().chopped(5);
    for (const QString &name : work.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        const QString path = work.filePath(name);
        if (!name.startsWith(prefix) || !SafeFile::mayReplace(path) || !stems.contains(stemOfSavedTest(path, RecoveryFile::plainName(), keys)))
            continue;
        if (QFile::remove(path))
            gone.append(name);
        else if (left)
            left->append(QDir::toNativeSeparators(path));
    }
    return gone;
}

int forgetHere(Session &session, const QSet<QString> &ids)
{
    if (ids.isEmpty())
        return 0;
    int gone = int(forgetSavedTests(session.workingFolder(), session.keys(), ids).size());
    Outbox &box = session.outbox();
    for (const QString &name : box.waiting()) {
        const QString plain = SealedFile::plainName(name);
        if (ids.contains(idOf(name)) && !plain.isEmpty()) {
            box.withdraw(plain);
            ++gone;
        }
    }
    return gone;
}

} // namespace DeletedLearners
