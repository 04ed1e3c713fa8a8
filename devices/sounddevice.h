#pragma once

#include "devices/speaker.h"

#include <QtPlugin>

#include <memory>

// The sound server, for the program's one player. Qt's sound library with the sound server's
// own takes longer to load than the whole access dialog needs: it lives in the module
// skrivlo_devices, loaded on a thread while the teacher types the password.
class SoundDevice
{
public:
    virtual ~SoundDevice() = default;
    virtual std::unique_ptr<Speaker> newSpeaker() = 0;
};

#define SKRIVLO_SOUND_DEVICE_IID "dk.skrivlo.SoundDevice/1"
Q_DECLARE_INTERFACE(SoundDevice, SKRIVLO_SOUND_DEVICE_IID)
