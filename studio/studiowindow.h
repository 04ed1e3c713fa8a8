#pragma once

#include "devices/studiodevice.h"
#include "studio/takeprocessing.h"

#include <QAudioFormat>
#include <QBuffer>
#include <QWidget>

#include <functional>

class QAudioSink;
class QAudioSource;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;

// The teacher reads the texts of the recordings aloud, one after the other, and the
// program keeps each accepted take in the teacher's folder, where the test finds it first.
// Driven by three keys: Space records and stops, P plays back, Enter accepts and goes on.
// The program's own recording of a text is heard through play("sounds/<name>") and stop().
class StudioWindow : public QWidget
{
    Q_OBJECT

public:
    StudioWindow(const QVector<StudioText> &recordings, std::function<void(const QString &)> play,
                 std::function<void()> stop, QWidget *parent = nullptr);
    ~StudioWindow() override;

    int currentIndex() const { return current; }
    bool isRecording() const { return source != nullptr; }

public slots:
    void slotRecordOrStop();
    void slotPlayBack();
    void slotAccept();
    void slotPrevious();
    void slotNext();

private:
    void showText(int index);
    void startRecording();
    void stopRecording();
    void stopPlayback();
    bool isTeachers(int index) const;
    void updateProgress();
    void markItem(int index);
    void setStatus(const QString &text);

    const QVector<StudioText> recordings;
    const QString folder;
    const std::function<void(const QString &)> playVoice;
    const std::function<void()> stopVoice;
    int current = 0;

    QLabel *progressLabel;
    QLabel *nameLabel;
    QLabel *textLabel;
    QLabel *statusLabel;
    QProgressBar *levelBar;
    QPushButton *recordButton;
    QPushButton *playButton;
    QPushButton *acceptButton;
    QPushButton *previousButton;
    QPushButton *nextButton;
    QListWidget *list;

    QAudioSource *source = nullptr;
    QIODevice *input = nullptr;
    QAudioFormat format;
    QByteArray raw;
    TakeProcessing::Take take;

    QAudioSink *sink = nullptr;
    QBuffer playback;
};
