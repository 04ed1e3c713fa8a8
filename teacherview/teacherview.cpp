#include "teacherview/teacherview.h"

#include "archive/pdftarget.h"
#include "archive/safefile.h"
#include "model/datetext.h"
#include "model/learnerfilename.h"
#include "model/overviewtext.h"
#include "pages/results.h"
#include "teacherview/learnerremover.h"
#include "teacherview/resultfilter.h"
#include "teacherview/resulttablemodel.h"
#include "teacherview/trinchart.h"
#include "timing/timingmarks.h"
#include "widgets/plainmessage.h"
#include "widgets/teacherguide.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QDate noLimit(2000, 1, 1); // the date fields' "alle"

QPushButton *button(const QString &text, const QString &name, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    return b;
}

} // namespace

TeacherView::TeacherView(const QString &classFolder, const QString &outbox, const QString &work,
                         const ClassListing::Keys &keys, bool fixedPassword, const Retention &retention,
                         QWidget *parent)
    : QMainWindow(parent)
    , workFolder(work)
    , listing(std::make_shared<ClassListing>(classFolder, outbox, keys))
    , share(this)
    , model(new ResultTableModel(this))
    , proxy(new ResultFilter(this))
    , table(new QTableView)
    , chart(new TrinChart)
    , chartPanel(new QWidget)
    , splitter(new QSplitter)
    , chartBox(new QCheckBox(tr("Vis &diagram")))
    , statusLabel(new QLabel)
    , countLabel(new QLabel)
    , searchEdit(new QLineEdit)
    , fromEdit(new QDateEdit)
    , toEdit(new QDateEdit)
    , pollTimer(new QTimer(this))
    , retentionLabel(new QLabel)
    , workLabel(new QLabel)
    , remover(new LearnerRemover({ classFolder, outbox, work,
                                   keys.keyringFolder.isEmpty()
                                           ? QString()
                                           : QDir(keys.keyringFolder).filePath(QStringLiteral("slettede-kursister.txt")) },
                                 share, this))
    , retention(retention)
    // Until the share's thread has said where they really are: as named.
    , closedFolders({ QDir::cleanPath(QDir(classFolder).absolutePath()), QDir::cleanPath(QDir(outbox).absolutePath()) })
{
    setObjectName(QStringLiteral("teacherView"));
    setWindowTitle(tr("Skrivlo – resultater"));
    proxy->setSourceModel(model);
    defaultFolder = QDir::cleanPath(classFolder) == QDir::cleanPath(workFolder.filePath(LearnerFileName::folderName()));

    auto *central = new QWidget;
    auto *layout = new QVBoxLayout(central);

    auto *filterRow = new QHBoxLayout;
    searchEdit->setObjectName(QStringLiteral("searchEdit"));
    searchEdit->setPlaceholderText(tr("Søg i navn"));
    searchEdit->setClearButtonEnabled(true);
    auto *searchLabel = new QLabel(tr("&Navn:"));
    searchLabel->setBuddy(searchEdit);
    for (QDateEdit *edit : { fromEdit, toEdit }) {
        edit->setCalendarPopup(true);
        edit->setDisplayFormat(QStringLiteral("d/M-yyyy")); // as DateText writes a date
        edit->setMinimumDate(noLimit);
        edit->setSpecialValueText(tr("alle"));
        edit->setDate(noLimit);
    }
    fromEdit->setObjectName(QStringLiteral("fromDate"));
    toEdit->setObjectName(QStringLiteral("toDate"));
    auto *fromLabel = new QLabel(tr("&Fra:"));
    fromLabel->setBuddy(fromEdit);
    auto *toLabel = new QLabel(tr("&Til:"));
    toLabel->setBuddy(toEdit);
    filterRow->addWidget(searchLabel);
    filterRow->addWidget(searchEdit, 2);
    filterRow->addSpacing(16);
    filterRow->addWidget(fromLabel);
    filterRow->addWidget(fromEdit);
    filterRow->addWidget(toLabel);
    filterRow->addWidget(toEdit);
    filterRow->addSpacing(16);
    countLabel->setObjectName(QStringLiteral("countLabel"));
    filterRow->addWidget(countLabel, 1);
    chartBox->setObjectName(QStringLiteral("chartBox"));
    chartBox->setChecked(true);
    filterRow->addWidget(chartBox);
    layout->addLayout(filterRow);

    statusLabel->setObjectName(QStringLiteral("statusLabel"));
    statusLabel->setWordWrap(true);
    statusLabel->setTextFormat(Qt::PlainText); // a folder's name is shown as it is
    statusLabel->hide();
    layout->addWidget(statusLabel);
    fixedPasswordLabel = new QLabel(tr("Alle, der har Skrivlo, kan åbne resultaterne, indtil IT sætter skolens eget "
                                       "password (»skrivlo --ny-adgangskode«)."));
    fixedPasswordLabel->setObjectName(QStringLiteral("fixedPasswordLabel"));
    fixedPasswordLabel->setTextFormat(Qt::PlainText);
    fixedPasswordLabel->setWordWrap(true);
    fixedPasswordLabel->setStyleSheet(QStringLiteral("QLabel { background: #fff3c4; color: #000; padding: 6px; }"));
    fixedPasswordLabel->setVisible(fixedPassword);
    layout->addWidget(fixedPasswordLabel);
    retentionLabel->setObjectName(QStringLiteral("retentionLabel"));
    retentionLabel->setTextFormat(Qt::PlainText);
    retentionLabel->setWordWrap(true);
    retentionLabel->setStyleSheet(QStringLiteral("QLabel { background: #fff3c4; color: #000; padding: 6px; }"));
    retentionLabel->setText(retention.line());
    retentionLabel->setVisible(!retention.line().isEmpty());
    layout->addWidget(retentionLabel);
    workLabel->setObjectName(QStringLiteral("workLabel"));
    workLabel->setTextFormat(Qt::PlainText);
    workLabel->setStyleSheet(QStringLiteral("QLabel { background: #dcebf7; color: #000; padding: 6px; }"));
    workLabel->hide();
    layout->addWidget(workLabel);
    // The offer to seal results kept in the clear by an earlier version: a line of its own
    // with its button, shown while there are such results, so the row of buttons below still
    // fits a screen of 1024 pixels.
    sealRow = new QWidget;
    sealRow->setObjectName(QStringLiteral("sealRow"));
    sealRow->setStyleSheet(QStringLiteral("#sealRow { background: #fff3c4; } QLabel { color: #000; }"));
    sealRow->setAttribute(Qt::WA_StyledBackground);
    sealLabel = new QLabel;
    sealLabel->setWordWrap(true);
    sealButton = button(tr("&Beskyt de gamle resultater …"), QStringLiteral("sealButton"), sealRow);
    auto *sealLayout = new QHBoxLayout(sealRow);
    sealLayout->setContentsMargins(6, 4, 6, 4);
    sealLayout->addWidget(sealLabel, 1);
    sealLayout->addWidget(sealButton);
    sealRow->hide();
    layout->addWidget(sealRow);

    table->setObjectName(QStringLiteral("resultTable"));
    table->setModel(proxy);
    table->setSortingEnabled(true);
    table->sortByColumn(ResultTableModel::Date, Qt::DescendingOrder);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setAlternatingRowColors(true);
    table->verticalHeader()->hide();
    // Rows no taller than their text needs: more learners on a small screen.
    table->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setStretchLastSection(true);
    // Column widths from the first rows only: measuring 5,000 rows on every refresh would
    // hold up the window.
    table->horizontalHeader()->setResizeContentsPrecision(100);
    table->setAccessibleName(tr("Kursisternes resultater"));
    // The chart with its own button, beside the table or below it (placeChart).
    auto *pngButton = button(tr("&Gem diagram som billede …"), QStringLiteral("chartPngButton"), chartPanel);
    chartPanel->setObjectName(QStringLiteral("chartPanel"));
    auto *chartLayout = new QVBoxLayout(chartPanel);
    chartLayout->setContentsMargins(0, 0, 0, 0);
    chartLayout->addWidget(chart, 1);
    chartLayout->addWidget(pngButton, 0, Qt::AlignRight);
    splitter->setObjectName(QStringLiteral("tableAndChart"));
    splitter->addWidget(table);
    splitter->addWidget(chartPanel);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 0);
    splitter->setCollapsible(0, false);
    layout->addWidget(splitter, 1);

    auto *buttons = new QHBoxLayout;
    openButton = button(tr("&Åbn resultat"), QStringLiteral("openButton"), central);
    deleteButton = button(tr("&Slet resultat …"), QStringLiteral("deleteButton"), central);
    auto *csvButton = button(tr("Gem som &regneark …"), QStringLiteral("csvButton"), central);
    csvButton->setToolTip(tr("En fil, der åbner som en tabel i Excel og LibreOffice (CSV)"));
    auto *pdfButton = button(tr("Gem oversigt som &PDF-fil …"), QStringLiteral("overviewPdfButton"), central);
    auto *printButton = button(tr("&Udskriv oversigt …"), QStringLiteral("overviewPrintButton"), central);
    auto *refreshButton = button(tr("&Opdatér (F5)"), QStringLiteral("refreshButton"), central);
    auto *helpButton = button(tr("&Hjælp  (F1)"), QStringLiteral("helpButton"), central);
    for (QPushButton *b : { openButton, deleteButton, csvButton, pdfButton, printButton })
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(refreshButton);
    buttons->addWidget(helpButton);
    layout->addLayout(buttons);
    setCentralWidget(central);

    auto *refreshKey = new QAction(this);
    refreshKey->setShortcut(QKeySequence::Refresh);
    addAction(refreshKey);
    auto *deleteKey = new QAction(this);
    deleteKey->setShortcut(QKeySequence::Delete);
    deleteKey->setShortcutContext(Qt::WidgetShortcut);
    table->addAction(deleteKey);
    auto *searchKey = new QAction(this);
    searchKey->setShortcut(QKeySequence::Find);
    addAction(searchKey);
    auto *helpKey = new QAction(this);
    helpKey->setShortcut(QKeySequence::HelpContents);
    addAction(helpKey);

    connect(refreshKey, &QAction::triggered, this, &TeacherView::refresh);
    connect(helpKey, &QAction::triggered, this, [this]() { TeacherGuide::open(this, QLatin1String(guideSection)); });
    connect(helpButton, &QPushButton::clicked, helpKey, &QAction::trigger);
    connect(refreshButton, &QPushButton::clicked, this, &TeacherView::refresh);
    connect(deleteKey, &QAction::triggered, this, &TeacherView::deleteLearner);
    connect(searchKey, &QAction::triggered, searchEdit, [this]() { searchEdit->setFocus(Qt::ShortcutFocusReason); searchEdit->selectAll(); });
    connect(pollTimer, &QTimer::timeout, this, &TeacherView::refresh);
    connect(searchEdit, &QLineEdit::textChanged, this, &TeacherView::filterChanged);
    // Return after the name: on to the first learner found, where Return opens the result.
    connect(searchEdit, &QLineEdit::returnPressed, table, [this]() {
        table->setFocus(Qt::OtherFocusReason);
        if (!currentEntry() && proxy->rowCount() > 0)
            table->selectRow(0);
    });
    connect(fromEdit, &QDateEdit::dateChanged, this, &TeacherView::filterChanged);
    connect(toEdit, &QDateEdit::dateChanged, this, &TeacherView::filterChanged);
    connect(proxy, &QAbstractItemModel::rowsInserted, this, &TeacherView::showCounts);
    connect(proxy, &QAbstractItemModel::rowsRemoved, this, &TeacherView::showCounts);
    connect(proxy, &QAbstractItemModel::dataChanged, this, &TeacherView::showCounts);
    connect(proxy, &QAbstractItemModel::layoutChanged, this, &TeacherView::showCounts);
    connect(proxy, &QAbstractItemModel::modelReset, this, &TeacherView::showCounts);
    connect(table, &QTableView::activated, this, &TeacherView::openReport);
    connect(table->selectionModel(), &QItemSelectionModel::selectionChanged, this, &TeacherView::updateButtons);
    connect(openButton, &QPushButton::clicked, this, &TeacherView::openReport);
    connect(deleteButton, &QPushButton::clicked, this, &TeacherView::deleteLearner);
    connect(csvButton, &QPushButton::clicked, this, &TeacherView::saveSpreadsheet);
    connect(pdfButton, &QPushButton::clicked, this, &TeacherView::saveOverviewPdf);
    connect(printButton, &QPushButton::clicked, this, &TeacherView::printOverview);
    connect(pngButton, &QPushButton::clicked, this, &TeacherView::saveChartPng);
    connect(chartBox, &QCheckBox::toggled, chartPanel, &QWidget::setVisible);
    connect(sealButton, &QPushButton::clicked, this, &TeacherView::sealOld);
    connect(remover, &LearnerRemover::slow, this, [this]() {
        if (deletingSubject.isEmpty())
            return;
        workLabel->setText(tr("Sletter … Klassemappen svarer langsomt; du kan arbejde videre imens."));
        workLabel->show();
    });
    connect(remover, &LearnerRemover::finished, this, &TeacherView::tellDeleted);

    filterChanged();
    countLabel->setText(tr("Klassemappen læses …"));
    searchEdit->setFocus(Qt::OtherFocusReason);
    pollTimer->start(pollMs);
    refresh();
}

