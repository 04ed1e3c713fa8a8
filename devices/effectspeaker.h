#pragma once

#include "devices.h"

#include <QSoundEffect>

// A speaker is one QSoundEffect: it decodes the WAV once and starts it with the least delay.
class EffectSpeaker : public Speaker
{
public:
    void setSource(const QUrl &file) override { effect.setSource(file); }
    void play() override { effect.play(); }
    void stop() override { effect.stop(); }

private:
    QSoundEffect effect;
};
