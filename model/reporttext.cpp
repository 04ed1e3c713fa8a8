#include "model/reporttext.h"

#include <QCoreApplication>
#include <QSet>

namespace ReportText {

namespace {

const char *const detailLabels[detailCount] = {
    "Dato: ",
    "Undervisningssted: ",
    "Navn: ",
    "Adresse: ",
    "Fødselsår: ",
    "Antal år i folkeskole: ",
    "Studentereksamen: ",
    "Uddannelse: ",
    "Jobs: ",
};

const char *const categoryHeadings[3] = {
    "<td><b>Kontekstbetingede<br>stavemønstre</b></td>",
    "<td><b>Etymologiske<br>stavemønstre</b></td>",
    "<td><b>Morfologiske<br>stavemønstre</b></td>",
};

QString total(int correct)
{
    return QStringLiteral("<font color=\"blue\"><b>Total: ") + QString::number(correct)
            + QStringLiteral("</b></font>");
}

const char *const documentEnd = "\n</small>\n\n</body>\n</html>\n";

} // namespace

QString detailLabel(int index)
{
    return QString::fromUtf8(detailLabels[index]);
}

QString header(const QStringList &details)
{
    QString text = QStringLiteral(
            "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\" \"http://www.w3.org/TR/html4/strict.dtd\">\n\n"
            "<html>\n\n"
            "<head>\n"
            "<title>Resultater</title>\n"
            "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">\n"
            "</head>\n\n"
            "<body>\n\n"
            "<h2><u>Diktat til trinindplacering</u></h2>\n\n"
            "<p>\n<small>\n");
    for (int i = 0; i < detailCount; ++i) {
        text += detailLabel(i) + details.value(i).toHtmlEscaped();
        text += i + 1 < detailCount ? QStringLiteral("<br>\n") : QStringLiteral("\n</small>\n\n");
    }
    return text;
}

QString dictation1Section(const QString &timeStamp, const QStringList &fragments, int correct)
{
    QString text = QStringLiteral("<h3>Diktat 1 [") + timeStamp + QStringLiteral("]</h3>\n\n<p>\n<small>\n");
    text += fragments.join(QStringLiteral(", ")) + QLatin1Char('.');
    text += QStringLiteral("\n</small>\n\n<p>\n<small>\n") + total(correct);
    if (correct >= dictation1PassMark)
        text += QStringLiteral("\n</small>\n\n");
    else
        text += QStringLiteral("<br>\nTrin 1") + QString::fromLatin1(documentEnd);
    return text;
}

QString dictation2Section(const QString &timeStamp, const QVector<CategoryRow> &rows,
                          const std::array<int, 3> &columnCounts)
{
    QString text = QStringLiteral("<h3>Diktat 2 [") + timeStamp + QStringLiteral("]</h3>\n\n");
    text += QStringLiteral("<p>\n<small>\n<table border=\"1\" cols=\"3\" rows=\"22\">\n");
    text += QStringLiteral("<tr>\n");
    for (const char *heading : categoryHeadings)
        text += QString::fromUtf8(heading);
    text += QStringLiteral("\n</tr>\n");
    for (const CategoryRow &row : rows) {
        text += QStringLiteral("<tr>\n");
        for (const QString &cell : row)
            text += QStringLiteral("<td>") + cell + QStringLiteral("</td>");
        text += QStringLiteral("\n</tr>\n");
    }
    text += QStringLiteral("<tr>\n");
    int sum = 0;
    for (int count : columnCounts) {
        text += QStringLiteral("<td><b>") + QString::number(count) + QStringLiteral("</b></td>");
        sum += count;
    }
    text += QStringLiteral("\n</tr>\n</table>\n</small>\n\n<p>\n<small>\n");
    text += total(sum) + QStringLiteral("<br>\n");
    text += QStringLiteral("Trin ") + QString::number(level(sum)) + QString::fromLatin1(documentEnd);
    return text;
}

QString unfinished(const QString &documentSoFar)
{
    const QString end = QString::fromLatin1(documentEnd).mid(QStringLiteral("\n</small>\n\n").size());
    QString text = documentSoFar;
    if (text.endsWith(end))
        text.chop(end.size());
    return text + QStringLiteral("<p>\n<small>\n<b>")
            + QCoreApplication::translate("ReportText", "Testen blev ikke afsluttet.")
            + QStringLiteral("</b>\n</small>\n\n") + end;
}

int level(int dictation2Total)
{
    if (dictation2Total > 50)
        return 4;
    if (dictation2Total > 37)
        return 3;
    if (dictation2Total >= 22)
        return 2;
    return 1;
}

QString timeStamp(qint64 elapsedSeconds)
{
    const int remainder = int(elapsedSeconds % 3600);
    const int minutes = remainder / 60;
    const int seconds = remainder % 60;
    return QStringLiteral("%1:%2").arg(minutes, 2, 10, QLatin1Char('0')).arg(seconds, 2, 10, QLatin1Char('0'));
}

QString dateText(const QDate &date)
{
    return date.toString(QCoreApplication::translate("Info", "d/M-yyyy"));
}

bool isOwnMarkup(const QString &html)
{
    // Every tag the report is written with, and the plain ones older versions may have used.
    static const QSet<QString> own {
        QStringLiteral("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\" \"http://www.w3.org/TR/html4/strict.dtd\">"),
        QStringLiteral("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">"),
        QStringLiteral("<table border=\"1\" cols=\"3\" rows=\"22\">"),
        QStringLiteral("<font color=\"green\">"), QStringLiteral("<font color=\"blue\">"), QStringLiteral("</font>"),
        QStringLiteral("<br>"),
    };
    static const QStringList paired { QStringLiteral("html"), QStringLiteral("head"), QStringLiteral("title"),
                                      QStringLiteral("body"), QStringLiteral("h2"), QStringLiteral("h3"),
                                      QStringLiteral("u"), QStringLiteral("b"), QStringLiteral("i"), QStringLiteral("s"),
                                      QStringLiteral("p"), QStringLiteral("small"), QStringLiteral("table"),
                                      QStringLiteral("tr"), QStringLiteral("td") };
    // Some hundred tags in a whole report; Qt reads nested tags in a time that grows with the
    // square of their number.
    constexpr int mostTags = 5000;
    int tags = 0;
    int tables = 0;
    for (qsizetype at = html.indexOf(QLatin1Char('<')); at >= 0; at = html.indexOf(QLatin1Char('<'), at + 1)) {
        const qsizetype end = html.indexOf(QLatin1Char('>'), at);
        if (end < 0 || ++tags > mostTags)
            return false;
        const QString tag = html.mid(at, end - at + 1);
        const QString name = tag.mid(tag.startsWith(QLatin1String("</")) ? 2 : 1).chopped(1);
        if (!own.contains(tag) && !paired.contains(name))
            return false;
        if (tag.startsWith(QLatin1String("<table")) && ++tables > 1)
            return false;
        at = end;
    }
    return html.count(QLatin1Char('>')) == tags; // text has its ">" escaped
}

} // namespace ReportText