// A call still on the share is left to finish on its own thread; its answer goes nowhere.
TeacherView::~TeacherView()
{
    if (remover->isBusy() && !deletingSubject.isEmpty())
        QApplication::restoreOverrideCursor();
}

void TeacherView::refresh()
{
    if (listingRuns) {
        again = true;
        return;
    }
    const std::shared_ptr<ClassListing> reader = listing;
    listingRuns = share.run<Listed>(
            [reader]() {
                Listed listed { reader->scan(), {} };
                // Only an empty or lost folder needs a closer look, for the line above the table.
                const bool learners = std::any_of(listed.result.entries.cbegin(), listed.result.entries.cend(),
                                                  [](const ClassEntry &entry) { return entry.state != ClassEntry::Waiting; });
                if (!learners)
                    listed.survey = FirstLook::survey(reader->classFolder());
                return listed;
            },
            [this](const Listed &read) {
                listingRuns = false;
                showListing(read);
            });
}

void TeacherView::showListing(const Listed &read)
{
    const ClassListing::Result &result = read.result;
    // What was read before stays on screen when the folder is lost: the share may be back in
    // a moment.
    if (result.reachable || !everListed)
        model->setEntries(result.entries); // unreachable: the outbox, which is on this PC
    if (result.reachable)
        closedFolders = result.resolved;
    if (result.reachable) {
        sealLabel->setText(result.unsealed == 1
                                   ? tr("1 resultat fra før er ikke beskyttet: alle, der kan åbne klassemappen, kan læse det.")
                                   : tr("%1 resultater fra før er ikke beskyttet: alle, der kan åbne klassemappen, kan "
                                        "læse dem.").arg(result.unsealed));
        sealRow->setVisible(result.unsealed > 0);
    }
    const int learners = int(std::count_if(result.entries.cbegin(), result.entries.cend(),
                                           [](const ClassEntry &entry) { return entry.state != ClassEntry::Waiting; }));
    shownLine = FirstLook::line(result.reachable, learners, defaultFolder, read.survey);
    statusLabel->setText(firstLookText());
    statusLabel->setStyleSheet(FirstLook::isWarning(shownLine)
                                       ? QStringLiteral("QLabel { background: #fff3c4; color: #000; padding: 6px; }")
                                       : QStringLiteral("QLabel { background: #dcebf7; color: #000; padding: 6px; }"));
    statusLabel->setVisible(shownLine != FirstLook::Line::None);
    if (result.reachable && !everListed)
        TIMING_MARK("class-listed");
    if (result.reachable && !retentionOffered) {
        retentionOffered = true;
        QTimer::singleShot(0, this, &TeacherView::offerRetention);
    }
    everListed = everListed || result.reachable;
    showCounts();
    emit listed();
    if (again) {
        again = false;
        refresh();
    }
}

