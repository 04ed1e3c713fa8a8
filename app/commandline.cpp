#include "commandline.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>

namespace CommandLine {

Parsed parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
            QCoreApplication::translate("CommandLine", "Skrivlo - en diktat til trinindplacering."));
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();
    const QCommandLineOption resultsOption(
            { QStringLiteral("r"), QStringLiteral("resultatmappe") },
            QCoreApplication::translate("CommandLine",
                                        "Mappen, hvor resultaterne gemmes (standard: arbejdsmappen)."),
            QCoreApplication::translate("CommandLine", "mappe"));
    parser.addOption(resultsOption);
    const QCommandLineOption recordOption(
            QStringLiteral("indtal"),
            QCoreApplication::translate("CommandLine", "Læreren indtaler optagelserne til diktaterne."));
    parser.addOption(recordOption);

    Parsed parsed;
    if (!parser.parse(arguments)) {
        parsed.outcome = Outcome::Error;
        parsed.text = parser.errorText();
        return parsed;
    }
    if (parser.isSet(helpOption)) {
        parsed.outcome = Outcome::Help;
        parsed.text = parser.helpText();
        return parsed;
    }
    if (parser.isSet(versionOption)) {
        parsed.outcome = Outcome::Version;
        parsed.text = QCoreApplication::applicationName() + QLatin1Char(' ')
                + QCoreApplication::applicationVersion() + QLatin1Char('\n');
        return parsed;
    }
    if (!parser.positionalArguments().isEmpty()) {
        parsed.outcome = Outcome::Error;
        parsed.text = QCoreApplication::translate("CommandLine", "Ukendt argument: %1")
                              .arg(parser.positionalArguments().first());
        return parsed;
    }
    const QString folder = parser.value(resultsOption);
    if (parser.isSet(resultsOption) && folder.trimmed().isEmpty()) {
        parsed.outcome = Outcome::Error;
        parsed.text = QCoreApplication::translate("CommandLine", "Resultatmappen mangler et navn.");
        return parsed;
    }
    parsed.options.resultsFolder = QDir::cleanPath(QDir::current().absoluteFilePath(folder.isEmpty() ? QStringLiteral(".") : folder));
    parsed.options.recordingMode = parser.isSet(recordOption);
    return parsed;
}

} // namespace CommandLine
