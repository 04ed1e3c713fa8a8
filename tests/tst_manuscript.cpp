#include "content/storytable.h"
#include "dictation/dictate1.h"
#include "dictation/dictate2.h"
#include "dictation/dictateword.h"
#include "pages/dictate1help.h"
#include "pages/dictate2help.h"
#include "pages/info.h"
#include "pages/welcome.h"
#include "recordings/manuscript.h"
#include "tests/support/testfolder.h"
#include "widgets/voiceplayer.h"

#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QTextDocument>
#include <QXmlStreamReader>
#include <QtTest>

#include <memory>

// What the recordings say must be what the learner reads: each guidance page's text, and
// for each gap the sentence around it as the page shows it, then the word alone.
class TestManuscript : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void sentenceOfGap_data();
    void sentenceOfGap();
    void plainText_data();
    void plainText();
    void everyGapHasItsSentenceAndWord_data();
    void everyGapHasItsSentenceAndWord();
    void guidancePageReadsWhatItShows_data();
    void guidancePageReadsWhatItShows();
    void ssmlKeepsTextAndPauses_data();
    void ssmlKeepsTextAndPauses();
    void everyScriptIsWellFormed();

private:
    // The story as a dictation page lays it out, the correct word in every field.
    struct PageStory
    {
        QString text;
        QVector<int> fieldStarts;
        QStringList fieldSounds;
    };
    PageStory pageStories[2];
    TestFolder workDir;
    QVector<Manuscript::Recording> recordings;
};

namespace {

// A story written compactly: lines separated by " | ", pieces by "/", a gap in brackets.
DictationTable storyTable(const QString &story)
{
    DictationTable table { 1, 10, 1, true, {} };
    int number = 1;
    for (const QString &lineText : story.split(QStringLiteral(" | "))) {
        StoryLine line { 1, {} };
        for (const QString &pieceText : lineText.split(QLatin1Char('/'))) {
            if (pieceText.startsWith(QLatin1Char('['))) {
                const QByteArray word = pieceText.mid(1, pieceText.size() - 2).toUtf8();
                const QByteArray sound = QByteArray::number(number++) + ".wav";
                line.pieces.append(gap(word.constData(), sound.constData()));
            } else {
                line.pieces.append(fixedText(pieceText.toUtf8().constData()));
            }
        }
        table.lines.append(line);
    }
    return table;
}

// Labels and fields in layout order; the page's own rows hold the story.
void collectStory(QLayout *layout, QVector<QWidget *> &pieces, bool nested)
{
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem *item = layout->itemAt(i);
        if (item->layout()) {
            collectStory(item->layout(), pieces, true);
        } else if (nested && item->widget()
                   && (qobject_cast<QLabel *>(item->widget()) || dynamic_cast<DictateWord *>(item->widget()))) {
            pieces.append(item->widget());
        }
    }
}

void collectLabels(QLayout *layout, QStringList &texts)
{
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem *item = layout->itemAt(i);
        if (item->layout())
            collectLabels(item->layout(), texts);
        else if (auto *label = qobject_cast<QLabel *>(item->widget()))
            texts.append(label->text());
    }
}

// What a label shows, read the way a person reads the screen: one line per label.
QString shownText(const QString &labelText)
{
    QString text = labelText;
    if (Qt::mightBeRichText(labelText)) {
        QTextDocument document;
        document.setHtml(labelText);
        text = document.toPlainText();
    }
    text.replace(QChar::LineSeparator, QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text.simplified();
}

int wholeWordCount(const QString &text, const QString &word)
{
    const QRegularExpression pattern(QStringLiteral("(?<!\\p{L})%1(?!\\p{L})").arg(QRegularExpression::escape(word)));
    int count = 0;
    for (auto it = pattern.globalMatch(text); it.hasNext(); it.next())
        ++count;
    return count;
}

enum GuidePageKind { WelcomePage, InfoPage, Help1Page, Help2Page };

} // namespace

void TestManuscript::initTestCase()
{
    recordings = Manuscript::recordings();

    std::unique_ptr<DictationPage> pages[] = { std::make_unique<Dictate1>(nullptr, workDir.session()),
                                                std::make_unique<Dictate2>(nullptr, workDir.session()) };
    for (int p = 0; p < 2; ++p) {
        QVector<QWidget *> pieces;
        collectStory(pages[p]->layout(), pieces, false);
        PageStory &story = pageStories[p];
        for (QWidget *piece : std::as_const(pieces)) {
            auto *field = dynamic_cast<DictateWord *>(piece);
            const QString text = field ? field->word() : static_cast<QLabel *>(piece)->text();
            if (!story.text.isEmpty() && !QStringLiteral(",.!?").contains(text.at(0)))
                story.text += QLatin1Char(' ');
            if (field) {
                story.fieldStarts.append(story.text.size());
                story.fieldSounds.append(field->sound());
            }
            story.text += text;
        }
        QCOMPARE(story.fieldStarts.size(), pages[p]->words().size());
    }
}

