#include "teacherview/resulttablemodel.h"

#include "model/datetext.h"

#include <QColor>
#include <QTextDocument>

namespace {

QString count(int value)
{
    return value < 0 ? QString() : QString::number(value);
}

// Waiting and handed-in rows of the same stem are different rows until the outbox is sent.
QString key(const ClassEntry &entry)
{
    return QString::number(entry.state == ClassEntry::Waiting) + QLatin1Char('/') + entry.stem;
}

} // namespace

QString ResultTableModel::isolated(const QString &typed)
{
    return QChar(0x2068) + typed + QChar(0x2069);
}

ResultTableModel::ResultTableModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

void ResultTableModel::setEntries(const QVector<ClassEntry> &entries)
{
    QHash<QString, int> wanted;
    for (int i = 0; i < entries.size(); ++i)
        wanted.insert(key(entries.at(i)), i);
    // Rows gone, from the bottom so the numbers above stay right.
    for (int row = rows.size() - 1; row >= 0; --row) {
        if (wanted.contains(key(rows.at(row))))
            continue;
        beginRemoveRows(QModelIndex(), row, row);
        rows.removeAt(row);
        endRemoveRows();
    }
    rowOf.clear();
    for (int row = 0; row < rows.size(); ++row)
        rowOf.insert(key(rows.at(row)), row);
    QVector<ClassEntry> added;
    for (const ClassEntry &entry : entries) {
        const auto found = rowOf.constFind(key(entry));
        if (found == rowOf.constEnd()) {
            added.append(entry);
            continue;
        }
        ClassEntry &old = rows[*found];
        if (old.row == entry.row && old.state == entry.state && old.problem == entry.problem
            && old.reportPath == entry.reportPath && old.dataPath == entry.dataPath)
            continue;
        old = entry;
        emit dataChanged(index(*found, 0), index(*found, ColumnCount - 1));
    }
    if (added.isEmpty())
        return;
    beginInsertRows(QModelIndex(), rows.size(), rows.size() + added.size() - 1);
    for (const ClassEntry &entry : std::as_const(added)) {
        rowOf.insert(key(entry), rows.size());
        rows.append(entry);
    }
    endInsertRows();
}

int ResultTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : rows.size();
}

int ResultTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ResultTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rows.size())
        return QVariant();
    const ClassEntry &entry = rows.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return text(entry, index.column());
    case SortRole:
        return sortKey(entry, index.column());
    case EntryRole:
        return index.row();
    case Qt::ToolTipRole:
        // A tooltip is rich text when it looks like it, and the file's name is anyone's.
        return entry.state == ClassEntry::Unreadable ? Qt::convertFromPlainText(entry.problem) : QVariant();
    case Qt::BackgroundRole:
        if (index.column() == Level && entry.state != ClassEntry::Unreadable)
            return levelBackground(entry.row.level());
        if (entry.state == ClassEntry::Unreadable)
            return QColor(0xf2, 0xd7, 0xd5);
        return QVariant();
    case Qt::ForegroundRole:
        if (index.column() == Level || entry.state == ClassEntry::Unreadable)
            return QColor(Qt::black);
        return QVariant();
    case Qt::TextAlignmentRole:
        if (index.column() >= Dictation1 && index.column() <= Morphology)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return QVariant();
    default:
        return QVariant();
    }
}

QVariant ResultTableModel::text(const ClassEntry &entry, int column) const
{
    const ResultRow &row = entry.row;
    if (entry.state == ClassEntry::Unreadable) {
        // The file's name goes where there is room; the tooltip says what is wrong with it.
        if (column == Name)
            return tr("Ændret eller beskadiget");
        if (column == State)
            return isolated(row.reportName); // the file's name, which anyone may have chosen
        return QString();
    }
    const bool taken = row.dictation2Taken();
    switch (column) {
    case Date: return DateText::date(row.started.date());
    case Start: return DateText::time(row.started.time());
    case Name: return row.name.isEmpty() ? tr("uden navn") : isolated(row.name);
    case Place: return isolated(row.place);
    case BirthYear: return isolated(row.birthYear);
    case Dictation1: return count(row.dictation1Right);
    case Context: return taken ? count(row.dictation2Right[0]) : QString();
    case Etymology: return taken ? count(row.dictation2Right[1]) : QString();
    case Morphology: return taken ? count(row.dictation2Right[2]) : QString();
    case Dictation2: return count(row.dictation2Total());
    case Level: return row.finished ? tr("Trin %1").arg(row.level()) : tr("Ikke afsluttet");
    case State:
        if (entry.state == ClassEntry::Waiting)
            return tr("Venter i udbakken");
        return entry.unsealed ? tr("Ikke beskyttet") : QString();
    default: return QString();
    }
}

QVariant ResultTableModel::sortKey(const ClassEntry &entry, int column) const
{
    // An unreadable file sorts before every learner, whatever the column.
    if (entry.state == ClassEntry::Unreadable) {
        if (column == State)
            return entry.row.reportName.toLower();
        if (column == Name || column == Place)
            return QString();
        return column == Date || column == Start ? QVariant(QDateTime()) : QVariant(-2);
    }
    const ResultRow &row = entry.row;
    switch (column) {
    case Date:
    case Start: return row.started;
    case Name: return row.name.toLower();
    case Place: return row.place.toLower();
    case BirthYear: return row.birthYear.toInt();
    case Dictation1: return row.dictation1Right;
    case Context:
    case Etymology:
    case Morphology: return row.dictation2Right[size_t(column - Context)];
    case Dictation2: return row.dictation2Total();
    case Level: return row.level();
    case State: return int(entry.state);
    default: return QVariant();
    }
}

QVariant ResultTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::InitialSortOrderRole)
        return int(Qt::AscendingOrder); // a first click on any column sorts from the lowest
    if (orientation == Qt::Horizontal && role == Qt::ToolTipRole) {
        switch (section) {
        case Context: return tr("Diktat 2: kontekstbetingede stavemønstre (af 20)");
        case Etymology: return tr("Diktat 2: etymologiske stavemønstre (af 20)");
        case Morphology: return tr("Diktat 2: morfologiske stavemønstre (af 20)");
        case Dictation2: return tr("Diktat 2 i alt (af 60)");
        default: return QVariant();
        }
    }
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Date: return tr("Dato");
    case Start: return tr("Start");
    case Name: return tr("Navn");
    case Place: return tr("Undervisningssted");
    case BirthYear: return tr("Fødselsår");
    case Dictation1: return tr("Diktat 1\n(af 20)");
    case Context: return tr("Kontekst-\nbetingede");
    case Etymology: return tr("Etymo-\nlogiske");
    case Morphology: return tr("Morfo-\nlogiske");
    case Dictation2: return tr("Diktat 2\ni alt");
    case Level: return tr("Trin");
    case State: return tr("Status");
    default: return QVariant();
    }
}

QColor ResultTableModel::levelBackground(int level)
{
    // Light tints: black text on each has a contrast above 12:1.
    switch (level) {
    case 1: return QColor(0xf9, 0xc8, 0xc0); // rose
    case 2: return QColor(0xfc, 0xe3, 0x9c); // amber
    case 3: return QColor(0xbf, 0xe0, 0xf5); // sky
    case 4: return QColor(0xc3, 0xe8, 0xc0); // green
    default: return QColor(0xe0, 0xe0, 0xe0); // grey: not finished
    }
}