QString TeacherView::firstLookText() const
{
    return FirstLook::text(shownLine, listing->classFolder(), defaultFolder, everListed);
}

void TeacherView::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    placeChart();
}

void TeacherView::placeChart()
{
    const Qt::Orientation wanted = width() >= chartBesideFrom ? Qt::Horizontal : Qt::Vertical;
    if (chartPlaced && splitter->orientation() == wanted)
        return;
    chartPlaced = true;
    splitter->setOrientation(wanted);
    if (wanted == Qt::Horizontal) {
        chart->setMinimumSize(320, 260);
        chart->setMaximumSize(340, QWIDGETSIZE_MAX);
    } else {
        // Below the table: wide and low, so the table keeps most of the height.
        chart->setMinimumSize(320, 170);
        chart->setMaximumSize(QWIDGETSIZE_MAX, 200);
    }
}

void TeacherView::filterChanged()
{
    proxy->setDateRange(fromEdit->date() == noLimit ? QDate() : fromEdit->date(),
                        toEdit->date() == noLimit ? QDate() : toEdit->date());
    proxy->setNameSearch(searchEdit->text());
    showCounts();
}

// The chart and the count follow the rows shown.
void TeacherView::showCounts()
{
    chart->setCounts(proxy->levelCounts());
    countLabel->setText(tr("%1 af %2 kursister vises").arg(proxy->rowCount()).arg(model->rowCount()));
    updateButtons();
}

