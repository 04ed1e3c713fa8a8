#pragma once

#include "archive/pdftarget.h"
#include "widgets/centerframe.h"

#include <QStringList>

#include <functional>

class DarkButton;
class PrintDevice;
class QHBoxLayout;
class QLabel;
class QPushButton;
class ReportBrowser;
class QVBoxLayout;
class WorkingFolder;

// The last page: shows the finished report and saves it as PDF or prints it.
class Results : public CenterFrame
{
    Q_OBJECT

public:
    // The report is read from the working folder, where the PDF is also offered a place.
    Results(QWidget *parent, const WorkingFolder &folder);

    // Loads the report; called right before the page is shown.
    void loadReport();
    // A report read and opened by the caller (a sealed one).
    void showReportHtml(const QString &html);
    // A line under the report, only while the result waits in the outbox: that it is safe on
    // this PC and will reach the class folder, with a button for the teacher to send it now.
    // retry asks for a send; how it went comes to delivered().
    void showWaiting(const QString &classFolder, std::function<void()> retry);
    // How the last send went: all arrived (the line goes), or why something still waits.
    void delivered(bool all, const QString &reason);

    // The class folder, where a PDF may be saved too.
    void setClassFolder(const QString &path) { classFolder = path; }
    // For the teacher's view: a PDF may go anywhere the teacher chooses but into these
    // folders (the class folder and the outbox, which hold only the program's own files),
    // given by their real place (PdfTarget::resolveAll, on the share's thread). The learner's
    // page keeps its narrower rules.
    void saveAnywhereBut(const QStringList &folders) { closedFolders = folders; }
    // Whose results these are, for the name the save dialog suggests.
    void setLearnerName(const QString &name) { learnerName = name; }

private slots:
    void saveAsPDF();
    void printResults();

private:
    // The folders a PDF may be saved in, with the folders below them.
    QStringList allowedFolders() const;
    bool teachersRules() const { return !closedFolders.isEmpty(); }
    PdfTarget::Verdict verdict(const QString &chosen, QString *reason) const;
    QStringList sealedFolders() const;
    QString pdfFileName(const QString &suggested);
    void writePdf(PrintDevice *device, const QString &fileName);
    PrintDevice *printDevice();

    const WorkingFolder &folder;

    QString classFolder;
    QStringList closedFolders;
    QString learnerName;
    QStringList savedPdfs; // the only files a later save may replace
    QVBoxLayout *mainLayout;
    QHBoxLayout *buttonRow;
    QLabel *headingLabel;
    QLabel *pdfCaption;
    QLabel *printCaption;
    ReportBrowser *reportView;
    QLabel *waitingNotice = nullptr;
    QPushButton *sendAgainButton = nullptr;
    QString waitingText;
    DarkButton *pdfButton;
    DarkButton *printButton;
};
