#include "recordings/manuscript.h"
#include "recordings/recordingcheck.h"

#include <QtTest>

// The recordings the build puts in build/sounds: every one the manuscript names must be a
// WAV that QSoundEffect plays on Linux and Windows, hold speech, and be neither cut off
// nor out of step with its text.
class TestRecordings : public QObject
{
    Q_OBJECT

private slots:
    void recording_data();
    void recording();
};

void TestRecordings::recording_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<bool>("guidance");
    QTest::addColumn<int>("characters");

    for (const Manuscript::Recording &recording : Manuscript::recordings()) {
        const bool guidance = !recording.fileName.front().isDigit();
        QTest::newRow(qPrintable(recording.fileName))
                << recording.fileName << guidance << int(recording.text().size());
    }
}

void TestRecordings::recording()
{
    QFETCH(QString, fileName);
    QFETCH(bool, guidance);
    QFETCH(int, characters);

    const QString path = QStringLiteral(SKRIVLO_BUILD_DIR "/sounds/") + fileName;
    const RecordingCheck::Wav wav = RecordingCheck::read(path, true);
    QVERIFY2(wav.error.isEmpty(), qPrintable(wav.error));
    // The program's own check at start-up: plays, holds sound, is not cut off.
    const QString problem = RecordingCheck::problem(path);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));

    // The build writes what QSoundEffect decodes on both systems, in one form.
    QCOMPARE(wav.channels, quint16(1));
    QCOMPARE(wav.bits, quint16(16));
    // Speech from the very first sample was cut at the start: a sound device that wakes up
    // slowly would eat the first syllable.
    QVERIFY2(RecordingCheck::peak(wav.samples, 0, int(wav.rate / 100)) < 0.05, "loud from the first sample: cut at the start");

    const double seconds = double(wav.samples.size()) / wav.rate;
    if (guidance)
        QVERIFY2(seconds >= 5 && seconds <= 180, qPrintable(QStringLiteral("%1 s").arg(seconds)));
    else
        QVERIFY2(seconds >= 2 && seconds <= 20, qPrintable(QStringLiteral("%1 s").arg(seconds)));
    // About as long as its text takes to say, slowly: a script that broke off early or a
    // recording of some other text falls outside.
    const double perCharacter = seconds / characters;
    QVERIFY2(perCharacter >= 0.04 && perCharacter <= 0.3,
             qPrintable(QStringLiteral("%1 s for %2 characters").arg(seconds).arg(characters)));
}

QTEST_GUILESS_MAIN(TestRecordings)
#include "tst_recordings.moc"
