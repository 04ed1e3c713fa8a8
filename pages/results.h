#pragma once

#include "centerframe.h"

#include <QStringList>

class DarkButton;
class Devices;
class QHBoxLayout;
class QLabel;
class QTextBrowser;
class QVBoxLayout;

// The last page: shows the finished report and saves it as PDF or prints it.
class Results : public CenterFrame
{
    Q_OBJECT

public:
    explicit Results(QWidget *parent);

    // Loads the report from the working directory; called right before the page is shown.
    void loadReport();
    // Whose results these are, for the name the save dialog suggests.
    void setLearnerName(const QString &name) { learnerName = name; }

private slots:
    void saveAsPDF();
    void printResults();

private:
    QString pdfFileName();
    Devices *printingDevices();

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
