#pragma once

#include "archive/classlisting.h"
#include "archive/learnerdeletion.h"
#include "archive/shareworker.h"
#include "archive/workingfolder.h"
#include "model/resultrow.h"
#include "teacherview/firstlook.h"
#include "teacherview/overviewprint.h"
#include "teacherview/retention.h"

#include <QMainWindow>

#include <memory>

class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QSplitter;
class QTableView;
class QTimer;
class LearnerRemover;
class ResultFilter;
class ResultTableModel;
class TrinChart;

// The teacher's view of the class: every learner's result in the class folder and in this
// PC's outbox, with a chart, export, printing and deletion. The folder is listed on a thread
// of its own every few seconds (a share's change notices cannot be trusted) and at once on F5,
// so a slow or lost share never holds up the window; a result is opened there too, and
// closing the window never waits for a call still on the share.
class TeacherView : public QMainWindow
{
    Q_OBJECT

public:
    // workFolder is this PC's arbejdsmappe: its recovery file, and where PDFs are offered a place.
    // keys: what opens the sealed files. fixedPassword: no school password is set, so anyone
    // with Skrivlo can open them, which the view says in a line of its own. retention: how long
    // the school keeps results; older ones are offered for deletion when the view opens.
    TeacherView(const QString &classFolder, const QString &outbox, const QString &workFolder,
                const ClassListing::Keys &keys = ClassListing::Keys(), bool fixedPassword = false,
                const Retention &retention = Retention(), QWidget *parent = nullptr);
    ~TeacherView() override;

    static constexpr int pollMs = 3000;
    // From this width the chart stands beside the table; on a narrower screen it goes below,
    // so the name, the Trin and both dictations fit across.
    static constexpr int chartBesideFrom = 1200;
    // The guide's section on this window, which F1 opens.
    static constexpr const char *guideSection = "klassens-resultater";

    // Lists the folders again now (F5); while a listing runs, one more follows it.
    void refresh();

    const ResultFilter *filter() const { return proxy; }
    const TrinChart *trinChart() const { return chart; }

    // The line above the table, and its words (for tests).
    FirstLook::Line firstLookLine() const { return shownLine; }
    QString firstLookText() const;

signals:
    // A listing has been shown (for tests and the benchmark's mark).
    void listed();
    // A learner's result has been read and is about to be shown (for tests).
    void opening();
    // A delete has ended and the teacher has been told (for tests).
    void deleted();

protected:
    void resizeEvent(QResizeEvent *event) override;

    // After this long an action on the share shows that it is working.
    static constexpr int busyAfterMs = 500;

private slots:
    void filterChanged();
    void showCounts();
    void openReport();
    void deleteLearner();
    void saveSpreadsheet();
    void saveOverviewPdf();
    void printOverview();
    void saveChartPng();
    void sealOld();
    void offerRetention();

private:
    // A listing and what the class folder held, read together on the listing's thread.
    struct Listed
    {
        ClassListing::Result result;
        FirstLook::Survey survey;
    };

    void showListing(const Listed &read);
    void showReport(const ClassEntry &entry, const QString &html);
    const ClassEntry *currentEntry() const;
    QString askSaveName(const QString &title, const QString &filter, const QString &suffix,
                        const QString &baseName);
    void sayNotWritten(const QString &title, const QString &name);
    // Which rows go into the overview: those shown, or all of them when the teacher says so
    // after a question that comes only when a filter hides some learners. Files changed or
    // damaged go in as they are shown, counted nowhere. False when cancelled.
    bool overviewRows(const QString &title, QVector<int> *sourceRows, bool *all);
    QVector<int> rowsOf(const class QSortFilterProxyModel &rows) const;
    int learnersIn(const QVector<int> &sourceRows) const;
    QString countText(int learners, bool all) const;
    OverviewPrint overviewPrint(const QVector<int> &sourceRows, bool all) const;
    QVector<ResultRow> shownRows() const;
    void placeChart();
    bool askToDelete(const QString &title, const QString &text, const QString &yesText, const QString &noText);
    // Deletes on the remover's thread; what is shown while it works, and told when it ends.
    void startDeleting(const QStringList &stems, const QString &subject, bool quietly);
    void tellDeleted(const LearnerDeletion::Done &done);
    void updateButtons();

    WorkingFolder workFolder;
    // Shared with the share's thread, which may still use it after the window has gone.
    std::shared_ptr<ClassListing> listing;
    ShareWorker share; // one thread: the listing is used from one thread at a time
    bool listingRuns = false;
    bool openRuns = false;
    bool again = false;
    bool everListed = false;
    bool chartPlaced = false;
    bool defaultFolder = false; // "resultater" in the working folder, made by the first result
    FirstLook::Line shownLine = FirstLook::Line::None;
    ResultTableModel *model;
    ResultFilter *proxy;
    QTableView *table;
    TrinChart *chart;
    QWidget *chartPanel;
    QSplitter *splitter;
    QCheckBox *chartBox;
    QLabel *statusLabel;
    QLabel *countLabel;
    QLineEdit *searchEdit;
    QDateEdit *fromEdit;
    QDateEdit *toEdit;
    QPushButton *openButton;
    QPushButton *deleteButton;
    QPushButton *sealButton;
    QWidget *sealRow;
    QLabel *sealLabel;
    QLabel *fixedPasswordLabel;
    QTimer *pollTimer;
    QLabel *retentionLabel;
    QLabel *workLabel;
    LearnerRemover *remover;
    const Retention retention;
    bool retentionOffered = false;
    QString deletingSubject; // "Resultatet for »…«", for the answer
    bool deletingQuietly = false;
    QStringList closedFolders; // the class folder and the outbox by their real place: no PDF goes there
};