void TestManuscript::sentenceOfGap_data()
{
    QTest::addColumn<QString>("story");
    QTest::addColumn<int>("gapIndex");
    QTest::addColumn<QString>("sentence");

    const QString overTwoLines = QStringLiteral(
            "midt i/[byen]/. | Byens/[rigeste]/købmand, Jens Bang,/[byggede] | huset.");
    QTest::newRow("sentence over lines, gap at its start")
            << overTwoLines << 1 << QStringLiteral("Byens rigeste købmand, Jens Bang, byggede huset.");
    QTest::newRow("sentence over lines, gap at a line end")
            << overTwoLines << 2 << QStringLiteral("Byens rigeste købmand, Jens Bang, byggede huset.");

    const QString endAndStart = QStringLiteral(
            "Vi/[kørte]/til byen fredag morgen. Der var/[fint] | vejr, og/[solen]/skinnede. Vi havde/[talt]/om.");
    QTest::newRow("line ends one sentence: the first")
            << endAndStart << 0 << QStringLiteral("Vi kørte til byen fredag morgen.");
    QTest::newRow("line starts the next: it runs on")
            << endAndStart << 1 << QStringLiteral("Der var fint vejr, og solen skinnede.");
    QTest::newRow("line ends one and starts the next")
            << endAndStart << 2 << QStringLiteral("Der var fint vejr, og solen skinnede.");
    QTest::newRow("last sentence") << endAndStart << 3 << QStringLiteral("Vi havde talt om.");

    const QString missingStop = QStringLiteral(
            "på apoteket. Der er to på/[døren]/Der er tre i/[glas]/, | og der er/[lavet]/svaner.");
    QTest::newRow("capital after a gap starts a sentence: before")
            << missingStop << 0 << QStringLiteral("Der er to på døren");
    QTest::newRow("capital after a gap starts a sentence: after")
            << missingStop << 1 << QStringLiteral("Der er tre i glas, og der er lavet svaner.");

    QTest::newRow("capitalised gap word does not split")
            << QStringLiteral("Her er en/[restaurant]/, som er en af/[Danmarks]/mest/[ansete] | vinkældre.") << 2
            << QStringLiteral("Her er en restaurant, som er en af Danmarks mest ansete vinkældre.");
    QTest::newRow("name after a gap does not split")
            << QStringLiteral("Masken skulle/[provokere]/byens råd, som aldrig havde/[accepteret]/Jens Bang.") << 1
            << QStringLiteral("Masken skulle provokere byens råd, som aldrig havde accepteret Jens Bang.");
    QTest::newRow("comma joins the gap before it")
            << QStringLiteral("Vi havde/[læst]/, at der er | [hele]/femten figurer af svaner.") << 1
            << QStringLiteral("Vi havde læst, at der er hele femten figurer af svaner.");
    QTest::newRow("question and exclamation marks end sentences")
            << QStringLiteral("Hvad/[kostede]/det? Det var/[dyrt]/! Men godt.") << 1
            << QStringLiteral("Det var dyrt!");
    QTest::newRow("no closing stop") << QStringLiteral("Vi kommer/[igen]") << 0 << QStringLiteral("Vi kommer igen");
}

void TestManuscript::sentenceOfGap()
{
    QFETCH(QString, story);
    QFETCH(int, gapIndex);
    QFETCH(QString, sentence);

    const DictationTable table = storyTable(story);
    QCOMPARE(Manuscript::sentenceOf(table, gapIndex), sentence);
    QVERIFY(Manuscript::sentences(table).contains(sentence));
}

void TestManuscript::plainText_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("plain");

    QTest::newRow("screen line break is a space")
            << QStringLiteral("<html>har stavet de<br>fleste af ordene</html>") << QStringLiteral("har stavet de fleste af ordene");
    QTest::newRow("markup goes, words stay")
            << QStringLiteral("<html>Du <u>skal</u> udfylde de <font color=\"orange\">orange</font> felter!<hr>")
            << QStringLiteral("Du skal udfylde de orange felter!");
    QTest::newRow("a rule alone says nothing") << QStringLiteral("<html><hr></html>") << QString();
    QTest::newRow("entities are characters") << QStringLiteral("<html>A &amp; B</html>") << QStringLiteral("A & B");
    QTest::newRow("plain text stays as it is")
            << QStringLiteral("Klik på højttaleren for at få læst op!") << QStringLiteral("Klik på højttaleren for at få læst op!");
}

