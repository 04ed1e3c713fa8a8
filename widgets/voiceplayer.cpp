#include "voiceplayer.h"

#include "recordingcheck.h"
#include "recordingfolders.h"

#include <QCoreApplication>
#include <QSoundEffect>
#include <QUrl>

VoicePlayer voicePlayer;

VoicePlayer::~VoicePlayer()
{
    // The program-wide player has let go of its sound when the application quit. If it is
    // destroyed with a sound still held, the program is ending through exit(), after Qt's
    // own sound machinery may already be gone: leave the sound to the operating system.
    if (this != &voicePlayer)
        release();
}

void VoicePlayer::play(const QString &newPath)
{
    if (!empty && !stopped)
        sound->stop();
    path = newPath;
    empty = false;
    stopped = false;
    ++plays;

    // QSoundEffect wants a URL: an absolute one, from the first folder that has the file.
    const QString file = RecordingFolders::resolve(newPath);
    const RecordingCheck::Wav header = RecordingCheck::read(file, false);
    QSoundEffect *effect = this->effect();
    if (!header.error.isEmpty()) {
        // The learner hears nothing for this word and goes on; the log tells the teacher why.
        ++skips;
        qWarning("Skrivlo: skipping recording %s: %s", qPrintable(file), qPrintable(header.error));
        effect->setSource(QUrl());
        return;
    }
    effect->setSource(QUrl::fromLocalFile(file));
    effect->play();
}

void VoicePlayer::stop()
{
    if (empty || stopped)
        return;
    sound->stop();
    stopped = true;
    ++stops;
}

QSoundEffect *VoicePlayer::effect()
{
    if (sound)
        return sound;
    // The sound backend must be let go while the application still exists: the program-wide
    // player outlives main(), and a sound deleted after the application crashes the exit.
    if (!quitWatcher && QCoreApplication::instance()) {
        quitWatcher = std::make_unique<QObject>();
        QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, quitWatcher.get(),
                         [this]() { release(); });
    }
    sound = new QSoundEffect;
    return sound;
}

void VoicePlayer::release()
{
    delete sound;
    sound = nullptr;
    empty = true;
    stopped = false;
}
