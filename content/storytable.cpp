#include "content/storytable.h"

#include <QSet>

#include <algorithm>

namespace {

bool joinsWithoutSpace(const QString &piece)
{
    return QStringLiteral(",.;:!?").contains(piece.at(0));
}

QString firstWord(const QString &text)
{
    int end = 0;
    while (end < text.size() && text.at(end).isLetter())
        ++end;
    return text.left(end);
}

// Split by hand, not by a regular expression: this runs on the recording survey's thread, and
// the Windows (MinGW) build crashed under Wine when such a thread ended, freeing the
// thread's regular-expression JIT stack.
QSet<QString> wordsOf(const DictationTable &table)
{
    QSet<QString> words;
    for (const StoryLine &line : table.lines) {
        for (const StoryPiece &piece : line.pieces) {
            const QString text = piece.isGap() ? piece.word : piece.text;
            for (int at = 0; at < text.size();) {
                const QString word = firstWord(text.mid(at));
                if (!word.isEmpty())
                    words.insert(word);
                at += qMax<int>(1, word.size());
            }
        }
    }
    return words;
}

StoryText buildStory(const DictationTable &table)
{
    // A story may lack a full stop before a gap's following text ("døren Der er tre i").
    // A capital there starts a new sentence, unless it belongs to a name ("accepteret
    // Jens Bang"): names are the words the story never writes in lowercase.
    const QSet<QString> words = wordsOf(table);

    StoryText story;
    QVector<int> starts { 0 };
    bool afterGap = false;
    for (const StoryLine &line : table.lines) {
        for (const StoryPiece &piece : line.pieces) {
            const QString text = (piece.isGap() ? piece.word : piece.text).trimmed();
            if (text.isEmpty())
                continue;
            if (!story.text.isEmpty() && !joinsWithoutSpace(text))
                story.text += QLatin1Char(' ');
            const int start = story.text.size();
            if (piece.isGap()) {
                story.gapStarts.append(start);
                story.gapLengths.append(text.size());
            } else if (afterGap && text.at(0).isUpper()
                       && words.contains(firstWord(text).toLower())) {
                starts.append(start);
            }
            story.text += text;
            afterGap = piece.isGap();
        }
    }

    for (int i = 0; i + 1 < story.text.size(); ++i) {
        if (QStringLiteral(".!?").contains(story.text.at(i)) && story.text.at(i + 1) == QLatin1Char(' '))
            starts.append(i + 2);
    }
    std::sort(starts.begin(), starts.end());
    starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
    story.sentenceStarts = starts;
    return story;
}

} // namespace

QVector<StoryPiece> DictationTable::gaps() const
{
    QVector<StoryPiece> result;
    for (const StoryLine &line : lines) {
        for (const StoryPiece &piece : line.pieces) {
            if (piece.isGap())
                result.append(piece);
        }
    }
    return result;
}

StoryPiece fixedText(const char *utf8Text)
{
    StoryPiece piece;
    piece.text = QString::fromUtf8(utf8Text);
    return piece;
}

StoryPiece gap(const char *utf8Word, const char *soundFile, SpellingCategory category, bool exactCase)
{
    StoryPiece piece;
    piece.word = QString::fromUtf8(utf8Word);
    piece.soundFile = QString::fromUtf8(soundFile);
    piece.category = category;
    piece.exactCase = exactCase;
    return piece;
}

StoryText storyText(const DictationTable &table)
{
    return buildStory(table);
}

QString StoryText::sentence(int index) const
{
    const int start = sentenceStarts.at(index);
    const int end = index + 1 < sentenceStarts.size() ? sentenceStarts.at(index + 1) : text.size();
    return text.mid(start, end - start).trimmed();
}

QString StoryText::sentenceOfGap(int gapIndex, const QString &standIn) const
{
    if (gapIndex < 0 || gapIndex >= gapStarts.size())
        return QString();
    const int gapStart = gapStarts.at(gapIndex);
    const int index = int(std::upper_bound(sentenceStarts.cbegin(), sentenceStarts.cend(), gapStart)
                          - sentenceStarts.cbegin()) - 1;
    if (standIn.isNull())
        return sentence(index);
    StoryText blanked = *this;
    blanked.text.replace(gapStart, gapLengths.at(gapIndex), standIn);
    for (int &start : blanked.sentenceStarts) {
        if (start > gapStart)
            start += standIn.size() - gapLengths.at(gapIndex);
    }
    return blanked.sentence(index);
}
