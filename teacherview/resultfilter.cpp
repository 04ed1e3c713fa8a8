#include "teacherview/resultfilter.h"

#include "teacherview/resulttablemodel.h"

ResultFilter::ResultFilter(QObject *parent)
    : QSortFilterProxyModel(parent)
{
    setSortRole(ResultTableModel::SortRole);
    setSortLocaleAware(true);
    setDynamicSortFilter(true);
}

void ResultFilter::setDateRange(const QDate &fromDate, const QDate &toDate)
{
    from = fromDate;
    to = toDate;
    invalidateFilter();
}

void ResultFilter::setNameSearch(const QString &text)
{
    search = text.trimmed();
    invalidateFilter();
}

bool ResultFilter::filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const
{
    const auto *model = qobject_cast<const ResultTableModel *>(sourceModel());
    if (!model || sourceParent.isValid())
        return false;
    const ClassEntry &entry = model->entries().at(sourceRow);
    if (entry.state == ClassEntry::Unreadable) // the teacher must see these whatever the filter
        return search.isEmpty() || entry.row.reportName.contains(search, Qt::CaseInsensitive);
    const QDate day = entry.row.started.date();
    if ((from.isValid() && day < from) || (to.isValid() && day > to))
        return false;
    return search.isEmpty() || entry.row.name.contains(search, Qt::CaseInsensitive);
}

std::array<int, 6> ResultFilter::levelCounts() const
{
    std::array<int, 6> counts {};
    const auto *model = qobject_cast<const ResultTableModel *>(sourceModel());
    if (!model)
        return counts;
    for (int row = 0; row < rowCount(); ++row) {
        const ClassEntry &entry = model->entries().at(mapToSource(index(row, 0)).row());
        ++counts[entry.state == ClassEntry::Unreadable ? 5 : size_t(entry.row.level())];
    }
    return counts;
}
