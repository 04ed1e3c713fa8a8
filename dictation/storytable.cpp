#include "storytable.h"

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
