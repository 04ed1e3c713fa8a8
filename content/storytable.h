#pragma once

#include <QString>
#include <QVector>

// The three spelling categories of the second dictation, in the report's column order.
enum class SpellingCategory {
    None = -1,
    Contextual = 0,    // "Kontekstbetingede stavemønstre"
    Etymological = 1,  // "Etymologiske stavemønstre"
    Morphological = 2, // "Morfologiske stavemønstre"
};

// One piece of a line of a story: a fixed text, or a gap that the learner fills in.
struct StoryPiece
{
    QString text;      // the fixed text; empty for a gap
    QString word;      // the gap's correct word; empty for a fixed text
    QString soundFile; // the recording of the gap's sentence, in the sounds folder
    SpellingCategory category = SpellingCategory::None;
    bool exactCase = true; // false forgives the case of the first letter

    bool isGap() const { return !word.isEmpty(); }
};

struct StoryLine
{
    int paragraph; // numbered from 1 in reading order
    QVector<StoryPiece> pieces;
};

// Everything about one dictation: the story with its gaps, answer keys, recordings and
// categories. The page, the report and the recordings' manuscript are all built from it.
struct DictationTable
{
    int number;         // 1 or 2
    int minutes;        // time allowed
    int firstField;     // number of the first gap; its recording is "<number>.wav"
    bool narrowFields;  // field width preset
    QVector<StoryLine> lines;

    // The gaps in reading order.
    QVector<StoryPiece> gaps() const;
};

// Helpers that keep the tables readable.
StoryPiece fixedText(const char *utf8Text);
StoryPiece gap(const char *utf8Word, const char *soundFile,
               SpellingCategory category = SpellingCategory::None, bool exactCase = true);

// A story as one running text, as it is read aloud: pieces joined by a space, punctuation
// joined directly, split into sentences.
struct StoryText
{
    QString text;
    QVector<int> gapStarts;      // where each gap's word begins in text
    QVector<int> gapLengths;
    QVector<int> sentenceStarts; // ascending, the first is 0

    QString sentence(int index) const;
    // The sentence that holds gap number gapIndex (0 is the first gap), its word filled in,
    // or, given a stand-in, with that in the word's place. Empty for no such gap.
    QString sentenceOfGap(int gapIndex, const QString &standIn = QString()) const;
};

StoryText storyText(const DictationTable &table);

const DictationTable &dictation1Table();
const DictationTable &dictation2Table();
