#include "model/overviewtext.h"

#include "model/learnerrecord.h"
#include "model/resultrow.h"

#include <QCoreApplication>

namespace OverviewText {

namespace {

QString count(int value)
{
    return value < 0 ? QString() : QString::number(value);
}

QString levelText(const ResultRow &result)
{
    if (!result.finished)
        return QCoreApplication::translate("OverviewText", "Ikke afsluttet");
    return QString::number(result.level());
}

} // namespace

QString headerLine()
{
    static const char *const titles[] = {
        QT_TRANSLATE_NOOP("OverviewText", "Dato"),
        QT_TRANSLATE_NOOP("OverviewText", "Starttid"),
        QT_TRANSLATE_NOOP("OverviewText", "Undervisningssted"),
        QT_TRANSLATE_NOOP("OverviewText", "Navn"),
        QT_TRANSLATE_NOOP("OverviewText", "Fødselsår"),
        QT_TRANSLATE_NOOP("OverviewText", "Diktat 1 (af 20)"),
        QT_TRANSLATE_NOOP("OverviewText", "Diktat 2 kontekstbetingede (af 20)"),
        QT_TRANSLATE_NOOP("OverviewText", "Diktat 2 etymologiske (af 20)"),
        QT_TRANSLATE_NOOP("OverviewText", "Diktat 2 morfologiske (af 20)"),
        QT_TRANSLATE_NOOP("OverviewText", "Diktat 2 i alt (af 60)"),
        QT_TRANSLATE_NOOP("OverviewText", "Trin"),
        QT_TRANSLATE_NOOP("OverviewText", "Resultatets fil"),
    };
    QStringList fields;
    for (const char *title : titles)
        fields.append(QCoreApplication::translate("OverviewText", title));
    return line(fields);
}

QString row(const LearnerRecord &learner)
{
    return row(ResultRow::fromRecord(learner, QString()));
}

QString row(const ResultRow &result)
{
    const auto &d2 = result.dictation2Right;
    const bool taken = result.dictation2Taken();
    return line({
            result.started.toString(QStringLiteral("yyyy-MM-dd")),
            result.started.toString(QStringLiteral("HH:mm")),
            result.place,
            result.name,
            result.birthYear,
            count(result.dictation1Right),
            taken ? count(d2[0]) : QString(),
            taken ? count(d2[1]) : QString(),
            taken ? count(d2[2]) : QString(),
            taken ? count(result.dictation2Total()) : QString(),
            levelText(result),
            result.reportName,
    });
}

QByteArray document(const QVector<ResultRow> &rows)
{
    QString text = headerLine();
    for (const ResultRow &result : rows)
        text += row(result);
    return "\xEF\xBB\xBF" + text.toUtf8();
}

// A spreadsheet runs a cell as a formula when it, or a line of it, begins with one of these
// after blanks, tabs or carriage returns, also in their full-width forms. A line may end in
// any of the breaks a spreadsheet knows, a carriage return alone among them.
bool readAsFormula(const QString &value)
{
    static const QString signs = QStringLiteral("=+-@\uFF1D\uFF0B\uFF0D\uFF20");
    static const QString breaks = QStringLiteral("\n\r\v\f\u0085\u2028\u2029");
    if (value.startsWith(QLatin1Char('\t')) || value.startsWith(QLatin1Char('\r')))
        return true;
    bool lineBegins = true;
    for (const QChar c : value) {
        if (breaks.contains(c)) {
            lineBegins = true;
            continue;
        }
        if (!lineBegins || c.isSpace())
            continue;
        if (signs.contains(c))
            return true;
        lineBegins = false;
    }
    return false;
}

QString field(const QString &value)
{
    QString text = value;
    if (readAsFormula(text))
        text.prepend(QLatin1Char('\''));
    const bool quote = text.contains(QLatin1Char(';')) || text.contains(QLatin1Char('"'))
            || text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'))
            || (!text.isEmpty() && (text.front().isSpace() || text.back().isSpace()));
    if (!quote)
        return text;
    text.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QString line(const QStringList &fields)
{
    QStringList quoted;
    for (const QString &value : fields)
        quoted.append(field(value));
    return quoted.join(QLatin1Char(';')) + QStringLiteral("\r\n");
}

} // namespace OverviewText