const ClassEntry *TeacherView::currentEntry() const
{
    const QModelIndexList rows = table->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return nullptr;
    const int row = proxy->mapToSource(rows.first()).row();
    return row >= 0 && row < model->entries().size() ? &model->entries().at(row) : nullptr;
}

void TeacherView::updateButtons()
{
    const ClassEntry *entry = currentEntry();
    openButton->setEnabled(entry && !entry->reportPath.isEmpty());
    deleteButton->setEnabled(entry != nullptr && !remover->isBusy());
}

// Read on the share's thread; the window answers meanwhile, says after a moment that it is
// working, and a second click does not start a second read.
void TeacherView::openReport()
{
    const ClassEntry *current = currentEntry();
    if (openRuns || !current || current->reportPath.isEmpty())
        return;
    const ClassEntry entry = *current;
    struct Opened
    {
        bool read = false;
        QString html;
        QString reason;
    };
    auto *busy = new QTimer(this);
    busy->setSingleShot(true);
    connect(busy, &QTimer::timeout, this, [this]() { setCursor(Qt::BusyCursor); });
    busy->start(busyAfterMs);
    const std::shared_ptr<ClassListing> reader = listing;
    openRuns = share.run<Opened>(
            [reader, entry]() {
                Opened opened;
                opened.read = reader->openReport(entry, &opened.html, &opened.reason);
                return opened;
            },
            [this, entry, busy](const Opened &opened) {
                busy->deleteLater();
                unsetCursor();
                openRuns = false;
                if (opened.read) {
                    showReport(entry, opened.html);
                    return;
                }
                PlainMessage::information(this, tr("Skrivlo – resultater"),
                                          tr("Resultatet for »%1« kan ikke vises.\n\n%2")
                                                  .arg(ResultTableModel::isolated(entry.row.name), opened.reason));
                refresh();
            });
    if (!openRuns)
        busy->deleteLater();
}

