#include "pages/results.h"

#include "archive/pdftarget.h"
#include "archive/reportfile.h"
#include "archive/safefile.h"
#include "archive/workingfolder.h"
#include "devices/loader/devicemodule.h"
#include "devices/printdevice.h"
#include "timing/timingmarks.h"
#include "widgets/darkbutton.h"
#include "widgets/plainmessage.h"
#include "widgets/reportbrowser.h"

#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

Results::Results(QWidget *parent, const WorkingFolder &folder)
    : CenterFrame(parent)
    , folder(folder)
{
    mainLayout = new QVBoxLayout;
    buttonRow = new QHBoxLayout;

    headingLabel = new QLabel(tr("<html><b>Resultater</b></html>"));
    headingLabel->setFont(headingFont);

    reportView = new ReportBrowser;
    reportView->setObjectName(QStringLiteral("reportView"));
    reportView->setFrameShape(QFrame::NoFrame);
    reportView->setAccessibleName(tr("Resultater"));

    pdfButton = new DarkButton(this, QStringLiteral("pdf.png"));
    pdfButton->setObjectName(QStringLiteral("pdfButton"));
    pdfCaption = new QLabel(tr("<html>Gem som<br>PDF-fil</html>"));
    printCaption = new QLabel(tr("Udskriv"));
    printButton = new DarkButton(this, QStringLiteral("print.png"));
    printButton->setObjectName(QStringLiteral("printButton"));

    buttonRow->addWidget(pdfButton);
    buttonRow->addWidget(pdfCaption);
    buttonRow->addStretch();
    buttonRow->addWidget(printCaption);
    buttonRow->addWidget(printButton);

    mainLayout->addSpacing(20);
    mainLayout->addWidget(headingLabel);
    mainLayout->addSpacing(20);
    mainLayout->addWidget(reportView);
    mainLayout->addLayout(buttonRow);
    setLayout(mainLayout);

    // Tab from the report to the two buttons, in the row's order.
    setTabOrder(reportView, pdfButton);
    setTabOrder(pdfButton, printButton);

    connect(pdfButton, &DarkButton::clicked, this, &Results::saveAsPDF);
    connect(printButton, &DarkButton::clicked, this, &Results::printResults);
}

void Results::loadReport()
{
    QString html;
    ReportFile::read(folder.filePath(ReportFile::fileName()), &html);
    showReportHtml(html);
}

void Results::showReportHtml(const QString &html)
{
    reportView->showHtml(html);
    reportView->setFocus(Qt::OtherFocusReason);
}

QStringList Results::allowedFolders() const
{
    return { folder.path() };
}

QStringList Results::sealedFolders() const
{
    // Only a class folder that lies in the working folder by its name can hold a PDF saved
    // there; one elsewhere (a share) is not looked at, so a share that hangs cannot hold up
    // the save dialog.
    const QString work = QDir::cleanPath(QDir(folder.path()).absolutePath());
    const QString named = QDir::cleanPath(QDir(classFolder).absolutePath());
    if (classFolder.isEmpty() || !(named == work || named.startsWith(work + QLatin1Char('/'))))
        return {};
    return { classFolder };
}

PdfTarget::Verdict Results::verdict(const QString &chosen, QString *reason) const
{
    if (teachersRules())
        return PdfTarget::checkOutside(chosen, closedFolders, reason);
    return PdfTarget::check(chosen, allowedFolders(), savedPdfs, reason, sealedFolders());
}

void Results::saveAsPDF()
{
    PrintDevice *device = printDevice();
    if (!device)
        return;
    const QString fileName = pdfFileName(PdfTarget::suggestedName(learnerName, QDate::currentDate()));
    if (!fileName.isEmpty())
        writePdf(device, fileName);
}

