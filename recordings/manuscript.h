#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

struct DictationTable;

// What every recording says, taken from the texts the program shows: the guidance pages'
// explanations and, for each gap of a dictation, its sentence and then the word alone.
// The build speaks this, so a changed story or page is heard after the next build.
class Manuscript
{
public:
    struct Recording
    {
        QString fileName;  // name in the sounds folder, e.g. "welcome.wav" or "17.wav"
        QStringList parts; // read in this order, with a pause between them
        int pauseMs = 0;

        QString text() const { return parts.join(QLatin1Char(' ')); }
    };

    // All recordings: the four guidance pages, then every gap of both dictations.
    static QVector<Recording> recordings();

    // The story as one line of text: pieces joined by a space, punctuation joined directly.
    static QString runningText(const DictationTable &table);
    // The story's sentences as they are read aloud.
    static QStringList sentences(const DictationTable &table);
    // The sentence that holds gap number gapIndex (0 is the first gap), its word filled in.
    static QString sentenceOf(const DictationTable &table, int gapIndex);

    // What a QLabel shows for text, as one line: rich text without markup, screen line
    // breaks turned into spaces.
    static QString plainText(const QString &labelText);

    // The synthesiser's input for one recording.
    static QString ssml(const Recording &recording);
    // Every file name with its text, for a teacher who checks or re-records them.
    static QString teacherText(const QVector<Recording> &recordings);
};
