#pragma once

#include <QString>
#include <QStringList>
#include <QVector>
#include <QtPlugin>

#include <functional>
#include <memory>

class QWidget;

// One text for the teacher to read aloud: the recording it becomes and what it says, part by part.
struct StudioText
{
    QString fileName; // "welcome.wav", "17.wav", ...
    QStringList parts;
};

// The teacher's recording window, from the module skrivlo_devices (microphone and playback).
class StudioDevice
{
public:
    virtual ~StudioDevice() = default;

    // The program's own recording of a text is heard through the program's one player:
    // play() with "sounds/<name>", and stop().
    virtual std::unique_ptr<QWidget> newStudio(const QVector<StudioText> &texts,
                                               std::function<void(const QString &)> play,
                                               std::function<void()> stop) = 0;
};

#define SKRIVLO_STUDIO_DEVICE_IID "dk.skrivlo.StudioDevice/1"
Q_DECLARE_INTERFACE(StudioDevice, SKRIVLO_STUDIO_DEVICE_IID)
