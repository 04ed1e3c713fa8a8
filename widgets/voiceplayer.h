#pragma once

#include <QString>

#include <memory>

class Speaker;

// The one object through which every recording is played. Starting a recording cuts off
// the one before; a missing file or a machine without sound simply stays silent.
// The player keeps its own state: the sound backend's notion of "playing" cannot be
// trusted when there is no audio device.
// One speaker, from the sound module, is pointed at each recording in turn. A file whose
// header would fail is skipped (and logged) before Qt ever sees it: a sound effect pointed
// at such a file hangs the next change of source. At most the last recording stays decoded.
class VoicePlayer
{
public:
    // The new player becomes the program's voicePlayer until it is destroyed.
    VoicePlayer();
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

    bool empty = true;
    bool stopped = false;
    std::unique_ptr<Speaker> sound;
    QString path;
    int plays = 0;
    int stops = 0;
    int skips = 0;
};

// The program's one player, reached from every page and word field. main makes it once the
// application exists and it is gone before the application is, so no sound outlives Qt's
// sound machinery.
extern VoicePlayer *voicePlayer;