void TeacherView::showReport(const ClassEntry &entry, const QString &html)
{
    emit opening();
    QDialog dialog(this);
    dialog.setObjectName(QStringLiteral("learnerDialog"));
    dialog.setWindowTitle(tr("Resultat – %1").arg(entry.row.name.isEmpty() ? tr("uden navn") : entry.row.name));
    auto *layout = new QVBoxLayout(&dialog);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *page = new Results(&dialog, workFolder);
    // The results page's own look: white captions on the test's dark blue, not on a dialog's grey.
    QPalette dark = page->palette();
    dark.setColor(QPalette::Window, QColor(21, 21, 85));
    page->setPalette(dark);
    page->setAutoFillBackground(true);
    page->saveAnywhereBut(closedFolders);
    page->setLearnerName(entry.row.name);
    page->showReportHtml(html);
    layout->addWidget(page);
    dialog.resize(size() * 0.8);
    dialog.exec();
}

void TeacherView::deleteLearner()
{
    const ClassEntry *current = currentEntry();
    if (!current || remover->isBusy())
        return;
    const ClassEntry entry = *current;
    // Isolated, so that a right-to-left mark in a name cannot turn the date after it around.
    const QString name = entry.row.name.isEmpty() ? tr("uden navn") : ResultTableModel::isolated(entry.row.name);
    const QString asked = entry.state == ClassEntry::Unreadable
            ? tr("Vil du slette filen »%1«?").arg(ResultTableModel::isolated(entry.stem))
            : tr("Vil du slette resultatet for »%1« fra %2?").arg(name, DateText::moment(entry.row.started));
    if (!askToDelete(tr("Slet resultat"),
                     asked + tr("\n\nDet bliver slettet fra klassemappen og fra denne pc, og de andre pc'er "
                                "sletter deres kopier, når de næste gang når klassemappen. Det kan ikke fortrydes."),
                     tr("&Slet resultatet"), tr("&Annullér")))
        return;
    startDeleting({ entry.stem },
                  entry.state == ClassEntry::Unreadable ? tr("Filen »%1«").arg(ResultTableModel::isolated(entry.stem))
                                                        : tr("Resultatet for »%1«").arg(name),
                  false);
}

