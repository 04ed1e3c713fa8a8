#include "startup/programstart.h"

#include "archive/session.h"
#include "archive/workingfolder.h"
#include "settings/machinesettings.h"
#include "startup/danishtexts.h"
#include "timing/timingmarks.h"
#include "widgets/focusringstyle.h"
#include "widgets/plainmessage.h"
#include "widgets/voiceplayer.h"

#include <QApplication>
#include <QMessageBox>
#include <QStyle>
#include <QStyleFactory>

#include <cstdio>

namespace {

// Help, the version or an error, on a terminal without a window system, in Danish like the
// rest: what main returns, or -1.
int answeredInTerminal(int &argc, char **argv, const QStringList &arguments)
{
#ifdef Q_OS_WIN
    Q_UNUSED(argc)
    Q_UNUSED(argv)
    Q_UNUSED(arguments)
#else
    const CommandLine::Parsed asked = CommandLine::parse(arguments);
    // An option not understood, typed where there is no window to show it in: said in Danish
    // on the terminal, not by Qt in English as it gives up finding a display.
    const bool noWindows = qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (asked.outcome == CommandLine::Outcome::Help || asked.outcome == CommandLine::Outcome::Version
        || (asked.outcome == CommandLine::Outcome::Error && noWindows)) {
        QCoreApplication terminal(argc, argv);
        DanishTexts danish;
        danish.install(terminal);
        // Read again with Qt's catalogue in, so that its own errors are Danish too.
        const CommandLine::Parsed answered = CommandLine::parse(arguments);
        if (answered.outcome == CommandLine::Outcome::Error) {
            std::fprintf(stderr, "%s\n", qPrintable(answered.text));
            return 1;
        }
        std::fputs(qPrintable(answered.text), stdout);
        return 0;
    }
#endif
    return -1;
}

} // namespace

ProgramStart::ProgramStart(int &argc, char **argv, const QString &ownMode)
{
    QCoreApplication::setApplicationName(QStringLiteral("Skrivlo"));
    QCoreApplication::setApplicationVersion(QStringLiteral(SKRIVLO_VERSION));
    QStringList arguments = CommandLine::arguments(argc, argv);
    if (!ownMode.isEmpty() && !arguments.contains(ownMode))
        arguments.append(ownMode);
    status = answeredInTerminal(argc, argv, arguments);
    if (ended())
        return;
    application = std::make_unique<QApplication>(argc, argv);
#ifdef SKRIVLO_TIMING_MARKS
    TimingMarks::install();
#endif
    // Plastique where the toolkit still has it; Fusion gives the same look everywhere else.
    QStyle *style = QStyleFactory::create(QStringLiteral("Plastique"));
    if (!style)
        style = QStyleFactory::create(QStringLiteral("Fusion"));
    QApplication::setStyle(new FocusRingStyle(style));
    danish = std::make_unique<DanishTexts>();
    danish->install(*application);
    // Read once Qt's catalogue is in, so that its own errors about options are Danish too.
    parsed = CommandLine::parse(arguments);
#ifdef Q_OS_WIN
    // A Windows program has no terminal to print to.
    if (parsed.outcome == CommandLine::Outcome::Help || parsed.outcome == CommandLine::Outcome::Version) {
        PlainMessage::information(nullptr, QStringLiteral("Skrivlo"), parsed.text, QMessageBox::Ok);
        status = 0;
        return;
    }
#endif
    if (parsed.outcome == CommandLine::Outcome::Error) {
        status = refuse(parsed.text);
        return;
    }
    player = std::make_unique<VoicePlayer>();
}

ProgramStart::~ProgramStart() = default;

std::unique_ptr<Session> ProgramStart::session()
{
    const MachineSettings settings = MachineSettings::read(MachineSettings::defaultPath());
    if (settings.isRefused()) {
        // The fixed password must not take over from the school's.
        status = refuse(settings.problem());
        return nullptr;
    }
    QString reason;
    if (!WorkingFolder::prepare(parsed.options.workingFolder, &reason)) {
        status = refuse(reason);
        return nullptr;
    }
    // The class folder: the command line's, else the one IT set for the machine (a relative
    // one lies in the working folder), else "resultater" in the working folder.
    const QString classFolder = parsed.options.classFolder.isEmpty() ? settings.classFolder()
                                                                     : parsed.options.classFolder;
    return std::make_unique<Session>(WorkingFolder(parsed.options.workingFolder), settings, classFolder);
}

int ProgramStart::refuse(const QString &message)
{
    std::fprintf(stderr, "%s\n", qPrintable(message));
    PlainMessage::critical(nullptr, QCoreApplication::translate("main", "Skrivlo kan ikke starte"), message,
                           QMessageBox::Ok);
    return 1;
}
