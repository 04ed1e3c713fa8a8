#include "teacherview/retention.h"

#include "settings/machinesettings.h"

#include <QCoreApplication>

Retention::Retention(int months, bool onItsOwn, const QString &written)
    : keep(months)
    , onItsOwn(onItsOwn)
    , written(written)
{
}

QDateTime Retention::cutoff(const QDateTime &now) const
{
    // addMonths keeps the day where it can: 31 March less one month is the last of February.
    return isChosen() ? now.addMonths(-keep) : QDateTime();
}

QVector<int> Retention::expired(const QVector<ClassEntry> &entries, const QDateTime &now) const
{
    QVector<int> old;
    if (!isChosen())
        return old;
    const QDateTime before = cutoff(now);
    for (int i = 0; i < entries.size(); ++i) {
        const ClassEntry &entry = entries.at(i);
        if (entry.state != ClassEntry::Unreadable && entry.row.started.isValid() && entry.row.started < before)
            old.append(i);
    }
    return old;
}

QString Retention::line() const
{
    if (keep < 0)
        return QCoreApplication::translate("Retention",
                                           "Skolens indstilling for, hvor længe resultaterne gemmes (%1=%2), kan "
                                           "ikke forstås, så intet slettes af sig selv. Bed IT skrive et antal "
                                           "måneder fra 1 til %3.")
                .arg(QLatin1String(MachineSettings::keepMonthsKey), written)
                .arg(MachineSettings::longestKeepMonths);
    if (keep == 0)
        return QCoreApplication::translate("Retention",
                                           "Skolen har ikke valgt, hvor længe resultaterne gemmes, så de gemmes, "
                                           "indtil nogen sletter dem. Bed IT sætte en periode (%1).")
                .arg(QLatin1String(MachineSettings::keepMonthsKey));
    return QString();
}
