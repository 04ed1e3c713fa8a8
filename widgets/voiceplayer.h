#pragma once

#include <QString>

#include <memory>

class QObject;
class Speaker;

// The one object through which every recording is played. Starting a recording cuts off
// the one before; a missing file or a machine without sound simply stays silent.
// The player keeps its own state: the sound backend's notion of "playing" cannot be
// trusted when there is no audio device.
// One speaker, from the sound module, lives as long as the application and is pointed at
// each recording in turn. A file whose header would fail is skipped (and logged) before Qt
// ever sees it: a sound effect pointed at such a file hangs the next change of source. At
// most the last recording stays decoded.
class VoicePlayer
{
public:
    VoicePlayer() = default;
    ~VoicePlayer();
    VoicePlayer(const VoicePlayer &) = delete;
    VoicePlayer &operator=(const VoicePlayer &) = delete;

    void play(const QString &path);
    void stop();

    // What the player did last, for the pages' tests and for diagnosis.
    bool isEmpty() const { return empty; }
    bool isStopped() const { return stopped; }
    QString currentPath() const { return path; }
    int playCount() const { return plays; }
    int stopCount() const { return stops; }
    int skipCount() const { return skips; }

private:
    Speaker *speaker();
    void release();

    bool empty = true;
    bool stopped = false;
    Speaker *sound = nullptr;
    std::unique_ptr<QObject> quitWatcher;
    QString path;
    int plays = 0;
    int stops = 0;
    int skips = 0;
};

extern VoicePlayer voicePlayer;
