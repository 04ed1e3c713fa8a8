#include "dictation/dictateword.h"
#include "tests/support/testfolder.h"
#include "widgets/voiceplayer.h"

#include <QtTest>
#include <QtWidgets>

// Judging, report fragments, input limits and when a field plays its sentence.
class TestDictateWord : public QObject
{
    Q_OBJECT

private slots:
    void judging_data();
    void judging();
    void evaluateTwiceCountsTwice();
    void inputLimits_data();
    void inputLimits();
    void playsOnPressAndFocusOnly();
};

void TestDictateWord::judging_data()
{
    QTest::addColumn<QString>("correctWord");
    QTest::addColumn<bool>("exactCase");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("right");
    QTest::addColumn<QString>("fragment");

    const QString korte = QString::fromUtf8("kørte");
    QTest::newRow("right") << korte << true << korte << true << QString::fromUtf8("<font color=\"green\">kørte</font>");
    QTest::newRow("blanks around") << korte << true << QString::fromUtf8("  kørte ") << true
                                   << QString::fromUtf8("<font color=\"green\">kørte</font>");
    QTest::newRow("tabs around") << korte << true << QString::fromUtf8("\tkørte\t") << true
                                 << QString::fromUtf8("<font color=\"green\">kørte</font>");
    QTest::newRow("capital first letter") << korte << true << QString::fromUtf8("Kørte") << false
                                          << QString::fromUtf8("Kørte&nbsp;(kørte)");
    QTest::newRow("misspelt") << korte << true << QString::fromUtf8("kørde") << false
                              << QString::fromUtf8("kørde&nbsp;(kørte)");
    QTest::newRow("empty") << korte << true << QString() << false << QString::fromUtf8("-&nbsp;(kørte)");
    QTest::newRow("only blanks") << korte << true << QStringLiteral("   ") << false << QString::fromUtf8("-&nbsp;(kørte)");
    QTest::newRow("only tabs") << korte << true << QStringLiteral("\t\t") << false << QString::fromUtf8("-&nbsp;(kørte)");
    QTest::newRow("blank inside") << korte << true << QString::fromUtf8("kør te") << false
                                  << QString::fromUtf8("kør te&nbsp;(kørte)");
    QTest::newRow("longer") << korte << true << QString::fromUtf8("kørtes") << false
                            << QString::fromUtf8("kørtes&nbsp;(kørte)");
    QTest::newRow("markup escaped") << korte << true << QStringLiteral("<b>&") << false
                                    << QString::fromUtf8("&lt;b&gt;&amp;&nbsp;(kørte)");
    QTest::newRow("forgiving: lower") << "fjerde" << false << "fjerde" << true << "<font color=\"green\">fjerde</font>";
    QTest::newRow("forgiving: capital") << "fjerde" << false << "Fjerde" << true << "<font color=\"green\">Fjerde</font>";
    QTest::newRow("forgiving: all capitals") << "fjerde" << false << "FJERDE" << false << "FJERDE&nbsp;(fjerde)";
    QTest::newRow("forgiving: inner capital") << "fjerde" << false << "fjErde" << false << "fjErde&nbsp;(fjerde)";
    QTest::newRow("forgiving: empty") << "fjerde" << false << "" << false << "-&nbsp;(fjerde)";
    QTest::newRow("capital required") << "Danmarks" << true << "danmarks" << false << "danmarks&nbsp;(Danmarks)";
    QTest::newRow("capital given") << "Danmarks" << true << "Danmarks" << true << "<font color=\"green\">Danmarks</font>";
    // What a paste or an input method may bring: a decomposed "å", NUL, ESC and a
    // right-to-left override, an emoji cut in half by the 20-character limit.
    QTest::newRow("combining ring") << QString::fromUtf8("gåsevin") << true << QString::fromUtf8("ga\u030Asevin") << true
                                    << QString::fromUtf8("<font color=\"green\">gåsevin</font>");
    QTest::newRow("NUL, ESC and override") << korte << true
                                           << QString(QStringLiteral("k")) + QChar(0) + QString::fromUtf8("ør\x1bte\u202E")
                                           << true << QString::fromUtf8("<font color=\"green\">kørte</font>");
    QTest::newRow("emoji cut by the limit") << korte << true << QString(19, QLatin1Char('a')) + QString::fromUtf8("\xF0\x9F\x98\x80")
                                            << false << QString(19, QLatin1Char('a')) + QString::fromUtf8("&nbsp;(kørte)");
}

