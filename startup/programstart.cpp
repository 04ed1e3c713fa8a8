#include "startup/programstart.h"

#include "archive/session.h"
#include "archive/workingfolder.h"
#include "settings/machinesettings.h"
#include "startup/danishtexts.h"
#include "timing/timingmarks.h"
#include "widgets/focusringstyle.h"
#include "widgets/plainmessage.h"

#include <QApplication>
#include <QMessageBox>
#include <QStyle>
#include <QStyleFactory>

#include <cstdio>

namespace ProgramStart {

QStringList identify(int argc, char *argv[], const QString &ownMode)
{
    QCoreApplication::setApplicationName(QStringLiteral("Skrivlo"));
    QCoreApplication::setApplicationVersion(QStringLiteral(SKRIVLO_VERSION));
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    if (!ownMode.isEmpty() && !arguments.contains(ownMode))
        arguments.append(ownMode);
    return arguments;
}

int answeredInTerminal(int argc, char *argv[], const QStringList &arguments)
{
#ifdef Q_OS_WIN
    Q_UNUSED(argc)
    Q_UNUSED(argv)
    Q_UNUSED(arguments)
#else
    const CommandLine::Outcome asked = CommandLine::parse(arguments).outcome;
    if (asked == CommandLine::Outcome::Help || asked == CommandLine::Outcome::Version) {
        // Answered in a terminal without a window system, in Danish like the rest.
        QCoreApplication terminal(argc, argv);
        DanishTexts danish;
        danish.install(terminal);
        std::fputs(qPrintable(CommandLine::parse(arguments).text), stdout);
        return 0;
    }
    // An option not understood, typed where there is no window to show it in: said in Danish
    // on the terminal, not by Qt in English as it gives up finding a display.
    if (asked == CommandLine::Outcome::Error && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        QCoreApplication terminal(argc, argv);
        DanishTexts danish;
        danish.install(terminal);
        std::fprintf(stderr, "%s\n", qPrintable(CommandLine::parse(arguments).text));
        return 1;
    }
#endif
    return -1;
}

void dress(QApplication &application, DanishTexts &danish)
{
#ifdef SKRIVLO_TIMING_MARKS
    TimingMarks::install();
#endif
    QStyle *style = QStyleFactory::create(QStringLiteral("Plastique"));
    if (!style)
        style = QStyleFactory::create(QStringLiteral("Fusion"));
    QApplication::setStyle(new FocusRingStyle(style));
    danish.install(application);
}

CommandLine::Parsed parse(const QStringList &arguments, int *exitCode)
{
    *exitCode = -1;
    const CommandLine::Parsed parsed = CommandLine::parse(arguments);
#ifdef Q_OS_WIN
    // A Windows program has no terminal to print to.
    if (parsed.outcome == CommandLine::Outcome::Help || parsed.outcome == CommandLine::Outcome::Version) {
        PlainMessage::information(nullptr, QStringLiteral("Skrivlo"), parsed.text, QMessageBox::Ok);
        *exitCode = 0;
    }
#endif
    if (parsed.outcome == CommandLine::Outcome::Error)
        *exitCode = refuse(parsed.text);
    return parsed;
}

std::unique_ptr<Session> session(const StartOptions &options, int *exitCode)
{
    const MachineSettings settings = MachineSettings::read(MachineSettings::defaultPath());
    if (settings.isRefused()) {
        // The fixed password must not take over from the school's.
        *exitCode = refuse(settings.problem());
        return nullptr;
    }
    QString reason;
    if (!WorkingFolder::prepare(options.workingFolder, &reason)) {
        *exitCode = refuse(reason);
        return nullptr;
    }
    // The class folder: the command line's, else the one IT set for the machine (a relative
    // one lies in the working folder), else "resultater" in the working folder.
    const QString classFolder = options.classFolder.isEmpty() ? settings.classFolder() : options.classFolder;
    *exitCode = -1;
    return std::make_unique<Session>(WorkingFolder(options.workingFolder), settings, classFolder);
}

int refuse(const QString &message)
{
    std::fprintf(stderr, "%s\n", qPrintable(message));
    PlainMessage::critical(nullptr, QCoreApplication::translate("main", "Skrivlo kan ikke starte"), message,
                           QMessageBox::Ok);
    return 1;
}

} // namespace ProgramStart
