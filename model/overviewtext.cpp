#include "model/overviewtext.h"

#include "model/learnerrecord.h"
#include "model/reporttext.h"

#include <QCoreApplication>

namespace OverviewText {

namespace {

enum Detail { Place = 1, Name = 2, BirthYear = 4 };

QString count(int value)
{
    return value < 0 ? QString() : QString::number(value);
}

QString levelText(const LearnerRecord &learner)
{
    if (!learner.finished)
        return QCoreApplication::translate("OverviewText", "Ikke afsluttet");
    if (!learner.dictation2Taken())
        return QStringLiteral("1");
    const auto &d2 = learner.dictation2Right;
    return QString::number(ReportText::level(d2[0] + d2[1] + d2[2]));
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
    const auto &d2 = learner.dictation2Right;
    const bool taken = learner.dictation2Taken();
    return line({
            learner.started.toString(QStringLiteral("yyyy-MM-dd")),
            learner.started.toString(QStringLiteral("HH:mm")),
            learner.details.value(Place),
            learner.details.value(Name),
            learner.details.value(BirthYear),
            count(learner.dictation1Right),
            taken ? count(d2[0]) : QString(),
            taken ? count(d2[1]) : QString(),
            taken ? count(d2[2]) : QString(),
            taken ? count(d2[0] + d2[1] + d2[2]) : QString(),
            levelText(learner),
            learner.reportName,
    });
}

QString field(const QString &value)
{
    QString text = value;
    if (!text.isEmpty() && QStringLiteral("=+-@").contains(text.front()))
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
