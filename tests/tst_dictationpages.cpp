// The two dictation pages on their own: what showing them does, the Enter chain and the Tab
// order, the hand-in question, the sections they append to the report, and the lock when the
// time is up.

#include "dictation/dictate1.h"
#include "dictation/dictate2.h"
#include "dictation/dictateword.h"
#include "model/recoverytext.h"
#include "tests/support/answerkey.h"
#include "tests/support/modaldialog.h"
#include "tests/support/testfolder.h"
#include "widgets/voiceplayer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include <memory>

namespace {

QString escaped(QString text)
{
    return text.replace(QLatin1Char('&'), QLatin1String("&amp;"))
            .replace(QLatin1Char('<'), QLatin1String("&lt;"))
            .replace(QLatin1Char('>'), QLatin1String("&gt;"))
            .replace(QLatin1Char('"'), QLatin1String("&quot;"));
}

// A report entry: right answers in green as typed (trimmed), wrong ones with the key after.
QString entry(const QString &typed, const QString &key, bool right)
{
    QString shown = typed.trimmed();
    if (shown.isEmpty())
        shown = QStringLiteral("-");
    if (right)
        return QStringLiteral("<font color=\"green\">") + escaped(shown) + QStringLiteral("</font>");
    return escaped(shown) + QStringLiteral("&nbsp;(") + key + QLatin1Char(')');
}

// The rows of a test that runs on each dictation page.
void bothDictations()
{
    QTest::addColumn<int>("dictation");
    QTest::newRow("dictation 1") << 1;
    QTest::newRow("dictation 2") << 2;
}

const QByteArray earlierStages = "<html>\n<p>earlier stages</p>\n";

QString focusName()
{
    QWidget *focused = QApplication::focusWidget();
    return focused ? focused->objectName() : QStringLiteral("<none>");
}

// Splits an appended section into its time stamp and the rest; checks the stamp's form.
bool splitStamp(const QByteArray &section, int dictation, QString *stamp, int *seconds)
{
    static const QRegularExpression heading(QStringLiteral("^<h3>Diktat (\\d) \\[(\\d\\d):(\\d\\d)\\]</h3>\n\n"));
    const QRegularExpressionMatch match = heading.match(QString::fromUtf8(section));
    if (!match.hasMatch() || match.captured(1).toInt() != dictation)
        return false;
    *stamp = match.captured(2) + QLatin1Char(':') + match.captured(3);
    *seconds = match.captured(2).toInt() * 60 + match.captured(3).toInt();
    return true;
}

QByteArray expectedSection1(const QString &stamp, const QStringList &entries, int right)
{
    QString text = QStringLiteral("<h3>Diktat 1 [") + stamp + QStringLiteral("]</h3>\n\n<p>\n<small>\n")
            + entries.join(QStringLiteral(", ")) + QStringLiteral(".")
            + QStringLiteral("\n</small>\n\n<p>\n<small>\n<font color=\"blue\"><b>Total: ")
            + QString::number(right) + QStringLiteral("</b></font>");
    if (right >= 18)
        text += QStringLiteral("\n</small>\n\n");
    else
        text += QStringLiteral("<br>\nTrin 1\n</small>\n\n</body>\n</html>\n");
    return text.toUtf8();
}

QByteArray expectedSection2(const QString &stamp, const QStringList &answers, const QList<int> &wrongFields,
                            const QList<int> &counts, int level)
{
    QString text = QStringLiteral("<h3>Diktat 2 [") + stamp + QStringLiteral("]</h3>\n\n")
            + QStringLiteral("<p>\n<small>\n<table border=\"1\" cols=\"3\" rows=\"22\">\n")
            + QStringLiteral("<tr>\n<td><b>Kontekstbetingede<br>stavemønstre</b></td>"
                             "<td><b>Etymologiske<br>stavemønstre</b></td>"
                             "<td><b>Morfologiske<br>stavemønstre</b></td>\n</tr>\n");
    for (const auto &row : AnswerKey::categoryCells) {
        text += QStringLiteral("<tr>\n");
        for (int field : row) {
            text += QStringLiteral("<td>") + entry(answers[field - 21], AnswerKey::word(field), !wrongFields.contains(field))
                    + QStringLiteral("</td>");
        }
        text += QStringLiteral("\n</tr>\n");
    }
    text += QStringLiteral("<tr>\n");
    for (int count : counts)
        text += QStringLiteral("<td><b>%1</b></td>").arg(count);
    text += QStringLiteral("\n</tr>\n</table>\n</small>\n\n<p>\n<small>\n");
    text += QStringLiteral("<font color=\"blue\"><b>Total: %1</b></font><br>\n").arg(counts[0] + counts[1] + counts[2]);
    text += QStringLiteral("Trin %1\n</small>\n\n</body>\n</html>\n").arg(level);
    return text.toUtf8();
}

QStringList allRight2()
{
    QStringList answers;
    for (const char *word : AnswerKey::words2)
        answers.append(QString::fromUtf8(word));
    return answers;
}

} // namespace

