#include "results.h"

#include "darkbutton.h"
#include "resultsfolder.h"
#include "timingmarks.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

Results::Results(QWidget *parent)
    : CenterFrame(parent)
{
    mainLayout = new QVBoxLayout;
    buttonRow = new QHBoxLayout;

    headingLabel = new QLabel(tr("<html><b>Resultater</b></html>"));
    headingLabel->setFont(headingFont);

    reportView = new QTextBrowser;
    reportView->setObjectName(QStringLiteral("reportView"));
    reportView->setFrameShape(QFrame::NoFrame);

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

    connect(pdfButton, &DarkButton::clicked, this, &Results::saveAsPDF);
    connect(printButton, &DarkButton::clicked, this, &Results::printResults);
}

void Results::loadReport()
{
    // An absolute file URL, so the report is read from the results folder whatever a
    // platform would resolve a relative URL against.
    reportView->setSource(QUrl::fromLocalFile(ResultsFolder::filePath(tr("results.html"))));
    reportView->setFocus(Qt::OtherFocusReason);
}

void Results::saveAsPDF()
{
    QPrinter printer(QPrinter::ScreenResolution);
    const QString fileName = QFileDialog::getSaveFileName(this, tr("Gem resultater som PDF-fil"), QString(),
                                                          tr("Adobe PDF-filer (*.pdf)"));
    if (fileName.isEmpty())
        return;
    TIMING_MARK("pdf-begin");
    printer.setOutputFileName(fileName);
    printer.setOutputFormat(QPrinter::PdfFormat);
    reportView->print(&printer);
    TIMING_MARK("pdf-written");
}

void Results::printResults()
{
    QPrinter printer(QPrinter::ScreenResolution);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(tr("Udskriv resultater"));
    if (dialog.exec() == QDialog::Accepted)
        reportView->print(&printer);
}
