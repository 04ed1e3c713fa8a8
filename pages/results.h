#pragma once

#include "widgets/centerframe.h"

#include <QStringList>

class DarkButton;
class PrintDevice;
class QHBoxLayout;
class QLabel;
class QTextBrowser;
class QVBoxLayout;
class ResultsFolder;

// The last page: shows the finished report and saves it as PDF or prints it.
class Results : public CenterFrame
{
    Q_OBJECT

public:
    // The report is read from the results folder, where the PDF is also offered a place.
    Results(QWidget *parent, const ResultsFolder &folder);

    // Loads the report; called right before the page is shown.
    void loadReport();
    // Shows another report file, as the teacher's view opens one learner's result.
    void showReport(const QString &path);
    // Whose results these are, for the name the save dialog suggests.
    void setLearnerName(const QString &name) { learnerName = name; }

private slots:
    void saveAsPDF();
    void printResults();

private:
    // The folders a PDF may be saved in, with the folders below them.
    QStringList allowedFolders() const;
    QString pdfFileName(const QString &suggested);
    void writePdf(PrintDevice *device, const QString &fileName);
    PrintDevice *printDevice();

    const ResultsFolder &folder;

    QString learnerName;
    QStringList savedPdfs; // the only files a later save may replace
    QVBoxLayout *mainLayout;
    QHBoxLayout *buttonRow;
    QLabel *headingLabel;
    QLabel *pdfCaption;
    QLabel *printCaption;
    QTextBrowser *reportView;
    DarkButton *pdfButton;
    DarkButton *printButton;
};
