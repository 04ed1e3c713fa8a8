#include "startup/recordingnotice.h"

#include "recordings/recordingfolders.h"
#include "recordings/recordingsurvey.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {

QString tr(const char *text, int n = -1)
{
    return QCoreApplication::translate("RecordingNotice", text, nullptr, n);
}

// More lines than this would push the buttons off a small screen; the rest go in the details.
constexpr int listedAtMost = 10;

QString line(const RecordingCheck::Finding &finding)
{
    return QStringLiteral("  %1 %2").arg(finding.fileName, finding.problem);
}

} // namespace

namespace RecordingNotice {

QString text(const QVector<RecordingCheck::Finding> &findings, int total, const QStringList &searched)
{
    const bool noneFound = findings.size() == total
            && std::all_of(findings.cbegin(), findings.cend(),
                           [](const RecordingCheck::Finding &f) { return f.path.isEmpty(); });
    if (noneFound) {
        return tr("Programmet fandt ingen af sine %1 optagelser, så diktaterne bliver uden lyd.\n\n"
                  "Der er ledt i disse mapper:\n%2\n\n"
                  "Installér Skrivlo igen, eller læg optagelserne i en af mapperne.\n"
                  "Vil du fortsætte uden lyd?")
                .arg(total)
                .arg(QStringLiteral("  ") + searched.join(QStringLiteral("\n  ")));
    }
    QStringList lines;
    for (int i = 0; i < findings.size() && i < listedAtMost; ++i)
        lines.append(line(findings[i]));
    if (findings.size() > listedAtMost)
        lines.append(tr("  ... og %n til (se detaljer)", int(findings.size() - listedAtMost)));
    return tr("%n af programmets %1 optagelser kan ikke afspilles:\n\n%2\n\n"
              "Du kan indtale dem igen i »Skrivlo – indtal optagelser«.\n"
              "Vil du fortsætte alligevel? Så hører kursisten ingen lyd ved de ord.",
              int(findings.size()))
            .arg(total)
            .arg(lines.join(QLatin1Char('\n')));
}

bool checkAndAsk(QWidget *parent)
{
    RecordingSurvey survey;
    return checkAndAsk(survey, parent);
}

bool checkAndAsk(RecordingSurvey &survey, QWidget *parent)
{
    const RecordingSurvey::Result found = survey.result();
    const QVector<RecordingCheck::Finding> &findings = found.findings;
    if (findings.isEmpty())
        return true;

    const QStringList searched = RecordingFolders::searchPath();
    QMessageBox box(QMessageBox::Warning, tr("Optagelser mangler"), text(findings, found.total, searched),
                    QMessageBox::NoButton, parent);
    QStringList details;
    for (const RecordingCheck::Finding &finding : findings)
        details.append(finding.path.isEmpty() ? line(finding) : line(finding) + QStringLiteral(" (") + finding.path + QLatin1Char(')'));
    details.append(QString());
    details.append(tr("Der er ledt i:"));
    details.append(searched);
    box.setDetailedText(details.join(QLatin1Char('\n')));
    QPushButton *goOn = box.addButton(tr("&Fortsæt"), QMessageBox::AcceptRole);
    QPushButton *quit = box.addButton(tr("&Luk programmet"), QMessageBox::RejectRole);
    // Enter must not start a test without sound by accident.
    box.setDefaultButton(quit);
    box.setEscapeButton(quit);
    box.exec();
    return box.clickedButton() == goOn;
}

} // namespace RecordingNotice