// Once, when the class folder was first read: results older than the school keeps them are
// deleted, after the teacher says yes, or on their own where IT set that.
void TeacherView::offerRetention()
{
    const QVector<ClassEntry> &entries = model->entries();
    const QVector<int> old = retention.expired(entries, QDateTime::currentDateTime());
    if (remover->isBusy())
        return;
    if (old.isEmpty()) {
        // Nothing to delete: the list of deleted learners is only made whole again, unseen.
        remover->start(listing->keys(), {});
        updateButtons();
        return;
    }
    QStringList stems;
    QStringList names;
    for (int i : old) {
        stems.append(entries.at(i).stem);
        names.append(tr("%1, %2").arg(entries.at(i).row.name.isEmpty() ? tr("uden navn")
                                                                       : ResultTableModel::isolated(entries.at(i).row.name),
                                      DateText::moment(entries.at(i).row.started)));
    }
    const QString subject = old.size() == 1 ? tr("1 resultat ældre end %1 måneder").arg(retention.months())
                                            : tr("%1 resultater ældre end %2 måneder").arg(old.size()).arg(retention.months());
    if (retention.deletesOnItsOwn()) {
        startDeleting(stems, subject, true);
        return;
    }
    const QString listed = names.mid(0, 10).join(QLatin1Char('\n'))
            + (names.size() > 10 ? tr("\nog %1 flere").arg(names.size() - 10) : QString());
    if (askToDelete(tr("Slet gamle resultater"),
                    tr("Skolen gemmer resultaterne i %1 måneder. %2 er ældre end det:\n\n%3\n\nVil du slette "
                       "dem nu? Det kan ikke fortrydes.")
                            .arg(retention.months())
                            .arg(old.size() == 1 ? tr("1 resultat") : tr("%1 resultater").arg(old.size()), listed),
                    tr("&Slet dem"), tr("&Ikke nu")))
        startDeleting(stems, subject, false);
}

// A question whose safe answer (no) is the default, as plain text: names come from learners.
bool TeacherView::askToDelete(const QString &title, const QString &text, const QString &yesText, const QString &noText)
{
    QMessageBox question(QMessageBox::Question, title, text, QMessageBox::NoButton, this);
    question.setTextFormat(Qt::PlainText);
    QPushButton *yes = question.addButton(yesText, QMessageBox::DestructiveRole);
    QPushButton *no = question.addButton(noText, QMessageBox::RejectRole);
    question.setDefaultButton(no);
    question.setEscapeButton(no);
    question.exec();
    return question.clickedButton() == yes;
}

void TeacherView::startDeleting(const QStringList &stems, const QString &subject, bool quietly)
{
    if (!remover->start(listing->keys(), stems))
        return;
    deletingSubject = subject;
    deletingQuietly = quietly;
    QApplication::setOverrideCursor(Qt::BusyCursor);
    updateButtons();
}

void TeacherView::tellDeleted(const LearnerDeletion::Done &done)
{
    updateButtons();
    if (deletingSubject.isEmpty())
        return; // the list made whole again: nothing was asked, nothing to tell
    QApplication::restoreOverrideCursor();
    workLabel->hide();
    refresh();
    const QString told = LearnerRemover::told(done, deletingSubject);
    deletingSubject.clear();
    const bool trouble = !done.reached || !done.left.isEmpty() || !done.listProblem.isEmpty();
    if (deletingQuietly && !trouble) {
        retentionLabel->setText(told);
        retentionLabel->show();
    } else {
        PlainMessage::tell(trouble ? QMessageBox::Warning : QMessageBox::Information, this, tr("Slet resultat"), told);
    }
    emit deleted();
}

