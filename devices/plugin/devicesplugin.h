#pragma once

#include "devices/printdevice.h"
#include "devices/sounddevice.h"

#include <QObject>

// The module's one object: the speaker and the printer, which need Qt Multimedia and Qt Print
// Support, loaded on a thread while the password is typed. It links Qt only, so that no part
// of the program exists twice in a process.
class DevicesPlugin : public QObject, public SoundDevice, public PrintDevice
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "dk.skrivlo.Devices/3")
    Q_INTERFACES(SoundDevice PrintDevice)

public:
    std::unique_ptr<Speaker> newSpeaker() override;
    QByteArray pdf(const QTextDocument &document) override;
    QString print(const QTextDocument &document, const QString &dialogTitle, QWidget *parent) override;
};
