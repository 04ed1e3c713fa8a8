#pragma once

#include <QDate>
#include <QSortFilterProxyModel>

#include <array>

// The rows the teacher asked to see: started within a date range, and with the search text
// somewhere in the name (case and accents as typed do not matter for case only).
class ResultFilter : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    explicit ResultFilter(QObject *parent = nullptr);

    void setDateRange(const QDate &from, const QDate &to);
    void setNameSearch(const QString &text);

    // How many of the rows shown reached Trin 1 to 4 (indexes 1-4), did not finish (0),
    // and could not be read (5): what the chart shows.
    std::array<int, 6> levelCounts() const;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    QDate from;
    QDate to;
    QString search;
};
