#include "dictation/dictate2.h"

#include "archive/session.h"
#include "content/storytable.h"
#include "dictation/dictateword.h"
#include "model/reporttext.h"
#include "widgets/reportstage.h"

Dictate2::Dictate2(QWidget *parent, Session &session)
    : DictationPage(parent, dictation2Table(), session)
{
}

bool Dictate2::writeResults()
{
    const QString stamp = elapsedTimeStamp();

    // Each category fills its column from the top in reading order.
    QVector<DictateWord *> columns[3];
    const QVector<StoryPiece> gaps = table.gaps();
    for (int i = 0; i < gaps.size(); ++i)
        columns[static_cast<int>(gaps[i].category)].append(words()[i]);

    const int rowCount = columns[0].size();
    QVector<ReportText::CategoryRow> rows(rowCount);
    std::array<int, 3> counts { 0, 0, 0 };
    for (int row = 0; row < rowCount; ++row) {
        for (int column = 0; column < 3; ++column)
            rows[row][column] = columns[column].value(row)->evaluate(counts[column]);
    }
    session.learner().dictation2Right = counts;
    return ReportStage::write(this, session, ReportFile::Append, ReportText::dictation2Section(stamp, rows, counts));
}
