#include "voiceplayer.h"

#include "recordingfolders.h"

#include <QCoreApplication>
#include <QSoundEffect>
#include <QUrl>

VoicePlayer voicePlayer;

VoicePlayer::~VoicePlayer()
{
    release();
}

void VoicePlayer::play(const QString &newPath)
{
    if (!empty) {
        if (!stopped) {
            sound->stop();
            stopped = true;
        }
        delete sound;
        sound = nullptr;
    }
    start(newPath);
}

void VoicePlayer::stop()
{
    if (empty || stopped)
        return;
    sound->stop();
    stopped = true;
    ++stops;
}

void VoicePlayer::start(const QString &newPath)
{
    // The sound backend must be let go while the application still exists: the program-wide
    // player outlives main(), and a sound deleted after the application crashes the exit.
    if (!quitWatcher && QCoreApplication::instance()) {
        quitWatcher = std::make_unique<QObject>();
        QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, quitWatcher.get(),
                         [this]() { release(); });
    }
    path = newPath;
    sound = new QSoundEffect;
    // QSoundEffect wants a URL: an absolute one, from the first folder that has the file.
    sound->setSource(QUrl::fromLocalFile(RecordingFolders::resolve(newPath)));
    sound->play();
    empty = false;
    stopped = false;
    ++plays;
}

void VoicePlayer::release()
{
    delete sound;
    sound = nullptr;
    empty = true;
    stopped = false;
}
