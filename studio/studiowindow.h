#pragma once

#include "recordings/manuscript.h"
#include "studio/takeprocessing.h"

#include <QWidget>

#include <functional>

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class TakeRecorder;

// The teacher reads the texts of the recordings aloud, one after the other, and the
// program keeps each accepted take in the teacher's folder, where the test finds it first.
// Driven by three keys: Space records and stops, P plays back, Enter accepts and goes on.
// The program's own recording of a text is heard through play("sounds/<name>") and stop().
class StudioWindow : public QWidget
{
    Q_OBJECT

public:
    StudioWindow(const QVector<Manuscript::Recording> &recordings, std::function<void(const QString &)> play,
                 std::function<void()> stop, QWidget *parent = nullptr);

    int currentIndex() const { return current; }
    bool isRecording() const;

public slots:
    void slotRecordOrStop();
    void slotPlayBack();
    void slotAccept();
    void slotPrevious();
    void slotNext();

private:
    void showText(int index);
    void startRecording();
    void showStopped(const QString &status);
    bool isTeachers(int index) const;
    void updateProgress();
    void markItem(int index);
    void setStatus(const QString &text);

    const QVector<Manuscript::Recording> recordings;
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
    TakeRecorder *recorder;

    // The latest take, until it is saved or given up.
    TakeProcessing::Take take;
};
