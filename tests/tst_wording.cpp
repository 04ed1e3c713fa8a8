#include <QtTest>

// One word for each thing: no text the program shows, nor its menu entries, metadata, manual
// page or documents for a school, uses a word the glossary (docs/ordliste.md) retires. The pages'
// own texts (content/) are not read: they stay as they are.
class TestWording : public QObject
{
    Q_OBJECT

private slots:
    void noRetiredWords();
};

namespace {

const QString source = QStringLiteral(SKRIVLO_SOURCE_DIR);

// What a user reads in a source file: the literals given to tr() and its relatives.
QStringList shownTexts(const QString &code)
{
    static const QRegularExpression call(QStringLiteral(
            "(?:\\btr|QT_TR_NOOP|(?:\\btranslate|QT_TRANSLATE_NOOP)\\(\\s*\"[^\"]*\"\\s*,)\\s*\\(?\\s*((?:\"(?:[^\"\\\\]|\\\\.)*\"\\s*)+)"));
    static const QRegularExpression literal(QStringLiteral("\"((?:[^\"\\\\]|\\\\.)*)\""));
    QStringList texts;
    for (const QRegularExpressionMatch &m : call.globalMatch(code)) {
        QString text;
        for (const QRegularExpressionMatch &piece : literal.globalMatch(m.captured(1)))
            text += piece.captured(1);
        texts.append(text);
    }
    return texts;
}

QString read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

void TestWording::noRetiredWords()
{
    const struct { const char *pattern; const char *instead; } retired[] = {
        { "\\badgangskode", "password" },
        { "\\bresultatmapp", "arbejdsmappen or klassemappen" },
        { "\\blydfil", "optagelse" },
        { "\\bintet navn\\b", "uden navn" },
        { "\\bet diktat\\b", "en diktat" },
        { "\\bgiv op\\b", "Luk programmet" },
        { "\\bafslut\\b", "luk (afslutte only for finishing a test)" },
        { "\\brapport", "resultat" },
        { "espeak", "computerstemmen" },
        { "%\\d s\\b", "sek." },
        { "\\\\\"", "»«" },
        { "\\w\\((e|er)\\)", "the count's own form: 1 kursist, 2 kursister" },
        { "\\beksport", "gem som regneark" },
        { "\\bsom png\\b", "som billede" },
        { "\\bslet kursist", "slet resultat" },
        { "\\bdatafil", "resultat" },
        { "\\d{4}-\\d\\d-\\d\\d \\d\\d[:.]\\d\\d", "9/12-2026 kl. 11.35" },
    };
    // Options keep their names; the box that ends the program quotes the file as it always has.
    static const QRegularExpression option(QStringLiteral("--[\\w-]+"));
    static const QRegularExpression tag(QStringLiteral("<[^>]*>")); // its attributes' quotes are HTML's
    // A document's `code` is a name as the machine spells it: a file, a setting, a command.
    static const QRegularExpression code(QStringLiteral("`[^`\\n]*`"));
    const QStringList fixed { QStringLiteral("Programmet kan ikke skrive til\\nfilen \\\"%1\\\".\\n\\nKontakt din lærer!") };

    QMap<QString, QStringList> texts; // where -> what it says
    for (const char *folder : { "archive", "model", "settings", "widgets", "gate", "pages", "dictation", "testwindow", "safekeeping",
                                   "teacherview", "studio", "startup", "programs", "recordings", "devices", "input" }) {
        QDirIterator files(source + QLatin1Char('/') + QLatin1String(folder), { QStringLiteral("*.cpp"), QStringLiteral("*.h") },
                           QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString path = files.next();
            texts[path] = shownTexts(read(path));
        }
    }
    for (const char *file : { "packaging/dk.skrivlo.Skrivlo.desktop", "packaging/dk.skrivlo.Skrivlo.Indtal.desktop",
                              "packaging/dk.skrivlo.Skrivlo.Resultater.desktop", "packaging/dk.skrivlo.Skrivlo.metainfo.xml",
                              "packaging/skrivlo.1", "docs/vejledning.md", "docs/it.md", "docs/databeskyttelse.md" }) {
        const QString text = read(source + QLatin1Char('/') + QLatin1String(file));
        QVERIFY2(!text.isEmpty(), file);
        // English lines of the metadata may say "report".
        QStringList lines = text.split(QLatin1Char('\n'));
        lines.erase(std::remove_if(lines.begin(), lines.end(),
                                   [](const QString &l) { return l.contains(QLatin1String("[en]")) || l.contains(QLatin1String("report")); }),
                    lines.end());
        // Straight quotes are the manual page's own syntax; it writes an option as \-\-name.
        QString shown = lines.join(QLatin1Char('\n')).remove(QLatin1String("\\\"")).replace(QLatin1String("\\-"), QLatin1String("-"));
        if (QLatin1String(file).endsWith(QLatin1String(".md")))
            shown.remove(code);
        texts[QLatin1String(file)] = { shown };
    }
    QVERIFY(texts.size() > 40);
    QStringList found;
    int count = 0;
    for (auto where = texts.cbegin(); where != texts.cend(); ++where) {
        for (QString text : where.value()) {
            ++count;
            if (fixed.contains(text))
                continue;
            // A line feed written as \n must still end a word.
            text.remove(option).remove(tag).replace(QLatin1String("\\n"), QLatin1String("\n"));
            for (const auto &word : retired) {
                const QRegularExpression pattern(QString::fromUtf8(word.pattern), QRegularExpression::CaseInsensitiveOption);
                const QRegularExpressionMatch hit = pattern.match(text);
                if (hit.hasMatch())
                    found.append(QStringLiteral("%1: »%2« (say %3)")
                                         .arg(where.key(), text.mid(qMax(0, hit.capturedStart() - 30), hit.capturedLength() + 60),
                                              QString::fromUtf8(word.instead)));
            }
        }
    }
    QVERIFY2(count > 150, qPrintable(QString::number(count)));
    QVERIFY2(found.isEmpty(), qPrintable(found.join(QLatin1Char('\n'))));
}

QTEST_GUILESS_MAIN(TestWording)
#include "tst_wording.moc"