class TestDictationPages : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void categoryTableCoversEveryField();
    void showingPlaysFirstSentenceAndFocusesFirstField_data();
    void showingPlaysFirstSentenceAndFocusesFirstField();
    void enterMovesToNextWord_data();
    void enterMovesToNextWord();
    void tabRunsThroughFieldsToArrow_data();
    void tabRunsThroughFieldsToArrow();
    void refusingHandInKeepsEverything_data();
    void refusingHandInKeepsEverything();
    void dictation1Section_data();
    void dictation1Section();
    void dictation2Section_data();
    void dictation2Section();
    void timeUpLocksAndHandsInWithoutBox_data();
    void timeUpLocksAndHandsInWithoutBox();
    void timeUpLeavesTheSentenceAlone_data();
    void timeUpLeavesTheSentenceAlone();
    void timeUpWhileBoxIsOpen_data();
    void timeUpWhileBoxIsOpen();
    void timeStampCountsFromShowing_data();
    void timeStampCountsFromShowing();

private:
    // Builds dictation 1 or 2 hidden in an active window and shows it, as the main window does.
    void showPage(int dictation);
    DictateWord *field(int number) const
    {
        return page->findChild<DictateWord *>(RecoveryText::answerKey(number));
    }
    QPushButton *arrow() const { return page->findChild<QPushButton *>(QStringLiteral("nextButton")); }
    int firstField() const { return number == 1 ? 1 : 21; }
    int lastField() const { return number == 1 ? 20 : 80; }
    void setAnswers(const QStringList &answers);
    QStringList answers() const;
    // A box where none belongs would block the click; the guard closes and records it.
    std::shared_ptr<ModalRecord> armGuard()
    {
        return guardNoModal();
    }

    TestFolder workDir;
    std::unique_ptr<QWidget> host;
    DictationPage *page = nullptr;
    int number = 0;
};

void TestDictationPages::initTestCase()
{
    QVERIFY(workDir.isValid());
}

void TestDictationPages::cleanup()
{
    // A guard still polling would answer the next test's box.
    disarmModalAnswerers();
    host.reset();
    page = nullptr;
}

void TestDictationPages::showPage(int dictation)
{
    number = dictation;
    host = std::make_unique<QWidget>();
    auto *layout = new QVBoxLayout(host.get());
    if (dictation == 1)
        page = new Dictate1(host.get(), workDir.session());
    else
        page = new Dictate2(host.get(), workDir.session());
    page->setVisible(false);
    layout->addWidget(page);
    host->show();
    QVERIFY(QTest::qWaitForWindowActive(host.get()));
    page->show();
}

void TestDictationPages::setAnswers(const QStringList &answers)
{
    for (int i = 0; i < answers.size(); ++i)
        field(firstField() + i)->setText(answers[i]);
}

QStringList TestDictationPages::answers() const
{
    QStringList texts;
    for (int n = firstField(); n <= lastField(); ++n)
        texts.append(field(n)->text());
    return texts;
}

// The test's own table must place every field of Dictation 2 exactly once.
void TestDictationPages::categoryTableCoversEveryField()
{
    QList<int> seen;
    for (const auto &row : AnswerKey::categoryCells) {
        for (int column = 0; column < 3; ++column)
            seen.append(row[column]);
    }
    std::sort(seen.begin(), seen.end());
    for (int i = 0; i < 60; ++i)
        QCOMPARE(seen[i], 21 + i);
}

