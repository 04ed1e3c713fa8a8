#include "teacherview/teacherview.h"

#include "archive/recoveryfile.h"
#include "archive/safefile.h"
#include "model/overviewtext.h"
#include "model/recoverytext.h"
#include "pages/results.h"
#include "teacherview/resultfilter.h"
#include "teacherview/resulttablemodel.h"
#include "teacherview/trinchart.h"
#include "timing/timingmarks.h"
#include "widgets/teacherguide.h"

#include <QAction>
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
#include <QTextDocument>
#include <QTimer>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

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
                         const ClassListing::Keys &keys, bool fixedPassword, QWidget *parent)
    : QMainWindow(parent)
    , workFolder(work)
    , listing(std::make_unique<ClassListing>(classFolder, outbox, keys))
    , model(new ResultTableModel(this))
    , proxy(new ResultFilter(this))
    , table(new QTableView)
    , chart(new TrinChart)
    , statusLabel(new QLabel)
    , countLabel(new QLabel)
    , searchEdit(new QLineEdit)
    , fromEdit(new QDateEdit)
    , toEdit(new QDateEdit)
    , pollTimer(new QTimer(this))
{
    setObjectName(QStringLiteral("teacherView"));
    setWindowTitle(tr("Skrivlo – resultater"));
    pool.setMaxThreadCount(1);
    proxy->setSourceModel(model);

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
        edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
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
    layout->addLayout(filterRow);

    statusLabel->setObjectName(QStringLiteral("statusLabel"));
    statusLabel->setWordWrap(true);
    statusLabel->setStyleSheet(QStringLiteral("QLabel { background: #fff3c4; color: #000; padding: 6px; }"));
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

    table->setObjectName(QStringLiteral("resultTable"));
    table->setModel(proxy);
    table->setSortingEnabled(true);
    table->sortByColumn(ResultTableModel::Date, Qt::DescendingOrder);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setAlternatingRowColors(true);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setStretchLastSection(true);
    // Column widths from the first rows only: measuring 5,000 rows on every refresh would
    // hold up the window.
    table->horizontalHeader()->setResizeContentsPrecision(100);
    table->setAccessibleName(tr("Kursisternes resultater"));
    auto *splitter = new QSplitter;
    splitter->addWidget(table);
    splitter->addWidget(chart);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 0);
    splitter->setCollapsible(0, false);
    layout->addWidget(splitter, 1);

    auto *buttons = new QHBoxLayout;
    openButton = button(tr("&Åbn resultat"), QStringLiteral("openButton"), central);
    deleteButton = button(tr("&Slet kursist …"), QStringLiteral("deleteButton"), central);
    auto *csvButton = button(tr("&Eksportér CSV …"), QStringLiteral("csvButton"), central);
    auto *pdfButton = button(tr("Gem oversigt som &PDF-fil …"), QStringLiteral("overviewPdfButton"), central);
    auto *printButton = button(tr("&Udskriv oversigt …"), QStringLiteral("overviewPrintButton"), central);
    auto *pngButton = button(tr("Gem &diagram som PNG …"), QStringLiteral("chartPngButton"), central);
    auto *refreshButton = button(tr("&Opdatér (F5)"), QStringLiteral("refreshButton"), central);
    auto *helpButton = button(tr("&Hjælp  (F1)"), QStringLiteral("helpButton"), central);
    sealButton = button(tr("&Beskyt de gamle resultater …"), QStringLiteral("sealButton"), central);
    sealButton->hide();
    for (QPushButton *b : { openButton, deleteButton, csvButton, pdfButton, printButton, pngButton })
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(sealButton);
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
    connect(helpKey, &QAction::triggered, this, [this]() { TeacherGuide::open(this); });
    connect(helpButton, &QPushButton::clicked, helpKey, &QAction::trigger);
    connect(refreshButton, &QPushButton::clicked, this, &TeacherView::refresh);
    connect(deleteKey, &QAction::triggered, this, &TeacherView::deleteLearner);
    connect(searchKey, &QAction::triggered, searchEdit, [this]() { searchEdit->setFocus(Qt::ShortcutFocusReason); searchEdit->selectAll(); });
    connect(pollTimer, &QTimer::timeout, this, &TeacherView::refresh);
    connect(&watcher, &QFutureWatcher<ClassListing::Result>::finished, this, &TeacherView::showListing);
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
    connect(csvButton, &QPushButton::clicked, this, &TeacherView::exportCsv);
    connect(pdfButton, &QPushButton::clicked, this, &TeacherView::saveOverviewPdf);
    connect(printButton, &QPushButton::clicked, this, &TeacherView::printOverview);
    connect(pngButton, &QPushButton::clicked, this, &TeacherView::saveChartPng);
    connect(sealButton, &QPushButton::clicked, this, &TeacherView::sealOld);

    filterChanged();
    countLabel->setText(tr("Klassemappen læses …"));
    searchEdit->setFocus(Qt::OtherFocusReason);
    pollTimer->start(pollMs);
    refresh();
}

