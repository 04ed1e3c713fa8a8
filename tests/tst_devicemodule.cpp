#include "devicemodule.h"
#include "modaldialog.h"
#include "results.h"
#include "resultsfolder.h"
#include "voiceplayer.h"
#include "wavfile.h"

#include <QtTest>

// A program installed without its sound and print module still runs a whole test: the
// recordings stay silent, and the results page says why it cannot print instead of failing
// quietly. Run without the module on Qt's plugin path.
class TestDeviceModule : public QObject
{
    Q_OBJECT

private slots:
    void withoutTheModuleTheTestGoesOnSilently();
    void withoutTheModuleThePageSaysWhyItCannotPrint_data();
    void withoutTheModuleThePageSaysWhyItCannotPrint();

private:
    QTemporaryDir dir;
};

void TestDeviceModule::withoutTheModuleTheTestGoesOnSilently()
{
    QVERIFY(dir.isValid());
    const QString wav = dir.filePath(QStringLiteral("tone.wav"));
    QVERIFY(WavFile::write(wav, WavFile::tone(22050)));
    VoicePlayer player;
    player.play(wav);
    QVERIFY(!DeviceModule::devices());
    QCOMPARE(player.playCount(), 1);
    QCOMPARE(player.skipCount(), 0);
    player.stop();
    QVERIFY(player.isStopped());
}

void TestDeviceModule::withoutTheModuleThePageSaysWhyItCannotPrint_data()
{
    QTest::addColumn<QString>("button");
    QTest::newRow("PDF") << QStringLiteral("pdfButton");
    QTest::newRow("print") << QStringLiteral("printButton");
}

void TestDeviceModule::withoutTheModuleThePageSaysWhyItCannotPrint()
{
    QFETCH(QString, button);
    ResultsFolder::set(dir.path());
    Results page(nullptr);
    page.show();
    auto box = answerMessageBox(QStringLiteral("OK"));
    QTest::mouseClick(page.findChild<QWidget *>(button), Qt::LeftButton);
    QVERIFY(box->seen);
    QCOMPARE(box->title, QStringLiteral("Ups!"));
    QVERIFY2(box->text.contains(QDir::toNativeSeparators(dir.filePath(QStringLiteral("results.html")))), qPrintable(box->text));
    QCOMPARE(box->className, QStringLiteral("QMessageBox"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList { QStringLiteral("tone.wav") });
}

QTEST_MAIN(TestDeviceModule)
#include "tst_devicemodule.moc"
