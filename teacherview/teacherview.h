#pragma once

#include "archive/classlisting.h"
#include "archive/resultsfolder.h"
#include "model/resultrow.h"

#include <QFutureWatcher>
#include <QMainWindow>
#include <QThreadPool>

#include <memory>

class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QTimer;
class ResultFilter;
class ResultTableModel;
class TrinChart;

// The teacher's view of the class: every learner's result in the class folder and in this
// PC's outbox, with a chart, export, printing and deletion. The folder is listed on a thread
// of its own every few seconds (a share's change notices cannot be trusted) and at once on F5,
// so a slow or lost share never holds up the window.
class TeacherView : public QMainWindow
{
    Q_OBJECT

public:
    // workFolder is this PC's arbejdsmappe: its recovery file, and where PDFs are offered a place.
    // keys: what opens the sealed files. fixedPassword: no school password is set, so anyone
    // with Skrivlo can open them, which the view says in a line of its own.
    TeacherView(const QString &classFolder, const QString &outbox, const QString &workFolder,
                const ClassListing::Keys &keys = ClassListing::Keys(), bool fixedPassword = false,
                QWidget *parent = nullptr);
    ~TeacherView() override;

    static constexpr int pollMs = 3000;

    // Lists the folders again now (F5); while a listing runs, one more follows it.
    void refresh();

    const ResultFilter *filter() const { return proxy; }
    const TrinChart *trinChart() const { return chart; }

signals:
    // A listing has been shown (for tests and the benchmark's mark).
    void listed();

private slots:
    void showListing();
    void filterChanged();
    void showCounts();
    void openReport();
    void deleteLearner();
    void exportCsv();
    void saveOverviewPdf();
    void printOverview();
    void saveChartPng();
    void sealOld();

private:
    const ClassEntry *currentEntry() const;
    QString askSaveName(const QString &title, const QString &filter, const QString &suffix,
                        const QString &baseName);
    void sayNotWritten(const QString &title, const QString &name);
    QString overviewHtml(const QString &chartName) const;
    void renderOverview(class QPrinter &printer) const;
    QVector<ResultRow> shownRows() const;
    bool removeRecoveryOf(const ClassEntry &entry, QString *reason);
    void updateButtons();

    ResultsFolder workFolder;
    std::unique_ptr<ClassListing> listing;
    QThreadPool pool; // one thread: the listing is used from one thread at a time
    QFutureWatcher<ClassListing::Result> watcher;
    bool again = false;
    bool everListed = false;
    ResultTableModel *model;
    ResultFilter *proxy;
    QTableView *table;
    TrinChart *chart;
    QLabel *statusLabel;
    QLabel *countLabel;
    QLineEdit *searchEdit;
    QDateEdit *fromEdit;
    QDateEdit *toEdit;
    QPushButton *openButton;
    QPushButton *deleteButton;
    QPushButton *sealButton;
    QLabel *fixedPasswordLabel;
    QTimer *pollTimer;
};
