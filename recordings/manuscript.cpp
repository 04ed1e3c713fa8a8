#include "recordings/manuscript.h"

#include "content/pagetexts.h"
#include "content/storytable.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QTextDocument>
#include <QTextDocumentFragment>

namespace {

constexpr int guidancePauseMs = 600;
// Long enough that the learner hears the repeated word as a word on its own.
constexpr int wordPauseMs = 1000;

Manuscript::Recording guidance(const QString &fileName, const QStringList &labelTexts)
{
    Manuscript::Recording recording;
    recording.fileName = fileName;
    recording.pauseMs = guidancePauseMs;
    for (const QString &labelText : labelTexts) {
        const QString plain = Manuscript::plainText(labelText);
        if (!plain.isEmpty())
            recording.parts.append(plain);
    }
    return recording;
}

Manuscript::Recording guidance(const PageTexts::GuideText &content)
{
    return guidance(QFileInfo(content.soundFile).fileName(),
                    QStringList { content.heading } + content.paragraphs);
}

// Written forms that the Danish voice reads wrongly, in the words a teacher would say.
// Only the synthesiser's input changes; the manuscript keeps the page's own text.
QString spokenForm(QString text)
{
    static const QRegularExpression range(QStringLiteral("\\b(\\d+)-(\\d+)\\b"));
    static const QRegularExpression osv(QStringLiteral("\\bosv\\."));
    text.replace(range, QStringLiteral("\\1 til \\2"));
    text.replace(osv, QStringLiteral("og så videre."));
    // A hyphen between spaces is a dash to the reader, but the voice runs straight over it.
    text.replace(QStringLiteral(" - "), QStringLiteral(" \u2013 "));
    // Names the voice spells out ("A-alborg"), in the form it says rightly.
    static const struct { QRegularExpression written; QString spoken; } pronunciations[] = {
        { QRegularExpression(QStringLiteral("\\bAalborg")), QStringLiteral("Ålborg") },
    };
    for (const auto &pronunciation : pronunciations)
        text.replace(pronunciation.written, pronunciation.spoken);
    return text;
}

} // namespace

QVector<Manuscript::Recording> Manuscript::recordings()
{
    QVector<Recording> result {
        guidance(PageTexts::welcome()),
        guidance(QFileInfo(PageTexts::infoSoundFile()).fileName(), PageTexts::infoTexts()),
        guidance(PageTexts::dictate1Help()),
        guidance(PageTexts::dictate2Help()),
    };
    for (const DictationTable *table : { &dictation1Table(), &dictation2Table() }) {
        const StoryText story = storyText(*table);
        const QVector<StoryPiece> gaps = table->gaps();
        for (int i = 0; i < gaps.size(); ++i) {
            Recording recording;
            recording.fileName = gaps[i].soundFile;
            recording.parts = QStringList { story.sentenceOfGap(i), gaps[i].word };
            recording.pauseMs = wordPauseMs;
            result.append(recording);
        }
    }
    return result;
}

QString Manuscript::runningText(const DictationTable &table)
{
    return storyText(table).text;
}

QStringList Manuscript::sentences(const DictationTable &table)
{
    const StoryText story = storyText(table);
    QStringList result;
    for (int i = 0; i < story.sentenceStarts.size(); ++i) {
        const QString sentence = story.sentence(i);
        if (!sentence.isEmpty())
            result.append(sentence);
    }
    return result;
}

QString Manuscript::sentenceOf(const DictationTable &table, int gapIndex)
{
    return storyText(table).sentenceOfGap(gapIndex);
}

QString Manuscript::plainText(const QString &labelText)
{
    // The same decision QLabel makes for its default text format.
    QString plain = Qt::mightBeRichText(labelText)
            ? QTextDocumentFragment::fromHtml(labelText).toPlainText()
            : labelText;
    plain.replace(QChar::LineSeparator, QLatin1Char(' '));
    plain.replace(QChar::ParagraphSeparator, QLatin1Char(' '));
    plain.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return plain.simplified();
}

QString Manuscript::ssml(const Recording &recording)
{
    const QString pause = QStringLiteral("<break time=\"%1ms\"/>\n").arg(recording.pauseMs);
    QString result = QStringLiteral("<speak xml:lang=\"da\">\n");
    for (int i = 0; i < recording.parts.size(); ++i) {
        if (i > 0)
            result += pause;
        result += spokenForm(recording.parts.at(i)).toHtmlEscaped() + QLatin1Char('\n');
    }
    result += QStringLiteral("</speak>\n");
    return result;
}

QString Manuscript::teacherText(const QVector<Recording> &recordings)
{
    QString result = QStringLiteral(
            "Manuskript til Skrivlos optagelser i mappen sounds.\n"
            "Under hvert filnavn står det, der læses op, med en kort pause mellem linjerne.\n");
    for (const Recording &recording : recordings) {
        result += QLatin1Char('\n') + recording.fileName + QLatin1Char('\n');
        for (const QString &part : recording.parts)
            result += QStringLiteral("    ") + part + QLatin1Char('\n');
    }
    return result;
}