void TestDictationPages::showingPlaysFirstSentenceAndFocusesFirstField_data()
{
    QTest::addColumn<int>("dictation");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("sound");
    QTest::newRow("dictation 1") << 1 << "word1" << "sounds/1.wav";
    QTest::newRow("dictation 2") << 2 << "word21" << "sounds/21.wav";
}

void TestDictationPages::showingPlaysFirstSentenceAndFocusesFirstField()
{
    QFETCH(int, dictation);
    QFETCH(QString, first);
    QFETCH(QString, sound);

    voicePlayer->stop();
    const int plays = voicePlayer->playCount();
    showPage(dictation);
    QCOMPARE(focusName(), first);
    QCOMPARE(voicePlayer->currentPath(), sound);
    QCOMPARE(voicePlayer->playCount(), plays + 1);
    QVERIFY(!voicePlayer->isStopped());
    for (int n = firstField(); n <= lastField(); ++n) {
        QVERIFY(field(n)->isEnabled());
        QVERIFY(field(n)->text().isEmpty());
    }
    QVERIFY(!page->isTimeUp());
}

void TestDictationPages::enterMovesToNextWord_data()
{
    QTest::addColumn<int>("dictation");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    for (int n = 1; n <= 20; ++n)
        QTest::addRow("dictation 1, field %d", n) << 1 << n << (n == 20 ? 1 : n + 1);
    for (int n = 21; n <= 80; ++n)
        QTest::addRow("dictation 2, field %d", n) << 2 << n << (n == 80 ? 21 : n + 1);
}

// Enter moves the cursor on and plays the next sentence; it never hands the page in.
void TestDictationPages::enterMovesToNextWord()
{
    QFETCH(int, dictation);
    QFETCH(int, from);
    QFETCH(int, to);

    showPage(dictation);
    QSignalSpy nextPage(page, &DictationPage::nextPage);
    field(from)->setFocus();
    field(from)->setText(QStringLiteral("ord"));
    QCOMPARE(focusName(), RecoveryText::answerKey(from));
    const int plays = voicePlayer->playCount();

    QTest::keyClick(field(from), Qt::Key_Return);
    QCOMPARE(focusName(), RecoveryText::answerKey(to));
    QCOMPARE(voicePlayer->currentPath(), QStringLiteral("sounds/%1.wav").arg(to));
    QCOMPARE(voicePlayer->playCount(), plays + 1);
    QCOMPARE(field(from)->text(), QStringLiteral("ord"));
    QCOMPARE(nextPage.count(), 0);
}

void TestDictationPages::tabRunsThroughFieldsToArrow_data()
{
    bothDictations();
}

void TestDictationPages::tabRunsThroughFieldsToArrow()
{
    QFETCH(int, dictation);
    showPage(dictation);
    QCOMPARE(focusName(), RecoveryText::answerKey(firstField()));
    for (int n = firstField() + 1; n <= lastField(); ++n) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(focusName(), RecoveryText::answerKey(n));
        QCOMPARE(voicePlayer->currentPath(), QStringLiteral("sounds/%1.wav").arg(n));
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), arrow());
}

void TestDictationPages::refusingHandInKeepsEverything_data()
{
    QTest::addColumn<int>("dictation");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("text");
    const QString text1 = QStringLiteral("Er du sikker på, at du er\nHELT færdig med Diktat 1?");
    const QString text2 = QStringLiteral("Er du sikker på, at du er\nHELT færdig med Diktat 2?");
    QTest::newRow("dictation 1, Nej") << 1 << "Nej" << text1;
    QTest::newRow("dictation 1, Escape") << 1 << "Escape" << text1;
    QTest::newRow("dictation 2, Nej") << 2 << "Nej" << text2;
    QTest::newRow("dictation 2, Escape") << 2 << "Escape" << text2;
}

