#pragma once

#include <QDateTime>
#include <QString>

// How a date and a time are written wherever the teacher reads them, in the view and in the
// boxes: "9/12-2026 kl. 11.35", as the learner's own result writes its date. File names keep
// their sortable form.
namespace DateText {

QString date(const QDate &date);        // "9/12-2026"
QString time(const QTime &time);        // "11.35"
QString moment(const QDateTime &moment); // "9/12-2026 kl. 11.35"

} // namespace DateText
