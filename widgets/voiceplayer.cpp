#include "voiceplayer.h"

#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

VoicePlayer voicePlayer;

VoicePlayer::~VoicePlayer()
{
    delete sound;
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
    path = newPath;
    sound = new QSoundEffect;
    // QSoundEffect wants a URL; an absolute one so the working directory is what counts.
    sound->setSource(QUrl::fromLocalFile(QFileInfo(newPath).absoluteFilePath()));
    sound->play();
    empty = false;
    stopped = false;
    ++plays;
}