// Qt's own dialog, first in the arbejdsmappe, "<baseName> <today>.<suffix>" suggested; empty
// when cancelled. Anywhere the teacher chooses but in the class folder and the outbox, which
// hold only the program's own files.
QString TeacherView::askSaveName(const QString &title, const QString &filter, const QString &suffix,
                                 const QString &baseName)
{
    const QString suggested = baseName + QLatin1Char(' ') + QDate::currentDate().toString(Qt::ISODate)
            + QLatin1Char('.') + suffix;
    QFileDialog dialog(this, title, workFolder.path(), filter);
    dialog.setObjectName(QStringLiteral("saveDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOptions(QFileDialog::DontUseNativeDialog);
    dialog.setDefaultSuffix(suffix);
    dialog.selectFile(suggested);
    while (dialog.exec() == QDialog::Accepted) {
        QString chosen = dialog.selectedFiles().value(0);
        if (!chosen.endsWith(QLatin1Char('.') + suffix, Qt::CaseInsensitive))
            chosen += QLatin1Char('.') + suffix;
        if (!PdfTarget::isInsideResolved(chosen, closedFolders))
            return chosen;
        PlainMessage::warning(&dialog, title, PdfTarget::classFolderClosed());
    }
    return QString();
}

void TeacherView::sayNotWritten(const QString &title, const QString &name)
{
    PlainMessage::warning(this, title, tr("%1 kunne ikke gemmes. Vælg en anden mappe.").arg(QDir::toNativeSeparators(name)));
}

QVector<ResultRow> TeacherView::shownRows() const
{
    QVector<ResultRow> rows;
    for (int row = 0; row < proxy->rowCount(); ++row) {
        const ClassEntry &entry = model->entries().at(proxy->mapToSource(proxy->index(row, 0)).row());
        if (entry.state != ClassEntry::Unreadable)
            rows.append(entry.row);
    }
    return rows;
}

void TeacherView::saveSpreadsheet()
{
    const QVector<ResultRow> rows = shownRows();
    const QString title = tr("Gem %1 som regneark").arg(countText(int(rows.size()), false));
    const QString name = askSaveName(title, tr("Regneark til Excel og LibreOffice (*.csv)"), QStringLiteral("csv"),
                                     tr("Oversigt"));
    if (name.isEmpty())
        return;
    if (!SafeFile::write(name, OverviewText::document(rows)))
        sayNotWritten(title, name);
}

// The source rows in the order given.
QVector<int> TeacherView::rowsOf(const QSortFilterProxyModel &rows) const
{
    QVector<int> found;
    for (int row = 0; row < rows.rowCount(); ++row)
        found.append(rows.mapToSource(rows.index(row, 0)).row());
    return found;
}

// How many of the rows are learners: a file changed or damaged is shown, never counted.
int TeacherView::learnersIn(const QVector<int> &sourceRows) const
{
    return int(std::count_if(sourceRows.cbegin(), sourceRows.cend(), [this](int row) {
        return model->entries().at(row).state != ClassEntry::Unreadable;
    }));
}

// "15 kursister", "1 af 15 kursister": how many of the class an overview holds.
QString TeacherView::countText(int learners, bool all) const
{
    ResultFilter everyone;
    everyone.setSourceModel(model);
    const int total = learnersIn(rowsOf(everyone));
    if (all || learners == total)
        return total == 1 ? tr("1 kursist") : tr("%1 kursister").arg(total);
    return tr("%1 af %2 kursister").arg(learners).arg(total);
}

bool TeacherView::overviewRows(const QString &title, QVector<int> *sourceRows, bool *all)
{
    if (model->rowCount() == 0) {
        PlainMessage::information(this, title, tr("Der er ingen resultater at lave en oversigt over endnu."));
        return false;
    }
    // Every row, in the order the table is sorted in.
    ResultFilter everyone;
    everyone.setSourceModel(model);
    everyone.sort(proxy->sortColumn(), proxy->sortOrder());
    const QVector<int> allRows = rowsOf(everyone);
    const QVector<int> shownRows = rowsOf(*proxy);
    const int shown = learnersIn(shownRows);
    const int total = learnersIn(allRows);
    *all = shown == total;
    // Asked only when the search or the dates hide learners and show some.
    if (!*all && shown > 0) {
        QMessageBox question(QMessageBox::Question, title,
                             tr("Listen viser kun %1. Skal oversigten have dem alle med?").arg(countText(shown, false)),
                             QMessageBox::NoButton, this);
        QPushButton *onlyShown = question.addButton(shown == 1 ? tr("&Kun den viste") : tr("&Kun de %1 viste").arg(shown),
                                                    QMessageBox::AcceptRole);
        QPushButton *everyoneButton = question.addButton(tr("&Alle %1").arg(total), QMessageBox::AcceptRole);
        QPushButton *cancel = question.addButton(tr("Annullér"), QMessageBox::RejectRole);
        question.setDefaultButton(onlyShown);
        question.setEscapeButton(cancel);
        question.exec();
        if (question.clickedButton() != onlyShown && question.clickedButton() != everyoneButton)
            return false;
        *all = question.clickedButton() == everyoneButton;
    }
    *sourceRows = *all ? allRows : shownRows;
    return true;
}

OverviewPrint TeacherView::overviewPrint(const QVector<int> &sourceRows, bool all) const
{
    QString subtitle = countText(learnersIn(sourceRows), all);
    if (!all && !searchEdit->text().trimmed().isEmpty())
        subtitle += tr(", navne med »%1«").arg(searchEdit->text().trimmed());
    if (!all && (fromEdit->date() != noLimit || toEdit->date() != noLimit))
        subtitle += tr(", fra %1 til %2")
                            .arg(fromEdit->date() == noLimit ? tr("den første") : DateText::date(fromEdit->date()),
                                 toEdit->date() == noLimit ? tr("den sidste") : DateText::date(toEdit->date()));
    subtitle += tr(". Udskrevet %1.").arg(DateText::moment(QDateTime::currentDateTime()));

    QStringList headings;
    for (int column = 0; column < ResultTableModel::ColumnCount; ++column)
        headings.append(model->headerData(column, Qt::Horizontal).toString());
    QVector<QVector<OverviewPrint::Cell>> rows;
    std::array<int, 6> counts {};
    for (int source : sourceRows) {
        QVector<OverviewPrint::Cell> cells;
        for (int column = 0; column < ResultTableModel::ColumnCount; ++column) {
            const QModelIndex index = model->index(source, column);
            cells.append({ index.data().toString(), index.data(Qt::BackgroundRole).value<QColor>(),
                           (index.data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight) != 0 });
        }
        rows.append(cells);
        const ClassEntry &entry = model->entries().at(source);
        ++counts[entry.state == ClassEntry::Unreadable ? 5 : size_t(entry.row.level())];
    }
    // The chart of the learners in the overview, which may be more than those shown.
    TrinChart printed;
    printed.setCounts(counts);
    return OverviewPrint(tr("Skrivlo – resultater"), subtitle, headings, rows, printed.picture(QSize(720, 400)));
}

void TeacherView::saveOverviewPdf()
{
    QVector<int> rows;
    bool all = false;
    if (!overviewRows(tr("Gem oversigt som PDF-fil"), &rows, &all))
        return;
    const QString title = tr("Gem oversigt over %1 som PDF-fil").arg(countText(learnersIn(rows), all));
    const QString name = askSaveName(title, tr("Adobe PDF-filer (*.pdf)"), QStringLiteral("pdf"), tr("Oversigt"));
    if (name.isEmpty())
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(name);
    printer.setDocName(tr("Skrivlo – resultater"));
    if (overviewPrint(rows, all).print(printer) == 0 || !QFileInfo(name).isFile() || QFileInfo(name).size() == 0)
        sayNotWritten(title, name);
}

void TeacherView::printOverview()
{
    QVector<int> rows;
    bool all = false;
    if (!overviewRows(tr("Udskriv oversigt"), &rows, &all))
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setDocName(tr("Skrivlo – resultater"));
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(tr("Udskriv oversigt over %1").arg(countText(learnersIn(rows), all)));
    if (dialog.exec() == QDialog::Accepted)
        overviewPrint(rows, all).print(printer);
}

// Once asked for: the class folder's results from before sealing are sealed, on the listing's
// thread, and the teacher is told how many.
void TeacherView::sealOld()
{
    QMessageBox question(QMessageBox::Question, tr("Beskyt de gamle resultater"),
                         tr("Nogle resultater i klassemappen er gemt, før Skrivlo beskyttede dem, så alle, der kan "
                            "åbne klassemappen, kan læse dem.\n\nSkal Skrivlo beskytte dem nu? Hvert resultat "
                            "beskyttes og læses igen, før den ubeskyttede fil slettes."),
                         QMessageBox::NoButton, this);
    QPushButton *yes = question.addButton(tr("&Beskyt dem"), QMessageBox::AcceptRole);
    question.addButton(tr("&Annullér"), QMessageBox::RejectRole);
    question.setDefaultButton(yes);
    question.exec();
    if (question.clickedButton() != yes)
        return;
    sealButton->setEnabled(false);
    setCursor(Qt::BusyCursor);
    const std::shared_ptr<ClassListing> reader = listing;
    share.run<std::pair<int, QString>>(
            [reader]() {
                QString reason;
                const int count = reader->sealUnsealed(&reason);
                return std::pair<int, QString>(count, reason);
            },
            [this](const std::pair<int, QString> &sealed) {
                const auto [count, reason] = sealed;
                unsetCursor();
                sealButton->setEnabled(true);
                PlainMessage::tell(reason.isEmpty() ? QMessageBox::Information : QMessageBox::Warning, this,
                                   tr("Beskyt de gamle resultater"),
                                   (count == 1 ? tr("1 resultat er nu beskyttet.") : tr("%1 resultater er nu beskyttet.").arg(count))
                                           + (reason.isEmpty() ? QString() : QStringLiteral("\n\n") + reason));
                refresh();
            });
}

void TeacherView::saveChartPng()
{
    const QString title = tr("Gem diagrammet som billede");
    const QString name = askSaveName(title, tr("Billeder (*.png)"), QStringLiteral("png"), tr("Diagram"));
    if (name.isEmpty())
        return;
    if (!chart->picture(QSize(960, 640)).save(name, "PNG"))
        sayNotWritten(title, name);
}
