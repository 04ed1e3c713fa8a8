#include "model/handin.h"
#include "model/reporttext.h"

#include <QtTest>

// The report's text is checked byte for byte: teachers read these files, and stored
// reports must keep their exact form.
class TestReportText : public QObject
{
    Q_OBJECT

private slots:
    void header_data();
    void header();
    void dictation1Section_data();
    void dictation1Section();
    void dictation2Section();
    void level_data();
    void level();
    void timeStamp_data();
    void timeStamp();
    void dateText_data();
    void dateText();
    void ownMarkupOnly_data();
    void ownMarkupOnly();
};

namespace {

const QString head = QString::fromUtf8(
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\" \"http://www.w3.org/TR/html4/strict.dtd\">\n\n"
        "<html>\n\n<head>\n<title>Resultater</title>\n"
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">\n"
        "</head>\n\n<body>\n\n<h2><u>Diktat til trinindplacering</u></h2>\n\n<p>\n<small>\n");

QStringList twenty(const QString &fragment)
{
    QStringList list;
    for (int i = 0; i < 20; ++i)
        list << fragment;
    return list;
}

} // namespace

void TestReportText::header_data()
{
    QTest::addColumn<QStringList>("details");
    QTest::addColumn<QString>("expected");

    QTest::newRow("all filled, Danish letters, blanks kept")
            << QStringList { "1/2-2011", "Sprogcenter Århus", " Søren Ærø ", "Åvej 7", "1980", "9 år",
                             "Nej", "Tømrer", "Ja, på et værksted" }
            << head + QString::fromUtf8(
                       "Dato: 1/2-2011<br>\nUndervisningssted: Sprogcenter Århus<br>\nNavn:  Søren Ærø <br>\n"
                       "Adresse: Åvej 7<br>\nFødselsår: 1980<br>\nAntal år i folkeskole: 9 år<br>\n"
                       "Studentereksamen: Nej<br>\nUddannelse: Tømrer<br>\nJobs: Ja, på et værksted\n</small>\n\n");
    QTest::newRow("empty optional fields")
            << QStringList { "", "", "Ali", "Vej 1", "1990", "", "", "", "" }
            << head + QString::fromUtf8(
                       "Dato: <br>\nUndervisningssted: <br>\nNavn: Ali<br>\nAdresse: Vej 1<br>\nFødselsår: 1990<br>\n"
                       "Antal år i folkeskole: <br>\nStudentereksamen: <br>\nUddannelse: <br>\nJobs: \n</small>\n\n");
    QTest::newRow("markup typed by the learner is escaped")
            << QStringList { "1/2-2011", "<i>", "<b>Bo & Co</b>", "\"Vej\"", "19>80", "", "", "", "a&b" }
            << head + QString::fromUtf8(
                       "Dato: 1/2-2011<br>\nUndervisningssted: &lt;i&gt;<br>\nNavn: &lt;b&gt;Bo &amp; Co&lt;/b&gt;<br>\n"
                       "Adresse: &quot;Vej&quot;<br>\nFødselsår: 19&gt;80<br>\nAntal år i folkeskole: <br>\n"
                       "Studentereksamen: <br>\nUddannelse: <br>\nJobs: a&amp;b\n</small>\n\n");
}

void TestReportText::header()
{
    QFETCH(QStringList, details);
    QFETCH(QString, expected);
    QCOMPARE(ReportText::header(details), expected);
}

void TestReportText::dictation1Section_data()
{
    QTest::addColumn<int>("correct");
    QTest::addColumn<QString>("ending");

    const QString open = QStringLiteral("\n</small>\n\n");
    const QString closed = QStringLiteral("<br>\nTrin 1\n</small>\n\n</body>\n</html>\n");
    QTest::newRow("0 right") << 0 << closed;
    QTest::newRow("17 right") << 17 << closed;
    QTest::newRow("18 right") << 18 << open;
    QTest::newRow("20 right") << 20 << open;
}

void TestReportText::dictation1Section()
{
    QFETCH(int, correct);
    QFETCH(QString, ending);

    QStringList fragments = twenty(QStringLiteral("<font color=\"green\">fint</font>"));
    fragments[19] = QStringLiteral("-&nbsp;(rene)");
    const QString expected = QStringLiteral("<h3>Diktat 1 [07:05]</h3>\n\n<p>\n<small>\n")
            + twenty(QStringLiteral("<font color=\"green\">fint</font>")).mid(0, 19).join(QStringLiteral(", "))
            + QStringLiteral(", -&nbsp;(rene).")
            + QStringLiteral("\n</small>\n\n<p>\n<small>\n<font color=\"blue\"><b>Total: ")
            + QString::number(correct) + QStringLiteral("</b></font>") + ending;
    QCOMPARE(ReportText::dictation1Section(QStringLiteral("07:05"), fragments, correct), expected);
}