void TestDictateWord::judging()
{
    QFETCH(QString, correctWord);
    QFETCH(bool, exactCase);
    QFETCH(QString, typed);
    QFETCH(bool, right);
    QFETCH(QString, fragment);

    QWidget page;
    DictateWord field(&page, correctWord, QStringLiteral("1.wav"), false, exactCase);
    field.insert(typed); // as a paste: through the length limit and the field's cleaning
    const QString inField = field.text();
    QCOMPARE(field.isCorrect(), right);
    int count = 5;
    QCOMPARE(field.evaluate(count), fragment);
    QCOMPARE(count, right ? 6 : 5);
    QCOMPARE(field.text(), inField); // judging never changes what the learner typed
}

void TestDictateWord::evaluateTwiceCountsTwice()
{
    QWidget page;
    DictateWord field(&page, QStringLiteral("fint"), QStringLiteral("2.wav"), true, true);
    field.setText(QStringLiteral("fint"));
    int count = 0;
    field.evaluate(count);
    field.evaluate(count);
    QCOMPARE(count, 2);
}

void TestDictateWord::inputLimits_data()
{
    QTest::addColumn<bool>("narrow");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("maxLength");
    QTest::newRow("narrow") << true << 100 << 12;
    QTest::newRow("wide") << false << 175 << 20;
}

void TestDictateWord::inputLimits()
{
    QFETCH(bool, narrow);
    QFETCH(int, width);
    QFETCH(int, maxLength);

    QWidget page;
    auto *field = new DictateWord(&page, QStringLiteral("x"), QStringLiteral("1.wav"), narrow, true);
    auto *layout = new QHBoxLayout(&page);
    layout->addWidget(field, 1);
    page.resize(1000, 100);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    QCOMPARE(field->width(), width);

    field->setFocus();
    QTest::keyClicks(field, QString(30, QLatin1Char('a')));
    QCOMPARE(field->text().size(), maxLength);
    QCOMPARE(field->width(), width);
}

void TestDictateWord::playsOnPressAndFocusOnly()
{
    QWidget page;
    auto *first = new DictateWord(&page, QStringLiteral("kørte"), QStringLiteral("1.wav"), true, true);
    auto *second = new DictateWord(&page, QStringLiteral("fint"), QStringLiteral("2.wav"), true, true);
    auto *layout = new QHBoxLayout(&page);
    layout->addWidget(first);
    layout->addWidget(second);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    page.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&page));

    // Focus by code plays, as when a page focuses its first field.
    second->setFocus(Qt::OtherFocusReason);
    int plays = voicePlayer->playCount();
    first->setFocus(Qt::OtherFocusReason);
    QCOMPARE(voicePlayer->playCount(), plays + 1);
    QCOMPARE(voicePlayer->currentPath(), QStringLiteral("sounds/1.wav"));

    // Typing, releasing and leaving do not play.
    plays = voicePlayer->playCount();
    QTest::keyClicks(first, QStringLiteral("ab"));
    QCOMPARE(voicePlayer->playCount(), plays);

    // Clicking into another field: focus-in and press both ask; the second one is heard.
    QTest::mouseClick(second, Qt::LeftButton);
    QCOMPARE(voicePlayer->playCount(), plays + 2);
    QCOMPARE(voicePlayer->currentPath(), QStringLiteral("sounds/2.wav"));

    // Clicking the field that has the focus starts its sentence again.
    plays = voicePlayer->playCount();
    QTest::mouseClick(second, Qt::LeftButton);
    QCOMPARE(voicePlayer->playCount(), plays + 1);

    // The second press of a double click does not play again.
    plays = voicePlayer->playCount();
    QTest::mouseDClick(second, Qt::LeftButton);
    QCOMPARE(voicePlayer->playCount(), plays);
}

SKRIVLO_TEST_MAIN(TestDictateWord)
#include "tst_dictateword.moc"
