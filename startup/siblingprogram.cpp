#include "startup/siblingprogram.h"

#include "startup/commandline.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>

#ifndef Q_OS_WIN
#include <unistd.h>

#include <vector>
#endif

namespace SiblingProgram {

QString asked(int argc, char **argv)
{
    const CommandLine::Parsed parsed = CommandLine::parse(CommandLine::arguments(argc, argv));
    if (parsed.outcome != CommandLine::Outcome::Run)
        return QString();
    if (parsed.options.teacherView)
        return QStringLiteral("skrivlo-resultater");
    return parsed.options.recordingMode ? QStringLiteral("skrivlo-indtal") : QString();
}

int run(const QString &name)
{
    const QStringList arguments = QCoreApplication::arguments();
    QString path = QDir(QCoreApplication::applicationDirPath()).filePath(name);
#ifdef Q_OS_WIN
    path += QStringLiteral(".exe");
    QProcess sibling;
    sibling.setProcessChannelMode(QProcess::ForwardedChannels);
    sibling.start(path, arguments.mid(1));
    if (!sibling.waitForStarted())
        return -1;
    sibling.waitForFinished(-1);
    return sibling.exitStatus() == QProcess::NormalExit ? sibling.exitCode() : 1;
#else
    const QByteArray program = QFile::encodeName(path);
    QList<QByteArray> encoded { program };
    for (const QString &argument : arguments.mid(1))
        encoded.append(argument.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &argument : encoded)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    ::execv(program.constData(), argv.data());
    return -1; // only when the program is not there or cannot run
#endif
}

} // namespace SiblingProgram
