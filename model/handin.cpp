#include "model/handin.h"

#include "content/storytable.h"
#include "input/learnertext.h"
#include "model/reporttext.h"

#include <QVector>

namespace HandIn {

bool isRight(const QString &typed, const QString &correctWord, bool exactCase)
{
    const QString answer = LearnerText::clean(typed).trimmed();
    if (answer.isEmpty())
        return false;
    if (exactCase)
        return answer == correctWord;
    return answer.startsWith(correctWord.left(1), Qt::CaseInsensitive) && answer.mid(1) == correctWord.mid(1);
}

QString fragment(const QString &typed, const QString &correctWord, bool exactCase, int &correctCount)
{
    QString answer = LearnerText::clean(typed).trimmed();
    if (answer.isEmpty())
        answer = QStringLiteral("-");
    // The learner's text is escaped so that it can never turn into markup in the report.
    if (isRight(typed, correctWord, exactCase)) {
        ++correctCount;
        return QStringLiteral("<font color=\"green\">") + answer.toHtmlEscaped() + QStringLiteral("</font>");
    }
    return answer.toHtmlEscaped() + QStringLiteral("&nbsp;(") + correctWord + QLatin1Char(')');
}

QString dictation1(const QStringList &answers, const QString &timeStamp, int *correct)
{
    const QVector<StoryPiece> gaps = dictation1Table().gaps();
    *correct = 0;
    QStringList fragments;
    for (int i = 0; i < gaps.size(); ++i)
        fragments.append(fragment(answers.value(i), gaps[i].word, gaps[i].exactCase, *correct));
    return ReportText::dictation1Section(timeStamp, fragments, *correct);
}

QString dictation2(const QStringList &answers, const QString &timeStamp, std::array<int, 3> *counts)
{
    // Each category fills its column from the top in reading order.
    QVector<int> columns[3];
    const QVector<StoryPiece> gaps = dictation2Table().gaps();
    for (int i = 0; i < gaps.size(); ++i)
        columns[static_cast<int>(gaps[i].category)].append(i);
    const int rowCount = columns[0].size();
    QVector<ReportText::CategoryRow> rows(rowCount);
    *counts = { 0, 0, 0 };
    for (int row = 0; row < rowCount; ++row) {
        for (int column = 0; column < 3; ++column) {
            const int i = columns[column].value(row);
            rows[row][column] = fragment(answers.value(i), gaps[i].word, gaps[i].exactCase, (*counts)[column]);
        }
    }
    return ReportText::dictation2Section(timeStamp, rows, *counts);
}

} // namespace HandIn
