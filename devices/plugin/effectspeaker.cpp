#include "devices/plugin/effectspeaker.h"

#include <QSoundEffect>
#include <QVector>

#include <utility>

EffectSpeaker::~EffectSpeaker()
{
    letGo();
}

void EffectSpeaker::setSource(const QUrl &file)
{
    // Even for the same file again: Qt keeps the decoded file, so a new effect costs little.
    letGo();
    if (file.isEmpty())
        return;
    effect = new QSoundEffect;
    effect->setSource(file);
}

void EffectSpeaker::play()
{
    if (effect)
        effect->play();
}

void EffectSpeaker::stop()
{
    if (effect)
        effect->stop();
}

void EffectSpeaker::letGo()
{
    QSoundEffect *old = std::exchange(effect, nullptr);
    if (!old)
        return;
    if (old->status() != QSoundEffect::Error) {
        delete old;
        return;
    }
    // Deleting an effect whose file failed to decode can wait forever inside Qt: such an
    // effect is silenced and kept for the rest of the run instead (one for each bad file).
    static QVector<QSoundEffect *> undecodable;
    old->stop();
    undecodable.append(old);
}
