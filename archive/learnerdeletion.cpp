#include "archive/learnerdeletion.h"

#include "archive/classrecovery.h"
#include "archive/deletedlearners.h"
#include "archive/pcname.h"
#include "sealing/sealedfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace LearnerDeletion {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("LearnerDeletion", text);
}

const QString movedMark = QStringLiteral(" fortsat på ");

// Removes a file, or a link in its place (as a link). False, with the reason in left, when
// something is there that did not go.
bool removeFile(const QString &path, Done *done)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return true;
    QFile file(path);
    if (file.remove()) {
        ++done->files;
        return true;
    }
    done->left.append(QDir::toNativeSeparators(path) + QStringLiteral(" (") + file.errorString() + QLatin1Char(')'));
    return false;
}

// Whose test a copy in the class folder's saved tests is: the PC that saved it, as the copy's
// name says ("<pc>.json.skrivlo", or "<pc> fortsat på <other>.skrivlo" once taken over), and the
// learner's stem from inside. Empty when it is not such a copy or does not open.
QString stemOfCopy(const QString &folder, const QString &name, const Keyring &keys, QStringList *pcs)
{
    QString pc = SealedFile::plainName(name);
    QString other;
    if (pc.endsWith(QLatin1String(".json"))) {
        pc.chop(5);
    } else if (pc.contains(movedMark)) {
        other = pc.mid(pc.indexOf(movedMark) + movedMark.size());
        pc = pc.left(pc.indexOf(movedMark));
    } else {
        // Plain copies of before sealing: "<pc>.json", "<pc> fortsat på <other>.json" or ".txt".
        pc = name;
        for (const QLatin1String ending : { QLatin1String(".json"), QLatin1String(".txt") }) {
            if (pc.endsWith(ending))
                pc.chop(ending.size());
        }
        if (pc.contains(movedMark)) {
            other = pc.mid(pc.indexOf(movedMark) + movedMark.size());
            pc = pc.left(pc.indexOf(movedMark));
        }
    }
    if (!PcName::isWellFormed(pc))
        return QString();
    const QString stem = DeletedLearners::stemOfSavedTest(QDir(folder).filePath(name), ClassRecovery::nameFor(pc), keys);
    if (stem.isEmpty())
        return QString();
    *pcs = { pc };
    if (PcName::isWellFormed(other))
        pcs->append(other);
    return stem;
}

} // namespace

Done run(const Places &places, const Keyring &keys, const QStringList &stems)
{
    Done done;
    const QFileInfo folderInfo(places.classFolder);
    if (!folderInfo.isDir()) {
        done.reached = false;
        done.problem = tr("Klassemappen %1 kan ikke nås, så intet er slettet. Prøv igen, når der er forbindelse.")
                               .arg(QDir::toNativeSeparators(places.classFolder));
        return done;
    }
    if (!folderInfo.isWritable()) {
        done.reached = false;
        done.problem = tr("Klassemappen %1 er skrivebeskyttet, så intet er slettet. Bed IT om lov til at skrive i den.")
                               .arg(QDir::toNativeSeparators(places.classFolder));
        return done;
    }
    // The list first: should the delete be cut off, the PCs that read it finish it.
    QSet<QString> ids;
    for (const QString &stem : stems) {
        const QString id = DeletedLearners::idOf(stem + QStringLiteral(".json"));
        if (!id.isEmpty())
            ids.insert(id);
    }
    DeletedLearners::add(places.classFolder, keys, places.record, ids, &done.listProblem);
    const QSet<QString> wanted(stems.cbegin(), stems.cend());
    QSet<QString> otherPcs;
    for (const QString &stem : stems) {
        bool all = true;
        for (const QString &dir : { places.classFolder, places.outbox }) {
            for (const QLatin1String ending : { QLatin1String(".json"), QLatin1String(".html") }) {
                all = removeFile(QDir(dir).filePath(stem + ending), &done) && all;
                all = removeFile(QDir(dir).filePath(SealedFile::sealedName(stem + ending)), &done) && all;
            }
        }
        const QString id = DeletedLearners::idOf(stem + QStringLiteral(".json"));
        if (!id.isEmpty())
            otherPcs.insert(id.section(QLatin1Char(' '), 0, 0));
        done.learners += all ? 1 : 0;
    }
    if (stems.isEmpty())
        return done;
    // Copies of a saved test: the PC's own and one taken over by another.
    const QDir copies(QDir(places.classFolder).filePath(ClassRecovery::folderName()));
    for (const QString &name : copies.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        QStringList pcs;
        if (!wanted.contains(stemOfCopy(copies.path(), name, keys, &pcs)))
            continue;
        removeFile(copies.filePath(name), &done);
        for (const QString &pc : pcs)
            otherPcs.insert(pc);
    }
    done.files += int(DeletedLearners::forgetSavedTests(places.workingFolder, keys, wanted, &done.left).size());
    done.otherPcs = QStringList(otherPcs.cbegin(), otherPcs.cend());
    done.otherPcs.sort();
    return done;
}

} // namespace LearnerDeletion
