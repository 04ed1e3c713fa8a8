#pragma once

#include "studio/takeprocessing.h"

#include <QAudioFormat>
#include <QBuffer>
#include <QObject>

class QAudioSink;
class QAudioSource;

// The studio's sound: records a take from the default microphone, reports how loud it is
// while it runs, and hands the take over trimmed and levelled; plays a take back. The
// window decides what is kept; the recorder keeps nothing once a take is handed over.
class TakeRecorder : public QObject
{
    Q_OBJECT

public:
    // A guidance text read slowly takes a few minutes; anything longer was left running.
    static constexpr int longestTakeSeconds = 600;

    explicit TakeRecorder(QObject *parent = nullptr);
    ~TakeRecorder() override;

    static bool hasMicrophone();
    bool isRecording() const { return input != nullptr; }

    // Records from a stream that is already open: start() gives it the microphone's, and a
    // test its own sound.
    void capture(QIODevice *stream, const QAudioFormat &streamFormat);

public slots:
    void start();
    // Ends the take with takeReady() or nothingHeard(); does nothing when not recording.
    void stop();
    void play(const TakeProcessing::Take &take);
    void stopPlayback();

signals:
    void recordingStarted();
    // The peak of the latest sound, 0 to 100; 0 once the take ends.
    void levelChanged(int percent);
    void takeReady(const TakeProcessing::Take &take);
    void nothingHeard();
    // A sentence for the teacher: the microphone cannot be used.
    void failed(const QString &reason);

private:
    void readChunk();

    QAudioSource *source = nullptr;
    QIODevice *input = nullptr;
    QAudioFormat format;
    QByteArray raw;

    QAudioSink *sink = nullptr;
    QBuffer playback;
};
