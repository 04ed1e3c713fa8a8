// The layers are one table, layers.txt: each library and program of the project, lowest first,
// and what it may link. The link lines in the CMakeLists.txt files (which the build writes to
// links.txt) must keep to it, every include must go where the table allows and be written from
// the repository root, and README shows the same table. The tests and the benchmark stand
// outside the layers and may include what they test or time.

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

namespace {

struct Row
{
    QString folder;
    QStringList links;
};

struct Layers
{
    QStringList order;           // the libraries, lowest first
    QMap<QString, Row> rows;     // library -> its folder and links

    // The folder that owns a file: the longest folder of a library that holds it.
    QString ownerOf(const QString &file) const
    {
        QString best;
        for (const Row &row : rows) {
            if (file.startsWith(row.folder + QLatin1Char('/')) && row.folder.size() > best.size())
                best = row.folder;
        }
        return best;
    }

    // The folders a folder's files may include from: its own and those its libraries reach.
    QSet<QString> allowedFrom(const QString &folder) const
    {
        QSet<QString> allowed { folder };
        QStringList todo;
        for (auto it = rows.cbegin(); it != rows.cend(); ++it) {
            if (it->folder == folder)
                todo.append(it.key());
        }
        QSet<QString> seen;
        while (!todo.isEmpty()) {
            const QString library = todo.takeLast();
            if (seen.contains(library) || !rows.contains(library))
                continue;
            seen.insert(library);
            allowed.insert(rows.value(library).folder);
            todo += rows.value(library).links;
        }
        return allowed;
    }
};

// "library folder may-link..." (the table) or "library folder : links..." (the build's lines);
// # begins a comment.
Layers parseLayers(const QString &text)
{
    Layers layers;
    for (QString line : text.split(QLatin1Char('\n'))) {
        line = line.section(QLatin1Char('#'), 0, 0);
        QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        words.removeAll(QStringLiteral(":"));
        if (words.size() < 2)
            continue;
        layers.order.append(words[0]);
        layers.rows.insert(words[0], { words[1], words.mid(2) });
    }
    return layers;
}

// What in the table is out of order, and what the build links that the table does not allow.
QStringList linkViolations(const Layers &table, const Layers &built)
{
    QStringList found;
    for (int i = 0; i < table.order.size(); ++i) {
        const QStringList above = table.order.mid(0, i);
        for (const QString &link : table.rows.value(table.order[i]).links) {
            if (table.rows.contains(link) && !above.contains(link))
                found.append(QStringLiteral("layers.txt: %1 may link %2, which is not above it").arg(table.order[i], link));
        }
    }
    for (const QString &library : built.order) {
        if (!table.rows.contains(library)) {
            found.append(QStringLiteral("%1 is built, but has no row in layers.txt").arg(library));
            continue;
        }
        const Row &row = table.rows.value(library);
        if (built.rows.value(library).folder != row.folder)
            found.append(QStringLiteral("%1 is built in %2, but layers.txt puts it in %3")
                                 .arg(library, built.rows.value(library).folder, row.folder));
        for (const QString &link : built.rows.value(library).links) {
            if (!row.links.contains(link))
                found.append(QStringLiteral("%1 links %2, which layers.txt does not allow").arg(library, link));
        }
    }
    return found;
}

// What is wrong with the includes of one file; exists tells whether a path (from the
// repository root) is a file of the tree.
QStringList includeViolations(const Layers &layers, const QString &file, const QString &text,
                              const std::function<bool(const QString &)> &exists)
{
    static const QRegularExpression include(QStringLiteral("^\\s*#\\s*include\\s+\"([^\"]+)\""),
                                            QRegularExpression::MultilineOption);
    const QString folder = file.section(QLatin1Char('/'), 0, -2);
    const QString owner = layers.ownerOf(file);
    const QSet<QString> allowed = layers.allowedFrom(owner);
    QStringList found;
    for (auto it = include.globalMatch(text); it.hasNext();) {
        const QString header = it.next().captured(1);
        if (!exists(header)) {
            if (exists(folder + QLatin1Char('/') + header))
                found.append(QStringLiteral("%1: write \"%2\" from the repository root").arg(file, header));
            continue; // a generated file or a system header
        }
        const QString target = layers.ownerOf(header);
        if (owner.isEmpty())
            found.append(QStringLiteral("%1: in no library, includes %2").arg(file, header));
        else if (!allowed.contains(target))
            found.append(QStringLiteral("%1: includes %2, but layers.txt does not let %3 reach %4")
                                 .arg(file, header, owner, target));
    }
    return found;
}

// The table as README shows it.
QString readmeTable(const Layers &table)
{
    QString text = QStringLiteral("| library | folder | may link |\n|---|---|---|\n");
    for (const QString &library : table.order) {
        const Row &row = table.rows.value(library);
        QStringList links;
        for (const QString &link : row.links)
            links.append(QLatin1Char('`') + link + QLatin1Char('`'));
        text += QStringLiteral("| `%1` | `%2/` | %3 |\n").arg(library, row.folder, links.join(QStringLiteral(", ")));
    }
    return text;
}

QString readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

const QString table = QStringLiteral("model_lib    model        Qt6::Core\n"
                                     "archive_lib  archive      model_lib\n"
                                     "studio_lib   studio       model_lib Qt6::Multimedia\n"
                                     "app_lib      app          archive_lib\n"
                                     "plugin_lib   app/plugin   app_lib\n");

} // namespace

class TestLayers : public QObject
{
    Q_OBJECT

private slots:
    void theIncludeCheckFindsWhatGoesTheWrongWay_data();
    void theIncludeCheckFindsWhatGoesTheWrongWay();
    void theLinkCheckFindsWhatTheTableDoesNotAllow_data();
    void theLinkCheckFindsWhatTheTableDoesNotAllow();
    void everyLinkLineKeepsToTheTable();
    void everyIncludeGoesWhereTheTableAllows();
    void readmeShowsTheTable();
};

