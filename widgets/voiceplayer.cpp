#include "widgets/voiceplayer.h"

#include "devices/loader/devicemodule.h"
#include "devices/sounddevice.h"
#include "recordings/recordingcheck.h"
#include "recordings/recordingfolders.h"

#include <QUrl>

VoicePlayer *voicePlayer = nullptr;

VoicePlayer::VoicePlayer()
{
    Q_ASSERT_X(!voicePlayer, "VoicePlayer", "the program has one player");
    voicePlayer = this;
}

VoicePlayer::~VoicePlayer()
{
    if (voicePlayer == this)
        voicePlayer = nullptr;
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
    if (!sound) {
        if (SoundDevice *device = DeviceModule::sound())
            sound = device->newSpeaker();
    }
    return sound.get();
}
