#include "model/reportscan.h"

#include "model/reporttext.h"
#include "model/resultrow.h"

#include <QCoreApplication>
#include <QRegularExpression>

namespace ReportScan {

namespace {

bool fail(QString *reason, const char *text)
{
    *reason = QCoreApplication::translate("ReportScan", text);
    return false;
}

// A detail line as the report writes it: on a line of its own, the label, the escaped value,
// then <br> (or nothing, for the last).
QString detail(const QString &html, int index)
{
    const QString label = ReportText::detailLabel(index);
    const QRegularExpression pattern(QStringLiteral("^") + QRegularExpression::escape(label)
                                     + QStringLiteral("(.*?)(?:<br>)?$"),
                                     QRegularExpression::MultilineOption);
    QString value = pattern.match(html).captured(1);
    // The reverse of QString::toHtmlEscaped, which wrote it; &amp; last.
    value.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    value.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    value.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    value.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return value;
}

} // namespace

// The patterns are made on each call, never kept in statics: this runs on the teacher's view's
// worker threads, and with MinGW a static pattern used on a pool thread hangs the program at exit.
bool parse(const QString &fileName, const QString &html, ResultRow *row, QString *reason)
{
    const QRegularExpression namePattern(
            QStringLiteral("^(\\d{4}-\\d{2}-\\d{2} \\d{2}\\.\\d{2})[ .]"));
    if (!html.contains(QStringLiteral("<title>Resultater</title>"))
        || !html.contains(QStringLiteral("<h2><u>Diktat til trinindplacering</u></h2>"))
        || !html.contains(QLatin1Char('\n') + ReportText::detailLabel(ReportText::Name)))
        return fail(reason, "Filen er ikke et resultat fra Skrivlo.");

    ResultRow scanned;
    const QRegularExpressionMatch name = namePattern.match(fileName);
    if (name.hasMatch())
        scanned.started = QDateTime::fromString(name.captured(1), QStringLiteral("yyyy-MM-dd HH.mm"));
    if (!scanned.started.isValid())
        return fail(reason, "Filnavnet siger ikke, hvornår testen begyndte.");
    scanned.place = detail(html, ReportText::Place);
    scanned.name = detail(html, ReportText::Name);
    scanned.birthYear = detail(html, ReportText::BirthYear);
    scanned.reportName = fileName;

    const QRegularExpression totalPattern(QStringLiteral("<b>Total: (\\d+)</b>"));
    QVector<int> totals;
    for (auto it = totalPattern.globalMatch(html); it.hasNext();)
        totals.append(it.next().captured(1).toInt());
    const int d1 = html.indexOf(QStringLiteral("<h3>Diktat 1 ["));
    const int d2 = html.indexOf(QStringLiteral("<h3>Diktat 2 ["));
    if (d1 >= 0) {
        if (totals.isEmpty())
            return fail(reason, "Resultatet er ufuldstændigt: Diktat 1 har ingen total.");
        scanned.dictation1Right = totals.at(0);
    }
    if (d2 >= 0) {
        // The category counts are the table's last row, the only cells that are bold numbers.
        const QRegularExpression countRow(QStringLiteral(
                "<tr>\\n<td><b>(\\d+)</b></td><td><b>(\\d+)</b></td><td><b>(\\d+)</b></td>\\n</tr>\\n</table>"));
        const QRegularExpressionMatch counts = countRow.match(html, d2);
        if (!counts.hasMatch() || totals.size() < 2)
            return fail(reason, "Resultatet er ufuldstændigt: Diktat 2 har ingen optælling.");
        // Each count is checked before they are added up: three large ones overflow an int.
        for (int i = 0; i < 3; ++i) {
            scanned.dictation2Right[size_t(i)] = counts.captured(i + 1).toInt();
            if (scanned.dictation2Right[size_t(i)] > 20)
                return fail(reason, "Tallene i resultatet passer ikke sammen.");
        }
        if (scanned.dictation2Total() != totals.at(1))
            return fail(reason, "Tallene i resultatet passer ikke sammen.");
    }
    if (scanned.dictation1Right > 20 || scanned.dictation2Total() > 60)
        return fail(reason, "Tallene i resultatet passer ikke sammen.");

    const QRegularExpression levelPattern(QStringLiteral("<br>\\nTrin (\\d)\\n</small>"));
    const QRegularExpressionMatch level = levelPattern.match(html);
    const bool notFinished = html.contains(QStringLiteral("<b>Testen blev ikke afsluttet.</b>"));
    scanned.finished = level.hasMatch() && !notFinished;
    if (scanned.finished) {
        if (scanned.dictation1Right < 0
            || (d2 < 0 && scanned.dictation1Right >= ReportText::dictation1PassMark)
            || level.captured(1).toInt() != scanned.level())
            return fail(reason, "Trinnet i resultatet passer ikke med tallene.");
    }
    *row = scanned;
    return true;
}

} // namespace ReportScan