void TestLayers::theIncludeCheckFindsWhatGoesTheWrongWay_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("include");
    QTest::addColumn<int>("count");
    QTest::newRow("down a layer") << "app/a.cpp" << "archive/b.h" << 0;
    QTest::newRow("two layers down") << "app/a.cpp" << "model/c.h" << 0;
    QTest::newRow("own folder") << "archive/a.cpp" << "archive/b.h" << 0;
    QTest::newRow("up a layer") << "archive/a.cpp" << "app/w.h" << 1;
    QTest::newRow("sideways") << "archive/a.cpp" << "studio/s.h" << 1;
    QTest::newRow("bare name") << "archive/a.cpp" << "b.h" << 1;
    QTest::newRow("system header") << "archive/a.cpp" << "QString" << 0;
    QTest::newRow("subfolder of its own") << "app/plugin/p.cpp" << "app/w.h" << 0;
    QTest::newRow("into a subfolder not linked") << "app/a.cpp" << "app/plugin/p.h" << 1;
}

void TestLayers::theIncludeCheckFindsWhatGoesTheWrongWay()
{
    QFETCH(QString, file);
    QFETCH(QString, include);
    QFETCH(int, count);
    const QSet<QString> tree { "app/w.h", "archive/b.h", "model/c.h", "studio/s.h", "app/plugin/p.h" };
    const auto exists = [&tree](const QString &path) { return tree.contains(path); };
    const QString text = QStringLiteral("#include \"%1\"\n").arg(include);
    QCOMPARE(includeViolations(parseLayers(table), file, text, exists).size(), count);
}

void TestLayers::theLinkCheckFindsWhatTheTableDoesNotAllow_data()
{
    QTest::addColumn<QString>("built");
    QTest::addColumn<int>("count");
    QTest::newRow("as the table says") << "archive_lib archive : model_lib\nstudio_lib studio : Qt6::Multimedia" << 0;
    QTest::newRow("less than allowed") << "app_lib app : " << 0;
    // A link line that would make its own include legal is refused all the same.
    QTest::newRow("a link up") << "archive_lib archive : model_lib app_lib" << 1;
    QTest::newRow("a link sideways") << "studio_lib studio : archive_lib" << 1;
    QTest::newRow("a Qt module not allowed") << "archive_lib archive : Qt6::PrintSupport" << 1;
    QTest::newRow("a library without a row") << "extra_lib extra : model_lib" << 1;
    QTest::newRow("in another folder") << "model_lib elsewhere : Qt6::Core" << 1;
}

void TestLayers::theLinkCheckFindsWhatTheTableDoesNotAllow()
{
    QFETCH(QString, built);
    QFETCH(int, count);
    QCOMPARE(linkViolations(parseLayers(table), parseLayers(built)).size(), count);
    // A row that names a library below it is out of order.
    QCOMPARE(linkViolations(parseLayers(table + "low_lib low archive_lib\n" "x x low_lib\n"), Layers()).size(), 0);
    QCOMPARE(linkViolations(parseLayers("a a b_lib\nb_lib b\n"), Layers()).size(), 1);
}

void TestLayers::everyLinkLineKeepsToTheTable()
{
    const Layers table = parseLayers(readAll(QStringLiteral(SKRIVLO_SOURCE_DIR "/layers.txt")));
    const Layers built = parseLayers(readAll(QStringLiteral(SKRIVLO_BUILD_DIR "/links.txt")));
    QVERIFY(table.order.size() >= 20);
    QVERIFY(built.order.size() >= 20);
    const QStringList found = linkViolations(table, built);
    for (const QString &violation : found)
        qInfo().noquote() << violation;
    QCOMPARE(found, QStringList());
}

void TestLayers::everyIncludeGoesWhereTheTableAllows()
{
    const Layers layers = parseLayers(readAll(QStringLiteral(SKRIVLO_SOURCE_DIR "/layers.txt")));
    const QDir root(QStringLiteral(SKRIVLO_SOURCE_DIR));
    const auto exists = [&root](const QString &path) { return QFileInfo(root.filePath(path)).isFile(); };
    // Tests and the benchmark stand outside the layers; so do the build folders.
    static const QRegularExpression outside(QStringLiteral("^(tests|bench|build[^/]*|\\.[^/]*)/"));
    QStringList found;
    int files = 0;
    QDirIterator it(root.path(), { QStringLiteral("*.h"), QStringLiteral("*.cpp") }, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = root.relativeFilePath(it.next());
        if (outside.match(file).hasMatch())
            continue;
        found += includeViolations(layers, file, readAll(it.filePath()), exists);
        ++files;
    }
    QVERIFY(files > 50);
    for (const QString &violation : found)
        qInfo().noquote() << violation;
    QCOMPARE(found, QStringList());
}

void TestLayers::readmeShowsTheTable()
{
    const QString expected = readmeTable(parseLayers(readAll(QStringLiteral(SKRIVLO_SOURCE_DIR "/layers.txt"))));
    const QString readme = readAll(QStringLiteral(SKRIVLO_SOURCE_DIR "/README.md"));
    const QString marker = QStringLiteral("<!-- layers.txt -->\n");
    if (!readme.contains(marker + expected))
        qInfo().noquote() << "After the line" << marker.trimmed() << "README.md should read:\n" + expected;
    QVERIFY2(readme.contains(marker + expected), "README.md shows another table than layers.txt");
}

QTEST_GUILESS_MAIN(TestLayers)
#include "tst_layers.moc"