// "Nej" stops the sentence but writes nothing, keeps every answer and stays; the next
// click asks again.
void TestDictationPages::refusingHandInKeepsEverything()
{
    QFETCH(int, dictation);
    QFETCH(QString, answer);
    QFETCH(QString, text);

    QVERIFY(writeReport(workDir.session(), earlierStages));
    showPage(dictation);
    QSignalSpy nextPage(page, &DictationPage::nextPage);
    QStringList typed;
    for (int n = firstField(); n <= lastField(); ++n)
        typed.append(n % 3 ? QStringLiteral("svar%1").arg(n) : QString());
    setAnswers(typed);
    QVERIFY(!voicePlayer->isStopped());

    for (int round = 1; round <= 2; ++round) {
        auto voiceStoppedWhileOpen = std::make_shared<bool>(false);
        auto seen = answerMessageBox(answer, [voiceStoppedWhileOpen]() { *voiceStoppedWhileOpen = voicePlayer->isStopped(); });
        QTest::mouseClick(arrow(), Qt::LeftButton);
        QVERIFY(seen->seen);
        QCOMPARE(seen->title, QStringLiteral("Advarsel!"));
        QCOMPARE(seen->text, text);
        QCOMPARE(seen->icon, QMessageBox::Warning);
        QCOMPARE(seen->buttons, (QStringList { QStringLiteral("Ja"), QStringLiteral("Nej") }));
        QVERIFY(*voiceStoppedWhileOpen);

        QCOMPARE(nextPage.count(), 0);
        QCOMPARE(readReport(), earlierStages);
        QCOMPARE(answers(), typed);
        QVERIFY(voicePlayer->isStopped()); // the stopped sentence is not resumed
        QVERIFY(!page->isTimeUp());
        QVERIFY(field(firstField())->isEnabled());
    }
    if (dictation == 1)
        QVERIFY(!static_cast<Dictate1 *>(page)->passed());
}

void TestDictationPages::dictation1Section_data()
{
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<int>("right");
    QTest::addColumn<bool>("passed");

    auto green = [](const char *w) { return QStringLiteral("<font color=\"green\">%1</font>").arg(QString::fromUtf8(w)); };
    auto allRight = [&]() {
        QStringList typed, entries;
        for (const char *w : AnswerKey::words1) {
            typed.append(QString::fromUtf8(w));
            entries.append(green(w));
        }
        return std::make_pair(typed, entries);
    };

    auto [typed20, entries20] = allRight();
    QTest::newRow("20 right") << typed20 << entries20 << 20 << true;

    // Two wrong: a doubled letter and blanks only, which count as empty.
    auto [typed18, entries18] = allRight();
    typed18[5] = QStringLiteral("læsst");
    entries18[5] = QStringLiteral("læsst&nbsp;(læst)");
    typed18[18] = QStringLiteral("   ");
    entries18[18] = QStringLiteral("-&nbsp;(fine)");
    typed18[1] = QStringLiteral("  fint ");
    QTest::newRow("18 right") << typed18 << entries18 << 18 << true;

    // Three wrong: a capital first letter, an empty field, markup typed by the learner.
    auto [typed17, entries17] = allRight();
    typed17[0] = QStringLiteral("Kørte");
    entries17[0] = QStringLiteral("Kørte&nbsp;(kørte)");
    typed17[2] = QString();
    entries17[2] = QStringLiteral("-&nbsp;(solen)");
    typed17[16] = QStringLiteral("<b>&");
    entries17[16] = QStringLiteral("&lt;b&gt;&amp;&nbsp;(symbol)");
    QTest::newRow("17 right") << typed17 << entries17 << 17 << false;

    QStringList typed0, entries0;
    for (const char *w : AnswerKey::words1) {
        typed0.append(QString());
        entries0.append(QStringLiteral("-&nbsp;(%1)").arg(QString::fromUtf8(w)));
    }
    QTest::newRow("all empty") << typed0 << entries0 << 0 << false;
}

