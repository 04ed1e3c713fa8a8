// Every include goes the way the libraries link: a folder includes its own headers and those
// of the layers its library links (the build writes them to layers.txt), always written from
// the repository root. The tests and the benchmark may include what they test or time.

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

namespace {

struct Layers
{
    QMap<QString, QString> folderOf;      // library -> its folder
    QMap<QString, QStringList> linksOf;   // library -> the libraries it links

    // The folder that owns a file: the longest folder of a library that holds it.
    QString ownerOf(const QString &file) const
    {
        QString best;
        for (const QString &folder : folderOf) {
            if (file.startsWith(folder + QLatin1Char('/')) && folder.size() > best.size())
                best = folder;
        }
        return best;
    }

    QSet<QString> allowedFrom(const QString &folder) const
    {
        QSet<QString> allowed { folder };
        QStringList todo = folderOf.keys(folder);
        QSet<QString> seen;
        while (!todo.isEmpty()) {
            const QString library = todo.takeLast();
            if (seen.contains(library))
                continue;
            seen.insert(library);
            allowed.insert(folderOf.value(library));
            todo += linksOf.value(library);
        }
        return allowed;
    }
};

Layers parseLayers(const QString &text)
{
    Layers layers;
    for (const QString &line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList halves = line.split(QStringLiteral(" : "));
        const QStringList head = halves.value(0).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (head.size() != 2)
            continue;
        layers.folderOf.insert(head[0], head[1]);
        layers.linksOf.insert(head[0], halves.value(1).split(QLatin1Char(' '), Qt::SkipEmptyParts));
    }
    return layers;
}

// What is wrong with the includes of one file; exists tells whether a path (from the
// repository root) is a file of the tree.
QStringList violations(const Layers &layers, const QString &file, const QString &text,
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
            found.append(QStringLiteral("%1: includes %2, but %3 does not link %4").arg(file, header, owner, target));
    }
    return found;
}

} // namespace

class TestLayers : public QObject
{
    Q_OBJECT

private slots:
    void theCheckFindsWhatGoesTheWrongWay_data();
    void theCheckFindsWhatGoesTheWrongWay();
    void everyIncludeGoesTheWayTheLibrariesLink();
};

void TestLayers::theCheckFindsWhatGoesTheWrongWay_data()
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

void TestLayers::theCheckFindsWhatGoesTheWrongWay()
{
    QFETCH(QString, file);
    QFETCH(QString, include);
    QFETCH(int, count);
    const Layers layers = parseLayers(QStringLiteral("model_lib model : \n"
                                                     "archive_lib archive : model_lib\n"
                                                     "app_lib app : archive_lib\n"
                                                     "studio_lib studio : model_lib\n"
                                                     "plugin_lib app/plugin : app_lib\n"));
    const QSet<QString> tree { "app/w.h", "archive/b.h", "model/c.h", "studio/s.h", "app/plugin/p.h" };
    const auto exists = [&tree](const QString &path) { return tree.contains(path); };
    const QString text = QStringLiteral("#include \"%1\"\n").arg(include);
    QCOMPARE(violations(layers, file, text, exists).size(), count);
}

void TestLayers::everyIncludeGoesTheWayTheLibrariesLink()
{
    QFile layerFile(QStringLiteral(SKRIVLO_BUILD_DIR "/layers.txt"));
    QVERIFY(layerFile.open(QIODevice::ReadOnly));
    const Layers layers = parseLayers(QString::fromUtf8(layerFile.readAll()));
    QVERIFY(layers.folderOf.size() >= 10);

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
        QFile source(it.filePath());
        QVERIFY(source.open(QIODevice::ReadOnly));
        found += violations(layers, file, QString::fromUtf8(source.readAll()), exists);
        ++files;
    }
    QVERIFY(files > 50);
    QCOMPARE(found, QStringList());
}

QTEST_GUILESS_MAIN(TestLayers)
#include "tst_layers.moc"
