#pragma once

#include "devices.h"

#include <QObject>

// The module's side of Devices: Qt Multimedia and Qt Print Support, loaded only here.
class DevicesPlugin : public QObject, public Devices
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID SKRIVLO_DEVICES_IID)
    Q_INTERFACES(Devices)

public:
    Speaker *newSpeaker() override;
    void writePdf(const QTextDocument &document, const QString &fileName) override;
    void print(const QTextDocument &document, const QString &dialogTitle, QWidget *parent) override;
    QWidget *newStudio(const QVector<Manuscript::Recording> &recordings,
                       std::function<void(const QString &)> play, std::function<void()> stop) override;
};
