#include "startup/commandline.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace {

QString seeHelp()
{
    return QCoreApplication::translate("CommandLine", "Se valgmulighederne med »skrivlo --help«.");
}

} // namespace

namespace CommandLine {

QStringList arguments(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

Parsed parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
            QCoreApplication::translate("CommandLine", "Skrivlo - en diktat til trinindplacering."));
    // Our own help option: Qt's adds --help-all, which lists Qt's options in English and does
    // nothing of its own here.
    const QCommandLineOption helpOption({ QStringLiteral("h"), QStringLiteral("help") },
                                        QCoreApplication::translate("CommandLine", "Viser denne hjælp."));
    parser.addOption(helpOption);
    const QCommandLineOption versionOption = parser.addVersionOption();
    const QCommandLineOption workOption(
            QStringLiteral("arbejdsmappe"),
            QCoreApplication::translate("CommandLine",
                                        "Arbejdsmappen, hvor programmet gemmer sine filer (standard: den mappe, det startes i)."),
            QCoreApplication::translate("CommandLine", "mappe"));
    parser.addOption(workOption);
    // The name it had before the glossary, still taken from scripts that use it.
    QCommandLineOption resultsOption({ QStringLiteral("r"), QStringLiteral("resultatmappe") }, QString(),
                                     QCoreApplication::translate("CommandLine", "mappe"));
    resultsOption.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(resultsOption);
    const QCommandLineOption classOption(
            QStringLiteral("klassemappe"),
            QCoreApplication::translate("CommandLine",
                                        "Klassemappen, hvor alle kursisters resultater samles "
                                        "(i stedet for indstillingen klassemappe; standard: resultater i "
                                        "arbejdsmappen)."),
            QCoreApplication::translate("CommandLine", "mappe"));
    parser.addOption(classOption);
    // The menu entry's way of naming the user's documents folder, which an Exec line cannot
    // know (it is localised, and moved by many users).
    const QCommandLineOption documentsOption(
            QStringLiteral("dokumenter"),
            QCoreApplication::translate("CommandLine",
                                        "Arbejdsmappen er mappen Skrivlo i brugerens dokumenter (menupunktet bruger det)."));
    parser.addOption(documentsOption);
    const QCommandLineOption recordOption(
            QStringLiteral("indtal"),
            QCoreApplication::translate("CommandLine", "Læreren indtaler diktaternes optagelser med sin egen stemme."));
    parser.addOption(recordOption);
    const QCommandLineOption passwordOption(
            QStringLiteral("ny-adgangskode"),
            QCoreApplication::translate("CommandLine",
                                        "Gemmer skolens password for alle, der bruger Skrivlo på denne pc "
                                        "(kræver administratorrettigheder)."));
    parser.addOption(passwordOption);
    const QCommandLineOption resultsViewOption(
            QStringLiteral("resultater"),
            QCoreApplication::translate("CommandLine", "Læreren ser klassens resultater."));
    parser.addOption(resultsViewOption);

    Parsed parsed;
    if (!parser.parse(arguments)) {
        parsed.outcome = Outcome::Error;
        parsed.text = parser.errorText() + QLatin1Char('\n') + seeHelp();
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
        parsed.text = QCoreApplication::translate("CommandLine", "Ukendt argument: »%1«.")
                              .arg(parser.positionalArguments().first())
                + QLatin1Char('\n') + seeHelp();
        return parsed;
    }
    if (parser.isSet(passwordOption) && parser.isSet(recordOption)) {
        parsed.outcome = Outcome::Error;
        parsed.text = QCoreApplication::translate("CommandLine",
                                                  "Brug enten --ny-adgangskode eller --indtal, ikke begge.");
        return parsed;
    }
    if (parser.isSet(classOption) && parser.value(classOption).trimmed().isEmpty()) {
        parsed.outcome = Outcome::Error;
        parsed.text = QCoreApplication::translate("CommandLine", "Klassemappen mangler et navn.");
        return parsed;
    }
    if (parser.isSet(classOption))
        parsed.options.classFolder = QDir::cleanPath(QDir::current().absoluteFilePath(parser.value(classOption)));
    const bool workSet = parser.isSet(workOption) || parser.isSet(resultsOption);
    QString folder = parser.isSet(workOption) ? parser.value(workOption) : parser.value(resultsOption);
    if (workSet && folder.trimmed().isEmpty()) {
        parsed.outcome = Outcome::Error;
        parsed.text = QCoreApplication::translate("CommandLine", "Skriv arbejdsmappens navn efter --arbejdsmappe.");
        return parsed;
    }
    if (parser.isSet(documentsOption)) {
        const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        if (workSet || documents.isEmpty()) {
            parsed.outcome = Outcome::Error;
            parsed.text = documents.isEmpty()
                    ? QCoreApplication::translate("CommandLine", "Brugeren har ingen dokumentmappe. Brug --arbejdsmappe i stedet.")
                    : QCoreApplication::translate("CommandLine",
                                                  "Brug enten --arbejdsmappe eller --dokumenter, ikke begge.");
            return parsed;
        }
        folder = QDir(documents).filePath(QStringLiteral("Skrivlo"));
    }
    parsed.options.workingFolder = QDir::cleanPath(QDir::current().absoluteFilePath(folder.isEmpty() ? QStringLiteral(".") : folder));
    parsed.options.recordingMode = parser.isSet(recordOption);
    parsed.options.newPassword = parser.isSet(passwordOption);
    parsed.options.teacherView = parser.isSet(resultsViewOption);
    if (parsed.options.recordingMode && parsed.options.teacherView) {
        parsed.outcome = Outcome::Error;
        parsed.text = QCoreApplication::translate("CommandLine", "Brug enten --indtal eller --resultater, ikke begge.");
        return parsed;
    }
    return parsed;
}

} // namespace CommandLine
