#include "model/datetext.h"

#include <QCoreApplication>

namespace DateText {

QString date(const QDate &date)
{
    return date.toString(QStringLiteral("d/M-yyyy"));
}

QString time(const QTime &time)
{
    return time.toString(QStringLiteral("HH.mm"));
}

QString moment(const QDateTime &moment)
{
    return QCoreApplication::translate("DateText", "%1 kl. %2").arg(date(moment.date()), time(moment.time()));
}

} // namespace DateText