void TestManuscript::plainText()
{
    QFETCH(QString, label);
    QFETCH(QString, plain);
    QCOMPARE(Manuscript::plainText(label), plain);
}

void TestManuscript::everyGapHasItsSentenceAndWord_data()
{
    QTest::addColumn<int>("dictation");
    QTest::addColumn<int>("gapIndex");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("soundFile");

    const DictationTable *tables[] = { &dictation1Table(), &dictation2Table() };
    for (int d = 0; d < 2; ++d) {
        const QVector<StoryPiece> gaps = tables[d]->gaps();
        for (int i = 0; i < gaps.size(); ++i) {
            QTest::addRow("%s %s", qPrintable(gaps[i].soundFile), qPrintable(gaps[i].word))
                    << d << i << gaps[i].word << gaps[i].soundFile;
        }
    }
}

void TestManuscript::everyGapHasItsSentenceAndWord()
{
    QFETCH(int, dictation);
    QFETCH(int, gapIndex);
    QFETCH(QString, word);
    QFETCH(QString, soundFile);

    const PageStory &page = pageStories[dictation];
    // The field plays the recording that speaks its word.
    QCOMPARE(page.fieldSounds.at(gapIndex), QStringLiteral("sounds/") + soundFile);

    const auto found = std::find_if(recordings.cbegin(), recordings.cend(),
                                    [&](const Manuscript::Recording &r) { return r.fileName == soundFile; });
    QVERIFY2(found != recordings.cend(), qPrintable(soundFile));
    QCOMPARE(found->parts.size(), 2);
    const QString sentence = found->parts.first();
    QCOMPARE(found->parts.last(), word);
    QVERIFY2(wholeWordCount(found->text(), word) >= 2, qPrintable(found->text()));

    // The sentence is the one on the page around this very field...
    const int fieldStart = page.fieldStarts.at(gapIndex);
    int at = page.text.indexOf(sentence);
    while (at >= 0 && !(at <= fieldStart && fieldStart + word.size() <= at + sentence.size()))
        at = page.text.indexOf(sentence, at + 1);
    QVERIFY2(at >= 0, qPrintable(QStringLiteral("\"%1\" is not around the field on the page").arg(sentence)));

    // ...and the whole of it: it starts and ends at sentence boundaries and holds no other.
    static const QRegularExpression stopBefore(QStringLiteral("[.!?] $"));
    static const QRegularExpression stopInside(QStringLiteral("[.!?] "));
    const int end = at + sentence.size();
    const bool startsSentence = at == 0 || stopBefore.match(page.text.left(at)).hasMatch()
            || sentence.at(0).isUpper();
    const bool endsSentence = end == page.text.size() || QStringLiteral(".!?").contains(sentence.back())
            || (end + 1 < page.text.size() && page.text.at(end) == QLatin1Char(' ')
                && page.text.at(end + 1).isUpper());
    QVERIFY2(startsSentence, qPrintable(sentence));
    QVERIFY2(endsSentence, qPrintable(sentence));
    QVERIFY2(!sentence.contains(stopInside), qPrintable(sentence));
}

void TestManuscript::guidancePageReadsWhatItShows_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("fileName");

    QTest::newRow("welcome") << int(WelcomePage) << QStringLiteral("welcome.wav");
    QTest::newRow("info") << int(InfoPage) << QStringLiteral("info.wav");
    QTest::newRow("help 1") << int(Help1Page) << QStringLiteral("dik1help.wav");
    QTest::newRow("help 2") << int(Help2Page) << QStringLiteral("dik2help.wav");
}