void Results::writePdf(PrintDevice *device, const QString &fileName)
{
    TIMING_MARK("pdf-begin");
    const QByteArray pdf = device->pdf(*reportView->document());
    const bool written = !pdf.isEmpty() && SafeFile::write(fileName, pdf);
    if (!written && teachersRules()) {
        PlainMessage::warning(this, tr("PDF-filen er ikke gemt"),
                              tr("PDF-filen »%1« kunne ikke gemmes. Vælg en anden mappe, eller udskriv resultatet.")
                                      .arg(QDir::toNativeSeparators(fileName)));
        return;
    }
    if (!written) {
        PlainMessage::warning(this, tr("PDF-filen er ikke gemt"),
                              tr("Hent din lærer.\n\nPDF-filen »%1« kunne ikke gemmes. Resultaterne er stadig "
                                 "gemt i »%2«.\nPrøv en anden mappe, eller udskriv resultaterne.")
                                      .arg(QDir::toNativeSeparators(fileName),
                                           QDir::toNativeSeparators(folder.filePath(tr("results.html")))),
                              QMessageBox::Ok, QMessageBox::NoButton);
        return;
    }
    TIMING_MARK("pdf-written");
    if (!savedPdfs.contains(fileName))
        savedPdfs.append(fileName);
}

// Asks where to save, in the allowed folders only. The dialog is Qt's own in read-only mode,
// so no other learner's file can be deleted or renamed from it, and it is brought back when
// the learner goes to a folder outside; the name is checked before the dialog lets go
// (PdfTarget::check). Empty when the learner cancels.
QString Results::pdfFileName(const QString &suggested)
{
    QFileDialog dialog(this, tr("Gem resultater som PDF-fil"), folder.path(), tr("Adobe PDF-filer (*.pdf)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // The question before replacing a file is asked here, after the checks below.
    dialog.setOptions((teachersRules() ? QFileDialog::Options() : QFileDialog::ReadOnly) | QFileDialog::DontUseNativeDialog
                      | QFileDialog::DontConfirmOverwrite);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    dialog.setLabelText(QFileDialog::Reject, tr("Annullér")); // as in the access dialog; Qt's own says "Annuller"
    QList<QUrl> places;
    if (teachersRules()) {
        // The computer's drives (a USB stick among them), the teacher's own folders.
        places = { QUrl(QStringLiteral("file:")), QUrl::fromLocalFile(QDir::homePath()) };
        const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        if (QFileInfo(documents).isDir())
            places.append(QUrl::fromLocalFile(documents));
        places.append(QUrl::fromLocalFile(folder.path()));
    } else {
        for (const QString &allowed : allowedFolders())
            places.append(QUrl::fromLocalFile(allowed));
    }
    dialog.setSidebarUrls(places);
    connect(&dialog, &QFileDialog::directoryEntered, &dialog, [this, &dialog](const QString &entered) {
        const QString probe = QDir(entered).filePath(QStringLiteral("x.pdf"));
        if (teachersRules() ? !PdfTarget::isInsideResolved(probe, closedFolders)
                            : PdfTarget::isInside(probe, allowedFolders()) && !PdfTarget::isInside(probe, sealedFolders()))
            return;
        dialog.setDirectory(folder.path());
        QString reason;
        verdict(probe, &reason);
        PlainMessage::warning(&dialog, tr("Ups!"), reason, QMessageBox::Ok, QMessageBox::NoButton);
    });
    dialog.selectFile(suggested);
    while (dialog.exec() == QDialog::Accepted) {
        const QString chosen = dialog.selectedFiles().value(0);
        QString reason;
        const PdfTarget::Verdict verdict = this->verdict(chosen, &reason);
        const QString target = PdfTarget::withPdfEnding(chosen);
        if (verdict == PdfTarget::Verdict::Refuse) {
            PlainMessage::warning(this, tr("Ups!"), reason, QMessageBox::Ok, QMessageBox::NoButton);
            continue;
        }
        if (verdict == PdfTarget::Verdict::AskToReplace
            && QMessageBox::question(this, tr("Gem resultater som PDF-fil"),
                                     tr("%1 findes allerede.\nVil du erstatte den?").arg(QFileInfo(target).fileName()))
                    != QMessageBox::Yes)
            continue;
        return target;
    }
    return QString();
}

void Results::printResults()
{
    PrintDevice *device = printDevice();
    if (!device)
        return;
    const QString chosen = device->print(*reportView->document(), tr("Udskriv resultater"), this);
    if (chosen.isEmpty())
        return;
    // Printing to a file is saving a PDF, by the same rules: a name that passes is written
    // at once, any other leads to the save dialog in the working folder.
    QString reason;
    const PdfTarget::Verdict verdict = this->verdict(chosen, &reason);
    const QString target = PdfTarget::withPdfEnding(chosen);
    if (verdict == PdfTarget::Verdict::Write
        || (verdict == PdfTarget::Verdict::AskToReplace
            && QMessageBox::question(this, tr("Gem resultater som PDF-fil"),
                                     tr("%1 findes allerede.\nVil du erstatte den?").arg(QFileInfo(target).fileName()))
                    == QMessageBox::Yes)) {
        writePdf(device, target);
        return;
    }
    if (verdict == PdfTarget::Verdict::AskToReplace)
        return;
    PlainMessage::warning(this, tr("Ups!"), reason, QMessageBox::Ok, QMessageBox::NoButton);
    const QString fileName = pdfFileName(QFileInfo(target).fileName());
    if (!fileName.isEmpty())
        writePdf(device, fileName);
}

// The module that prints; when it is missing the learner is told, and the report is still
// in the working folder.
PrintDevice *Results::printDevice()
{
    PrintDevice *device = DeviceModule::printing();
    if (!device)
        PlainMessage::warning(this, tr("Kan ikke udskrive"),
                              tr("Hent din lærer.\n\n"
                                 "Til læreren: Skrivlo kan ikke udskrive eller gemme PDF-filer, fordi en del af "
                                 "programmet mangler (skrivlo_devices). Resultaterne er gemt i\n»%1«.\n"
                                 "Udskriv dem derfra, og installér Skrivlo igen.")
                                  .arg(QDir::toNativeSeparators(folder.filePath(tr("results.html")))),
                              QMessageBox::Ok, QMessageBox::NoButton);
    return device;
}

void Results::showWaiting(const QString &classFolder, std::function<void()> retry)
{
    waitingText = tr("Hent din lærer. Resultatet er gemt sikkert på denne pc, men er endnu ikke "
                     "nået frem til klassemappen »%1«. Det bliver sendt, så snart klassemappen "
                     "kan nås: næste gang Skrivlo starter, eller når læreren trykker »Send igen«.")
                          .arg(QDir::toNativeSeparators(classFolder));
    if (!waitingNotice) {
        waitingNotice = new QLabel;
        waitingNotice->setObjectName(QStringLiteral("waitingNotice"));
        waitingNotice->setWordWrap(true);
        waitingNotice->setStyleSheet(QStringLiteral("QLabel { background: #fff3c4; color: black; "
                                                    "border: 1px solid #c9a400; padding: 6px; }"));
        sendAgainButton = new QPushButton(tr("Send igen"), this);
        sendAgainButton->setObjectName(QStringLiteral("sendAgainButton"));
        auto *row = new QHBoxLayout;
        row->addWidget(waitingNotice, 1);
        row->addWidget(sendAgainButton);
        // Between the report and the buttons, where it is seen before printing.
        mainLayout->insertLayout(mainLayout->indexOf(reportView) + 1, row);
    }
    waitingNotice->setText(waitingText);
    waitingNotice->setVisible(true);
    sendAgainButton->setVisible(true);
    disconnect(sendAgainButton, nullptr, this, nullptr);
    // The send runs elsewhere: the button waits for its answer, the page does not.
    connect(sendAgainButton, &QPushButton::clicked, this, [this, retry]() {
        sendAgainButton->setEnabled(false);
        retry();
    });
}

void Results::delivered(bool all, const QString &reason)
{
    if (!waitingNotice)
        return;
    sendAgainButton->setEnabled(true);
    if (all) {
        const bool focusHere = sendAgainButton->hasFocus();
        waitingNotice->setVisible(false);
        sendAgainButton->setVisible(false);
        if (focusHere)
            reportView->setFocus(Qt::OtherFocusReason);
    } else if (waitingNotice->isVisible()) {
        waitingNotice->setText(waitingText + QStringLiteral("\n") + reason);
    }
}