// "Ja" stops the voice, appends the section to what the earlier stages wrote, and only then
// emits nextPage().
void TestDictationPages::dictation1Section()
{
    QFETCH(QStringList, typed);
    QFETCH(QStringList, entries);
    QFETCH(int, right);
    QFETCH(bool, passed);

    QVERIFY(writeReport(workDir.session(), earlierStages));
    showPage(1);
    setAnswers(typed);
    QByteArray reportAtSignal;
    bool stoppedAtSignal = false;
    connect(page, &DictationPage::nextPage, this, [&]() {
        reportAtSignal = readReport();
        stoppedAtSignal = voicePlayer->isStopped();
    });
    QSignalSpy nextPage(page, &DictationPage::nextPage);

    auto seen = answerMessageBox(QStringLiteral("Ja"));
    QTest::mouseClick(arrow(), Qt::LeftButton);
    QVERIFY(seen->seen);
    QCOMPARE(nextPage.count(), 1);

    const QByteArray report = readReport();
    QVERIFY(report.startsWith(earlierStages));
    const QByteArray section = report.mid(earlierStages.size());
    QString stamp;
    int seconds = -1;
    QVERIFY2(splitStamp(section, 1, &stamp, &seconds), section.left(40).constData());
    QVERIFY(seconds <= 5);
    QCOMPARE(section, expectedSection1(stamp, entries, right));
    QCOMPARE(reportAtSignal, report);
    QVERIFY(stoppedAtSignal);
    QCOMPARE(static_cast<Dictate1 *>(page)->passed(), passed);
    QCOMPARE(answers(), typed); // the answers are never cleared
}

void TestDictationPages::dictation2Section_data()
{
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QList<int>>("wrong");
    QTest::addColumn<QList<int>>("counts");
    QTest::addColumn<int>("level");

    QTest::newRow("all right") << allRight2() << QList<int>() << QList<int> { 20, 20, 20 } << 4;

    // The first T fields in reading order right, the rest empty.
    const struct {
        int total;
        int k, e, m;
        int level;
    } totals[] = {
        { 21, 7, 6, 8, 1 }, { 22, 7, 6, 9, 2 }, { 37, 15, 10, 12, 2 },
        { 38, 15, 11, 12, 3 }, { 50, 17, 14, 19, 3 }, { 51, 17, 14, 20, 4 },
    };
    for (const auto &t : totals) {
        QStringList typed = allRight2();
        QList<int> wrong;
        for (int n = 21 + t.total; n <= 80; ++n) {
            typed[n - 21].clear();
            wrong.append(n);
        }
        QTest::addRow("total %d", t.total) << typed << wrong << QList<int> { t.k, t.e, t.m } << t.level;
    }

    QStringList capital = allRight2();
    capital[39 - 21] = QStringLiteral("Fjerde");
    QTest::newRow("Fjerde right in field 39") << capital << QList<int>() << QList<int> { 20, 20, 20 } << 4;

    QStringList shouting = allRight2();
    shouting[39 - 21] = QStringLiteral("FJERDE");
    QTest::newRow("FJERDE wrong in field 39") << shouting << QList<int> { 39 } << QList<int> { 19, 20, 20 } << 4;

    QStringList lower = allRight2();
    lower[65 - 21] = QStringLiteral("danmarks");
    QTest::newRow("danmarks wrong in field 65") << lower << QList<int> { 65 } << QList<int> { 19, 20, 20 } << 4;

    // A capital letter is forgiven nowhere else.
    QStringList capitals = allRight2();
    capitals[21 - 21] = QStringLiteral("Ankom");
    capitals[23 - 21] = QStringLiteral("Tjekkede");
    capitals[24 - 21] = QStringLiteral("Hotellet");
    QTest::newRow("capitals elsewhere wrong") << capitals << QList<int> { 21, 23, 24 }
                                              << QList<int> { 19, 19, 19 } << 4;

    // Every field a different wrong answer, so each cell shows which field it came from.
    QStringList marked;
    QList<int> allWrong;
    for (int n = 21; n <= 80; ++n) {
        marked.append(n == 80 ? QStringLiteral("<i>\"80\"") : QStringLiteral("felt%1").arg(n));
        allWrong.append(n);
    }
    QTest::newRow("every field in its cell") << marked << allWrong << QList<int> { 0, 0, 0 } << 1;
}