TeacherView::~TeacherView()
{
    // The listing thread may still wait on a share; it finishes on its own, with the listing
    // kept alive until then.
    watcher.disconnect(this);
    pool.waitForDone();
}

void TeacherView::refresh()
{
    if (watcher.isRunning()) {
        again = true;
        return;
    }
    ClassListing *reader = listing.get();
    watcher.setFuture(QtConcurrent::run(&pool, [reader]() { return reader->scan(); }));
}

void TeacherView::showListing()
{
    const ClassListing::Result result = watcher.result();
    if (result.reachable) {
        statusLabel->hide();
        model->setEntries(result.entries);
        sealButton->setVisible(result.unsealed > 0);
    } else {
        // What was read before stays on screen: the share may be back in a moment.
        statusLabel->setText(tr("%1 Listen viser det, der sidst blev læst%2. Skrivlo prøver igen om %3 sek.; "
                                "du kan også trykke F5. Tjek netværket, eller spørg IT.")
                                     .arg(result.problem,
                                          everListed ? QString() : tr(" (intet endnu)"))
                                     .arg(pollMs / 1000));
        statusLabel->show();
        if (!everListed)
            model->setEntries(result.entries); // the outbox, which is on this PC
    }
    if (result.reachable && !everListed)
        TIMING_MARK("class-listed");
    everListed = everListed || result.reachable;
    showCounts();
    emit listed();
    if (again) {
        again = false;
        refresh();
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
    deleteButton->setEnabled(entry != nullptr);
}

void TeacherView::openReport()
{
    const ClassEntry *entry = currentEntry();
    if (!entry || entry->reportPath.isEmpty())
        return;
    QString html;
    QString reason;
    if (!listing->openReport(*entry, &html, &reason)) {
        QMessageBox box(QMessageBox::Information, tr("Skrivlo – resultater"),
                        tr("Resultatet for »%1« kan ikke vises.\n\n%2").arg(entry->row.name, reason),
                        QMessageBox::Ok, this);
        box.setTextFormat(Qt::PlainText);
        box.exec();
        refresh();
        return;
    }
    QDialog dialog(this);
    dialog.setObjectName(QStringLiteral("learnerDialog"));
    dialog.setWindowTitle(tr("Resultat – %1").arg(entry->row.name.isEmpty() ? tr("uden navn") : entry->row.name));
    auto *layout = new QVBoxLayout(&dialog);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *page = new Results(&dialog, workFolder);
    page->setLearnerName(entry->row.name);
    page->showReportHtml(html);
    layout->addWidget(page);
    dialog.resize(size() * 0.8);
    dialog.exec();
}

void TeacherView::deleteLearner()
{
    const ClassEntry *current = currentEntry();
    if (!current)
        return;
    const ClassEntry entry = *current;
    const QString who = entry.state == ClassEntry::Unreadable
            ? tr("filen »%1«").arg(entry.stem)
            : tr("»%1« (%2)").arg(entry.row.name.isEmpty() ? tr("uden navn") : entry.row.name,
                                   entry.row.started.toString(QStringLiteral("yyyy-MM-dd HH:mm")));
    QMessageBox question(QMessageBox::Question, tr("Slet kursist"),
                         tr("Vil du slette resultatet for %1?\n\nResultatet og datafilen "
                            "slettes fra klassemappen og udbakken. Det kan ikke fortrydes.").arg(who),
                         QMessageBox::NoButton, this);
    question.setTextFormat(Qt::PlainText);
    QPushButton *yes = question.addButton(tr("&Slet"), QMessageBox::DestructiveRole);
    QPushButton *no = question.addButton(tr("&Annullér"), QMessageBox::RejectRole);
    question.setDefaultButton(no);
    question.setEscapeButton(no);
    question.exec();
    if (question.clickedButton() != yes)
        return;
    QString reason;
    bool removed = ClassListing::remove(listing->classFolder(), listing->outbox(), entry.stem, &reason);
    if (removed)
        removed = removeRecoveryOf(entry, &reason);
    if (!removed)
        QMessageBox::warning(this, tr("Slet kursist"), tr("Sletningen lykkedes ikke.\n\n%1").arg(reason));
    refresh();
}

// A test of this learner that was interrupted on this PC could bring the details back.
bool TeacherView::removeRecoveryOf(const ClassEntry &entry, QString *reason)
{
    if (!RecoveryFile::exists(workFolder))
        return true;
    RecoveryState state;
    QString unread;
    if (!RecoveryFile::read(workFolder, listing->keys(), &state, &unread))
        return true; // not understood: it cannot be told whose it is, so it is left for the teacher
    if (QFileInfo(state.learner.reportName).fileName() != entry.row.reportName)
        return true;
    RecoveryFile::remove(workFolder);
    if (RecoveryFile::exists(workFolder)) {
        *reason = tr("Den gemte test på denne pc (%1) kunne ikke slettes.")
                          .arg(QDir::toNativeSeparators(RecoveryFile::path(workFolder)));
        return false;
    }
    return true;
}

// Qt's own dialog in the arbejdsmappe, "<baseName> <today>.<suffix>" suggested; empty when cancelled.
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
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    QString chosen = dialog.selectedFiles().value(0);
    if (!chosen.endsWith(QLatin1Char('.') + suffix, Qt::CaseInsensitive))
        chosen += QLatin1Char('.') + suffix;
    return chosen;
}

