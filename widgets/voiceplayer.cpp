#include "voiceplayer.h"

#include "devicemodule.h"
#include "devices.h"
#include "recordingcheck.h"
#include "recordingfolders.h"

#include <QCoreApplication>
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
    if (!empty && !stopped && sound)
        sound->stop();
    path = newPath;
    empty = false;
    stopped = false;
    ++plays;

    // QSoundEffect wants a URL: an absolute one, from the first folder that has the file.
    const QString file = RecordingFolders::resolve(newPath);
    const RecordingCheck::Wav header = RecordingCheck::read(file, false);
    Speaker *speaker = this->speaker();
    if (!speaker)
        return; // no sound module: silent, as on a machine without sound
    if (!header.error.isEmpty()) {
        // The learner hears nothing for this word and goes on; the log tells the teacher why.
        ++skips;
        qWarning("Skrivlo: skipping recording %s: %s", qPrintable(file), qPrintable(header.error));
        speaker->setSource(QUrl());
        return;
    }
    speaker->setSource(QUrl::fromLocalFile(file));
    speaker->play();
}

void VoicePlayer::stop()
{
    if (empty || stopped)
        return;
    if (sound)
        sound->stop();
    stopped = true;
    ++stops;
}

Speaker *VoicePlayer::speaker()
{
    if (sound)
        return sound;
    Devices *devices = DeviceModule::devices();
    if (!devices)
        return nullptr;
    // The sound backend must be let go while the application still exists: the program-wide
    // player outlives main(), and a sound deleted after the application crashes the exit.
    if (!quitWatcher && QCoreApplication::instance()) {
        quitWatcher = std::make_unique<QObject>();
        QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, quitWatcher.get(),
                         [this]() { release(); });
    }
    sound = devices->newSpeaker();
    return sound;
}

void VoicePlayer::release()
{
    delete sound;
    sound = nullptr;
    empty = true;
    stopped = false;
}
