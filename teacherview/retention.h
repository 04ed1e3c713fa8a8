#pragma once

#include "archive/classlisting.h"

#include <QDateTime>
#include <QString>
#include <QVector>

// How long the school keeps results, as IT set it in the machine settings, and which results
// are older than that.
class Retention
{
public:
    // Not chosen.
    Retention() = default;
    // months: 0 not chosen, -1 set but not understood (written says how it was written).
    Retention(int months, bool onItsOwn, const QString &written = QString());

    bool isChosen() const { return keep > 0; }
    bool deletesOnItsOwn() const { return isChosen() && onItsOwn; }
    int months() const { return keep; }

    // Results of tests started before this moment are kept no longer.
    QDateTime cutoff(const QDateTime &now) const;
    // The entries (indexes) of learners whose test started before the cutoff; a file that
    // cannot be read has no date and is never among them.
    QVector<int> expired(const QVector<ClassEntry> &entries, const QDateTime &now) const;

    // The line above the table when the school has not chosen, or IT wrote a period that
    // cannot be understood; empty when a period is set.
    QString line() const;

private:
    int keep = 0;
    bool onItsOwn = false;
    QString written;
};