void TestDictationPages::dictation2Section()
{
    QFETCH(QStringList, typed);
    QFETCH(QList<int>, wrong);
    QFETCH(QList<int>, counts);
    QFETCH(int, level);

    QVERIFY(writeReport(workDir.session(), earlierStages));
    showPage(2);
    setAnswers(typed);
    QByteArray reportAtSignal;
    connect(page, &DictationPage::nextPage, this, [&]() { reportAtSignal = readReport(); });
    QSignalSpy nextPage(page, &DictationPage::nextPage);

    auto seen = answerMessageBox(QStringLiteral("Ja"));
    QTest::mouseClick(arrow(), Qt::LeftButton);
    QVERIFY(seen->seen);
    QCOMPARE(nextPage.count(), 1);

    const QByteArray report = readReport();
    QVERIFY(report.startsWith(earlierStages));
    const QByteArray section = report.mid(earlierStages.size());
    QString stamp;
    int seconds = -1;
    QVERIFY2(splitStamp(section, 2, &stamp, &seconds), section.left(40).constData());
    QVERIFY(seconds <= 5);
    QCOMPARE(section, expectedSection2(stamp, typed, wrong, counts, level));
    QCOMPARE(reportAtSignal, report);
    QVERIFY(voicePlayer->isStopped());
    if (QTest::currentDataTag() == QByteArray("Fjerde right in field 39"))
        QVERIFY(section.contains("<tr>\n<td><font color=\"green\">Fjerde</font></td><td>"));
    if (QTest::currentDataTag() == QByteArray("every field in its cell"))
        QVERIFY(section.contains("<tr>\n<td>felt75&nbsp;(rundt)</td><td>&lt;i&gt;&quot;80&quot;&nbsp;(attraktioner)</td>"
                                 "<td>felt71&nbsp;(optaget)</td>\n</tr>\n<tr>\n<td><b>0</b>"));
}

void TestDictationPages::timeUpLocksAndHandsInWithoutBox_data()
{
    bothDictations();
}

// The lock disables every field but leaves the sentence playing and the page on screen;
// the arrow then hands in at the first click, without the question.
void TestDictationPages::timeUpLocksAndHandsInWithoutBox()
{
    QFETCH(int, dictation);

    QVERIFY(writeReport(workDir.session(), earlierStages));
    showPage(dictation);
    QSignalSpy nextPage(page, &DictationPage::nextPage);
    field(firstField())->setText(QStringLiteral("svar"));
    QVERIFY(!voicePlayer->isStopped());

    auto guard = armGuard();
    page->timeUp();
    QVERIFY(page->isTimeUp());
    for (int n = firstField(); n <= lastField(); ++n)
        QVERIFY2(!field(n)->isEnabled(), qPrintable(RecoveryText::answerKey(n)));
    QVERIFY(arrow()->isEnabled());
    QVERIFY(!voicePlayer->isStopped());
    QCOMPARE(nextPage.count(), 0);
    QCOMPARE(readReport(), earlierStages);

    QTest::keyClicks(field(firstField()), QStringLiteral("xyz"));
    QTest::keyClicks(field(lastField()), QStringLiteral("xyz"));
    QCOMPARE(field(firstField())->text(), QStringLiteral("svar"));
    QVERIFY(field(lastField())->text().isEmpty());

    QTest::mouseClick(arrow(), Qt::LeftButton);
    QCOMPARE(nextPage.count(), 1);
    QVERIFY(voicePlayer->isStopped());
    const QByteArray section = readReport().mid(earlierStages.size());
    QString stamp;
    int seconds = -1;
    QVERIFY(splitStamp(section, dictation, &stamp, &seconds));
    if (dictation == 1) {
        QVERIFY(section.contains("<small>\nsvar&nbsp;(kørte), -&nbsp;(fint), "));
        QVERIFY(section.endsWith("Total: 0</b></font><br>\nTrin 1\n</small>\n\n</body>\n</html>\n"));
    } else {
        QVERIFY(section.contains("<td>svar&nbsp;(ankom)</td>"));
        QVERIFY(section.endsWith("Total: 0</b></font><br>\nTrin 1\n</small>\n\n</body>\n</html>\n"));
    }
    QVERIFY(!guard->seen);
}

void TestDictationPages::timeUpLeavesTheSentenceAlone_data()
{
    QTest::addColumn<int>("dictation");
    QTest::addColumn<int>("focused"); // field number; 0 for the arrow
    QTest::newRow("dictation 1, cursor in field 2") << 1 << 2;
    QTest::newRow("dictation 1, cursor in field 20") << 1 << 20;
    QTest::newRow("dictation 1, arrow focused") << 1 << 0;
    QTest::newRow("dictation 2, cursor in field 40") << 2 << 40;
    QTest::newRow("dictation 2, arrow focused") << 2 << 0;
}