void TestReportText::dictation2Section()
{
    QVector<ReportText::CategoryRow> rows(20);
    for (int r = 0; r < 20; ++r)
        rows[r] = { QStringLiteral("k%1").arg(r), QStringLiteral("e%1").arg(r), QStringLiteral("m%1").arg(r) };

    QString expected = QString::fromUtf8(
            "<h3>Diktat 2 [30:00]</h3>\n\n<p>\n<small>\n<table border=\"1\" cols=\"3\" rows=\"22\">\n"
            "<tr>\n<td><b>Kontekstbetingede<br>stavemønstre</b></td><td><b>Etymologiske<br>stavemønstre</b></td>"
            "<td><b>Morfologiske<br>stavemønstre</b></td>\n</tr>\n");
    for (int r = 0; r < 20; ++r)
        expected += QStringLiteral("<tr>\n<td>k%1</td><td>e%1</td><td>m%1</td>\n</tr>\n").arg(r);
    expected += QStringLiteral("<tr>\n<td><b>20</b></td><td><b>7</b></td><td><b>11</b></td>\n</tr>\n</table>\n</small>\n\n"
                               "<p>\n<small>\n<font color=\"blue\"><b>Total: 38</b></font><br>\n"
                               "Trin 3\n</small>\n\n</body>\n</html>\n");
    QCOMPARE(ReportText::dictation2Section(QStringLiteral("30:00"), rows, { 20, 7, 11 }), expected);
}

void TestReportText::level_data()
{
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("level");
    const int cases[][2] = { { 0, 1 }, { 21, 1 }, { 22, 2 }, { 37, 2 }, { 38, 3 }, { 50, 3 }, { 51, 4 }, { 60, 4 } };
    for (const auto &c : cases)
        QTest::addRow("%d right", c[0]) << c[0] << c[1];
}

void TestReportText::level()
{
    QFETCH(int, total);
    QFETCH(int, level);
    QCOMPARE(ReportText::level(total), level);
}

void TestReportText::timeStamp_data()
{
    QTest::addColumn<qint64>("elapsed");
    QTest::addColumn<QString>("stamp");

    QTest::newRow("07:05") << qint64(7 * 60 + 5) << "07:05";
    QTest::newRow("30:00") << qint64(30 * 60) << "30:00";
    QTest::newRow("whole hours dropped") << qint64(3600 + 2 * 60 + 3) << "02:03";
    QTest::newRow("9 min 5 s") << qint64(9 * 60 + 5) << "09:05";
    QTest::newRow("59:59") << qint64(3599) << "59:59";
    QTest::newRow("zero") << qint64(0) << "00:00";
}

void TestReportText::timeStamp()
{
    QFETCH(qint64, elapsed);
    QFETCH(QString, stamp);
    QCOMPARE(ReportText::timeStamp(elapsed), stamp);
}

void TestReportText::dateText_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("text");
    QTest::newRow("1 February 2011") << QDate(2011, 2, 1) << "1/2-2011";
    QTest::newRow("31 December 2010") << QDate(2010, 12, 31) << "31/12-2010";
    QTest::newRow("3 October 2010") << QDate(2010, 10, 3) << "3/10-2010";
}

void TestReportText::dateText()
{
    QFETCH(QDate, date);
    QFETCH(QString, text);
    QCOMPARE(ReportText::dateText(date), text);
}

void TestReportText::ownMarkupOnly_data()
{
    QTest::addColumn<QString>("html");
    QTest::addColumn<bool>("own");
    const QString hostile = QStringLiteral("<img src=\"file:///dev/zero\"><table><a href=\"x\">&amp; > \u202e");
    const QString header = ReportText::header(QStringList(ReportText::detailCount, hostile));
    int right = 0;
    std::array<int, 3> counts {};
    const QString whole = header + HandIn::dictation1(QStringList(20, hostile), "03:10", &right)
            + HandIn::dictation2(QStringList(60, hostile), "09:55", &counts);
    QTest::newRow("a whole report, what was typed escaped") << whole << true;
    QTest::newRow("not finished") << ReportText::unfinished(header) << true;
    QTest::newRow("a picture") << header + "<img src=\"foto.png\">" << false;
    QTest::newRow("a link") << header + "<a href=\"file:///etc/passwd\">x</a>" << false;
    QTest::newRow("a style") << header + "<p style=\"background-image: url(x)\">" << false;
    QTest::newRow("a comment") << header + "<!-- x -->" << false;
    QTest::newRow("tables in tables") << header + QStringLiteral("<table><tr><td>").repeated(2) << false;
    QTest::newRow("a table's padding") << header + "<table cellpadding=\"100000000\"><tr><td>x" << false;
    QTest::newRow("a tag not closed") << header + "<b" << false;
    QTest::newRow("a > outside a tag") << header + "x > y" << false;
    QTest::newRow("too many tags") << header + QStringLiteral("<b>").repeated(5000) << false;
}

// Only a report as the program writes it is shown as one; Qt takes minutes, or the whole
// stack, over tables in tables (20 of them: 24 s, 10,000: a crash), and follows pictures.
void TestReportText::ownMarkupOnly()
{
    QFETCH(QString, html);
    QFETCH(bool, own);
    QCOMPARE(ReportText::isOwnMarkup(html), own);
}

QTEST_GUILESS_MAIN(TestReportText)
#include "tst_reporttext.moc"
