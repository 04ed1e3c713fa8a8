#pragma once

#include "archive/classlisting.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QVector>

// Every learner of the class, one row each. Updated in place by stem, so a refresh keeps the
// teacher's selection and scroll position.
class ResultTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    // What a teacher looks for first comes first, so a screen of 1024 pixels shows it whole:
    // the name, the Trin (or "Ikke afsluttet") and both dictations in all; the three kinds of
    // spelling, the place and the year of birth after them.
    enum Column { Date, Start, Name, Level, Dictation1, Dictation2, Context, Etymology, Morphology, Place,
                  BirthYear, State, ColumnCount };
    // What sorting and filtering go by: a date, a number or the text as shown.
    static constexpr int SortRole = Qt::UserRole;
    static constexpr int EntryRole = Qt::UserRole + 1; // index into entries()

    explicit ResultTableModel(QObject *parent = nullptr);

    void setEntries(const QVector<ClassEntry> &entries);
    const QVector<ClassEntry> &entries() const { return rows; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Background and text colour per Trin (0 for not finished), chosen for a contrast of at
    // least 4.5:1 between them.
    static QColor levelBackground(int level);

    // What a learner typed (or a file's name), kept in a direction of its own wherever it is
    // shown: a right-to-left mark in it must not turn the text around it ("Trin 4" read from
    // a Trin 1 row).
    static QString isolated(const QString &typed);

private:
    QVariant text(const ClassEntry &entry, int column) const;
    QVariant sortKey(const ClassEntry &entry, int column) const;

    QVector<ClassEntry> rows;
    QHash<QString, int> rowOf; // "<state>/<stem>" -> row
};
