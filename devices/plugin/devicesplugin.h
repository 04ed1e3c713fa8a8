#pragma once

#include "devices/printdevice.h"
#include "devices/sounddevice.h"
#include "devices/studiodevice.h"
#include "devices/teacherviewdevice.h"

#include <QObject>

// The module's one object: every device of the program that needs Qt Multimedia or Qt Print
// Support, which are loaded only here.
class DevicesPlugin : public QObject, public SoundDevice, public PrintDevice, public StudioDevice,
                      public TeacherViewDevice
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "dk.skrivlo.Devices/2")
    Q_INTERFACES(SoundDevice PrintDevice StudioDevice TeacherViewDevice)

public:
    std::unique_ptr<Speaker> newSpeaker() override;
    QByteArray pdf(const QTextDocument &document) override;
    QString print(const QTextDocument &document, const QString &dialogTitle, QWidget *parent) override;
    std::unique_ptr<QWidget> newStudio(const QVector<StudioText> &texts, std::function<void(const QString &)> play,
                                       std::function<void()> stop) override;
    std::unique_ptr<QWidget> newTeacherView(const QString &classFolder, const QString &outbox,
                                            const QString &workFolder, const QString &password,
                                            const QStringList &keyLines, const QString &keyringFolder,
                                            bool fixedPassword, int keepMonths, const QString &keepMonthsText,
                                            bool deleteOld) override;
};