void TestManuscript::guidancePageReadsWhatItShows()
{
    QFETCH(int, kind);
    QFETCH(QString, fileName);

    std::unique_ptr<QWidget> page;
    switch (kind) {
    case WelcomePage: page = std::make_unique<Welcome>(nullptr); break;
    case InfoPage: page = std::make_unique<Info>(nullptr, workDir.session()); break;
    case Help1Page: page = std::make_unique<Dictate1Help>(nullptr); break;
    case Help2Page: page = std::make_unique<Dictate2Help>(nullptr); break;
    }

    QStringList labels;
    collectLabels(page->layout(), labels);
    QStringList shown;
    for (const QString &label : std::as_const(labels)) {
        const QString text = shownText(label);
        if (!text.isEmpty())
            shown.append(text);
    }

    const auto found = std::find_if(recordings.cbegin(), recordings.cend(),
                                    [&](const Manuscript::Recording &r) { return r.fileName == fileName; });
    QVERIFY(found != recordings.cend());
    QCOMPARE(found->parts, shown);

    // The loudspeaker plays this very recording.
    auto *voiceButton = page->findChild<QPushButton *>(QStringLiteral("voiceButton"));
    QVERIFY(voiceButton);
    voiceButton->click();
    QCOMPARE(voicePlayer->currentPath(), QStringLiteral("sounds/") + fileName);
    voicePlayer->stop();
}

void TestManuscript::ssmlKeepsTextAndPauses_data()
{
    QTest::addColumn<QStringList>("parts");
    QTest::addColumn<int>("pauseMs");
    QTest::addColumn<QStringList>("spoken");

    QTest::newRow("sentence, pause, word")
            << QStringList { QStringLiteral("Der er to på døren"), QStringLiteral("døren") } << 1000
            << QStringList { QStringLiteral("Der er to på døren"), QStringLiteral("døren") };
    QTest::newRow("markup characters are text")
            << QStringList { QStringLiteral("A & B <c> d"), QStringLiteral("x") } << 600
            << QStringList { QStringLiteral("A & B <c> d"), QStringLiteral("x") };
    QTest::newRow("a range is read with til")
            << QStringList { QStringLiteral("Det tager ca. 20-25 minutter.") } << 600
            << QStringList { QStringLiteral("Det tager ca. 20 til 25 minutter.") };
    QTest::newRow("osv. is read out")
            << QStringList { QStringLiteral("navn og adresse osv. Klik på pilen.") } << 600
            << QStringList { QStringLiteral("navn og adresse og så videre. Klik på pilen.") };
    QTest::newRow("a spaced hyphen is a dash")
            << QStringList { QStringLiteral("igen - lige så mange gange") } << 600
            << QStringList { QStringLiteral("igen \u2013 lige så mange gange") };
    QTest::newRow("Aalborg is said as Ålborg; the text keeps it")
            << QStringList { QStringLiteral("Aalborg har mange"), QStringLiteral("Aalborgs") } << 1000
            << QStringList { QStringLiteral("Ålborg har mange"), QStringLiteral("Ålborgs") };
    QTest::newRow("a hyphenated word stays")
            << QStringList { QStringLiteral("en e-mail") } << 600 << QStringList { QStringLiteral("en e-mail") };
}

void TestManuscript::ssmlKeepsTextAndPauses()
{
    QFETCH(QStringList, parts);
    QFETCH(int, pauseMs);
    QFETCH(QStringList, spoken);

    Manuscript::Recording recording;
    recording.fileName = QStringLiteral("x.wav");
    recording.parts = parts;
    recording.pauseMs = pauseMs;

    QXmlStreamReader xml(Manuscript::ssml(recording));
    QStringList texts { QString() };
    QVERIFY(xml.readNextStartElement());
    QCOMPARE(xml.name(), QStringLiteral("speak"));
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isCharacters()) {
            texts.last() += xml.text();
        } else if (xml.isStartElement()) {
            QCOMPARE(xml.name(), QStringLiteral("break"));
            QCOMPARE(xml.attributes().value(QStringLiteral("time")), QStringLiteral("%1ms").arg(pauseMs));
            texts.append(QString());
        }
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    for (QString &text : texts)
        text = text.simplified();
    QCOMPARE(texts, spoken);
}

void TestManuscript::everyScriptIsWellFormed()
{
    QCOMPARE(recordings.size(), 84);
    QSet<QString> names;
    for (const Manuscript::Recording &recording : std::as_const(recordings)) {
        names.insert(recording.fileName);
        QXmlStreamReader xml(Manuscript::ssml(recording));
        int breaks = 0;
        while (!xml.atEnd()) {
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QStringLiteral("break"))
                ++breaks;
        }
        QVERIFY2(!xml.hasError(), qPrintable(recording.fileName + QStringLiteral(": ") + xml.errorString()));
        QCOMPARE(breaks, recording.parts.size() - 1);
    }
    QCOMPARE(names.size(), recordings.size());
}

SKRIVLO_TEST_MAIN(TestManuscript)
#include "tst_manuscript.moc"