void TeacherView::sayNotWritten(const QString &title, const QString &name)
{
    QMessageBox::warning(this, title, tr("%1 kunne ikke skrives. Vælg en anden mappe.").arg(QDir::toNativeSeparators(name)));
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

void TeacherView::exportCsv()
{
    const QString name = askSaveName(tr("Eksportér de viste kursister som CSV"), tr("CSV-filer (*.csv)"),
                                     QStringLiteral("csv"), tr("Oversigt"));
    if (name.isEmpty())
        return;
    if (!SafeFile::write(name, OverviewText::document(shownRows())))
        sayNotWritten(tr("Eksportér CSV"), name);
}

QString TeacherView::overviewHtml(const QString &chartName) const
{
    QString html = QStringLiteral("<html><body><h2>") + tr("Skrivlo – resultater").toHtmlEscaped()
            + QStringLiteral("</h2><p>") + countLabel->text().toHtmlEscaped();
    if (!searchEdit->text().trimmed().isEmpty())
        html += tr(", navne med »%1«").arg(searchEdit->text().trimmed()).toHtmlEscaped();
    if (fromEdit->date() != noLimit || toEdit->date() != noLimit)
        html += tr(", fra %1 til %2")
                        .arg(fromEdit->date() == noLimit ? tr("første") : fromEdit->date().toString(Qt::ISODate),
                             toEdit->date() == noLimit ? tr("sidste") : toEdit->date().toString(Qt::ISODate))
                        .toHtmlEscaped();
    html += QStringLiteral("</p><table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\"><tr>");
    for (int column = 0; column < ResultTableModel::ColumnCount; ++column)
        html += QStringLiteral("<th>") + proxy->headerData(column, Qt::Horizontal).toString().toHtmlEscaped()
                        .replace(QLatin1Char('\n'), QStringLiteral("<br>")) + QStringLiteral("</th>");
    html += QStringLiteral("</tr>");
    for (int row = 0; row < proxy->rowCount(); ++row) {
        html += QStringLiteral("<tr>");
        for (int column = 0; column < ResultTableModel::ColumnCount; ++column) {
            const QModelIndex index = proxy->index(row, column);
            const QVariant background = index.data(Qt::BackgroundRole);
            html += background.isValid()
                    ? QStringLiteral("<td bgcolor=\"%1\">").arg(background.value<QColor>().name())
                    : QStringLiteral("<td>");
            html += index.data().toString().toHtmlEscaped() + QStringLiteral("</td>");
        }
        html += QStringLiteral("</tr>");
    }
    html += QStringLiteral("</table><p><img src=\"") + chartName + QStringLiteral("\" width=\"600\"></p></body></html>");
    return html;
}

void TeacherView::renderOverview(QPrinter &printer) const
{
    // Thirteen columns read better across the page.
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Landscape);
    QTextDocument document;
    const QString chartName = QStringLiteral("skrivlo-diagram.png");
    document.addResource(QTextDocument::ImageResource, QUrl(chartName), chart->picture(QSize(720, 400)));
    QFont font = document.defaultFont();
    font.setPointSize(8);
    document.setDefaultFont(font);
    document.setHtml(overviewHtml(chartName));
    document.print(&printer);
}

