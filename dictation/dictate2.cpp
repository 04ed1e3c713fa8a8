#include "dictate2.h"

#include "dictateword.h"
#include "learnerrecord.h"
#include "reportfile.h"
#include "reporttext.h"
#include "storytable.h"

Dictate2::Dictate2(QWidget *parent)
    : DictationPage(parent, dictation2Table())
{
}

void Dictate2::writeResults()
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
    currentLearner().dictation2Right = counts;
    ReportFile::writeOrExit(this, ReportFile::Append, ReportText::dictation2Section(stamp, rows, counts));
}
