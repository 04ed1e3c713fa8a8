// Writes the manuscript of the recordings into a folder: one SSML file per recording for
// espeak-ng, and manuscript.txt for the teacher.
//
//     skrivlo-manuscript FOLDER [NAME.wav ...]
//
// With names given, fails unless the manuscript holds exactly those recordings, so the
// build never silently misses a recording that a page or a story asks for.

#include "recordings/manuscript.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <algorithm>

namespace {

// Leaves an unchanged file untouched, so that its recording is not spoken again.
bool writeIfChanged(const QString &path, const QByteArray &content)
{
    QFile file(path);
    if (file.open(QIODevice::ReadOnly) && file.readAll() == content)
        return true;
    file.close();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size()) {
        QTextStream(stderr) << "skrivlo-manuscript: cannot write " << path << ": "
                            << file.errorString() << Qt::endl;
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList arguments = app.arguments().mid(1);
    if (arguments.isEmpty()) {
        QTextStream(stderr) << "usage: skrivlo-manuscript FOLDER [NAME.wav ...]" << Qt::endl;
        return 2;
    }
    const QDir folder(arguments.takeFirst());
    if (!folder.mkpath(QStringLiteral("."))) {
        QTextStream(stderr) << "skrivlo-manuscript: cannot create " << folder.path() << Qt::endl;
        return 1;
    }

    const QVector<Manuscript::Recording> recordings = Manuscript::recordings();
    if (!arguments.isEmpty()) {
        QStringList names;
        for (const Manuscript::Recording &recording : recordings)
            names.append(recording.fileName);
        std::sort(names.begin(), names.end());
        std::sort(arguments.begin(), arguments.end());
        if (names != arguments) {
            QTextStream err(stderr);
            err << "skrivlo-manuscript: the build's list of recordings differs from the manuscript." << Qt::endl;
            for (const QString &name : std::as_const(names)) {
                if (!arguments.contains(name))
                    err << "  not built: " << name << Qt::endl;
            }
            for (const QString &name : std::as_const(arguments)) {
                if (!names.contains(name))
                    err << "  not in the manuscript: " << name << Qt::endl;
            }
            return 1;
        }
    }

    bool ok = true;
    for (const Manuscript::Recording &recording : recordings) {
        const QString ssmlName = QFileInfo(recording.fileName).completeBaseName() + QStringLiteral(".ssml");
        ok = writeIfChanged(folder.filePath(ssmlName), Manuscript::ssml(recording).toUtf8()) && ok;
    }
    ok = writeIfChanged(folder.filePath(QStringLiteral("manuscript.txt")),
                        Manuscript::teacherText(recordings).toUtf8()) && ok;
    return ok ? 0 : 1;
}