void TeacherView::saveOverviewPdf()
{
    const QString name = askSaveName(tr("Gem oversigten som PDF-fil"), tr("Adobe PDF-filer (*.pdf)"),
                                     QStringLiteral("pdf"), tr("Oversigt"));
    if (name.isEmpty())
        return;
    QPrinter printer(QPrinter::ScreenResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(name);
    renderOverview(printer);
    if (!QFileInfo(name).isFile() || QFileInfo(name).size() == 0)
        sayNotWritten(tr("Gem oversigten som PDF-fil"), name);
}

void TeacherView::printOverview()
{
    QPrinter printer(QPrinter::ScreenResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(tr("Udskriv oversigt"));
    if (dialog.exec() == QDialog::Accepted)
        renderOverview(printer);
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
    auto *sealing = new QFutureWatcher<std::pair<int, QString>>(this);
    connect(sealing, &QFutureWatcher<std::pair<int, QString>>::finished, this, [this, sealing]() {
        const auto [count, reason] = sealing->result();
        sealing->deleteLater();
        unsetCursor();
        sealButton->setEnabled(true);
        QMessageBox box(reason.isEmpty() ? QMessageBox::Information : QMessageBox::Warning,
                        tr("Beskyt de gamle resultater"),
                        tr("%1 resultater er nu beskyttet.").arg(count) + (reason.isEmpty() ? QString() : QStringLiteral("\n\n") + reason),
                        QMessageBox::Ok, this);
        box.setTextFormat(Qt::PlainText);
        box.exec();
        refresh();
    });
    ClassListing *reader = listing.get();
    sealing->setFuture(QtConcurrent::run(&pool, [reader]() {
        QString reason;
        const int count = reader->sealUnsealed(&reason);
        return std::pair<int, QString>(count, reason);
    }));
}

void TeacherView::saveChartPng()
{
    const QString name = askSaveName(tr("Gem diagrammet som PNG-fil"), tr("PNG-billeder (*.png)"),
                                     QStringLiteral("png"), tr("Diagram"));
    if (name.isEmpty())
        return;
    if (!chart->picture(QSize(960, 640)).save(name, "PNG"))
        sayNotWritten(tr("Gem diagrammet som PNG-fil"), name);
}
