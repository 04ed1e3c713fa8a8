#pragma once

#include "devices/speaker.h"

#include <QUrl>

class QSoundEffect;

// A speaker is a fresh QSoundEffect for each recording: pointing an effect that is playing at
// another file waits about a third of a second for the sound server before the new sentence
// starts, where a new effect starts it in some 40 ms.
class EffectSpeaker : public Speaker
{
public:
    EffectSpeaker() = default;
    ~EffectSpeaker() override;
    EffectSpeaker(const EffectSpeaker &) = delete;
    EffectSpeaker &operator=(const EffectSpeaker &) = delete;

    void setSource(const QUrl &file) override;
    void play() override;
    void stop() override;

private:
    void letGo();

    QSoundEffect *effect = nullptr;
};