// At expiry the sentence that is playing goes on, and no other sentence starts.
void TestDictationPages::timeUpLeavesTheSentenceAlone()
{
    QFETCH(int, dictation);
    QFETCH(int, focused);

    showPage(dictation);
    if (focused)
        field(focused)->setFocus();
    else
        arrow()->setFocus();
    QTest::mouseClick(field(firstField() + 3), Qt::LeftButton); // the learner hears word 4 again
    if (focused)
        field(focused)->setFocus();
    else
        arrow()->setFocus();
    const QString playing = voicePlayer->currentPath();
    const int plays = voicePlayer->playCount();
    QVERIFY(!voicePlayer->isStopped());

    page->timeUp();
    QCOMPARE(voicePlayer->playCount(), plays);
    QCOMPARE(voicePlayer->currentPath(), playing);
    // The cursor does not land on the arrow, where a typed blank would hand the page in.
    if (focused)
        QVERIFY(QApplication::focusWidget() != arrow());
    QVERIFY(!voicePlayer->isStopped());
}

void TestDictationPages::timeUpWhileBoxIsOpen_data()
{
    bothDictations();
}

// The countdown may run out while the question is open: "Nej" then returns to a locked page,
// and the next click hands in without asking.
void TestDictationPages::timeUpWhileBoxIsOpen()
{
    QFETCH(int, dictation);

    QVERIFY(writeReport(workDir.session(), earlierStages));
    showPage(dictation);
    QSignalSpy nextPage(page, &DictationPage::nextPage);
    DictationPage *shown = page;

    auto seen = answerMessageBox(QStringLiteral("Nej"), [shown]() { shown->timeUp(); });
    QTest::mouseClick(arrow(), Qt::LeftButton);
    QVERIFY(seen->seen);
    QCOMPARE(nextPage.count(), 0);
    QCOMPARE(readReport(), earlierStages);
    QVERIFY(!field(lastField())->isEnabled());

    auto guard = armGuard();
    QTest::mouseClick(arrow(), Qt::LeftButton);
    QCOMPARE(nextPage.count(), 1);
    QVERIFY(readReport().size() > earlierStages.size());
    QVERIFY(!guard->seen);
}

void TestDictationPages::timeStampCountsFromShowing_data()
{
    bothDictations();
}

// The clock starts when the page is shown, not when it is built, and the time spent in the
// question counts.
void TestDictationPages::timeStampCountsFromShowing()
{
    QFETCH(int, dictation);

    QVERIFY(writeReport(workDir.session(), earlierStages));
    number = dictation;
    host = std::make_unique<QWidget>();
    auto *layout = new QVBoxLayout(host.get());
    page = dictation == 1 ? static_cast<DictationPage *>(new Dictate1(host.get(), workDir.session())) : new Dictate2(host.get(), workDir.session());
    page->setVisible(false);
    layout->addWidget(page);
    host->show();
    QVERIFY(QTest::qWaitForWindowActive(host.get()));
    QTest::qWait(2100); // built, but not yet on screen

    QElapsedTimer clock;
    page->show();
    clock.start();
    QTest::qWait(600);
    bool answered = false;
    answerModal([&answered](QWidget *dialog) {
        // The learner thinks it over before answering "Ja".
        QTimer::singleShot(700, dialog, [dialog, &answered]() {
            auto *box = qobject_cast<QMessageBox *>(dialog);
            for (QAbstractButton *button : box->buttons()) {
                if (button->text() == QLatin1String("Ja")) {
                    answered = true;
                    button->click();
                }
            }
        });
    });
    QTest::mouseClick(arrow(), Qt::LeftButton);
    const qint64 elapsed = clock.elapsed();
    QVERIFY(answered);
    QVERIFY(elapsed >= 1300);

    QString stamp;
    int seconds = -1;
    QVERIFY(splitStamp(readReport().mid(earlierStages.size()), dictation, &stamp, &seconds));
    // Whole seconds of the wall clock: the stamp lies within one second of the measured time.
    QVERIFY2(seconds >= elapsed / 1000 && seconds <= elapsed / 1000 + 1,
             qPrintable(QStringLiteral("stamp %1, measured %2 ms").arg(stamp).arg(elapsed)));
    QVERIFY(stamp.startsWith(QLatin1String("00:0")));
}

SKRIVLO_TEST_MAIN(TestDictationPages)
#include "tst_dictationpages.moc"
