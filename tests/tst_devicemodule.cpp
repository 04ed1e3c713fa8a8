#include "archive/workingfolder.h"
#include "devices/loader/devicemodule.h"
#include "pages/results.h"
#include "tests/support/modaldialog.h"
#include "tests/support/wavfile.h"
#include "widgets/voiceplayer.h"

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
    QVERIFY(!DeviceModule::sound());
    QVERIFY(!DeviceModule::printing());
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
    const WorkingFolder folder(dir.path());
    Results page(nullptr, folder);
    page.show();
    auto box = answerMessageBox(QStringLiteral("OK"));
    QTest::mouseClick(page.findChild<QWidget *>(button), Qt::LeftButton);
    QVERIFY(box->seen);
    QCOMPARE(box->title, QStringLiteral("Kan ikke udskrive"));
    QVERIFY2(box->text.startsWith(QStringLiteral("Hent din lærer.\n")), qPrintable(box->text));
    QVERIFY2(box->text.contains(QDir::toNativeSeparators(dir.filePath(QStringLiteral("results.html")))), qPrintable(box->text));
    QCOMPARE(box->className, QStringLiteral("QMessageBox"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList { QStringLiteral("tone.wav") });
}

QTEST_MAIN(TestDeviceModule)
#include "tst_devicemodule.moc"
