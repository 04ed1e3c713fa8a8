#pragma once

#include "manuscript.h"

#include <QtPlugin>

#include <functional>

class QTextDocument;
class QUrl;
class QWidget;

// One recording at a time through the sound server, as the program's one player asks.
class Speaker
{
public:
    virtual ~Speaker() = default;
    virtual void setSource(const QUrl &file) = 0;
    virtual void play() = 0;
    virtual void stop() = 0;
};

// Everything the program does with the sound server, the microphone and the printer. Qt's
// libraries for these, with the sound server's own, take longer to load than the whole
// access dialog needs, and the dialog uses none of them: they live in a module of their own
// (skrivlo_devices), loaded on a thread while the teacher types the password.
class Devices
{
public:
    virtual ~Devices() = default;

    // A new speaker, owned by the caller.
    virtual Speaker *newSpeaker() = 0;

    // The report as a PDF file, one page after the other.
    virtual void writePdf(const QTextDocument &document, const QString &fileName) = 0;
    // The report on a printer that the learner chooses in Qt's print dialog.
    virtual void print(const QTextDocument &document, const QString &dialogTitle, QWidget *parent) = 0;

    // The teacher's recording window, owned by the caller. The program's own recordings are
    // heard through the program's one player: play() with "sounds/<name>", and stop().
    virtual QWidget *newStudio(const QVector<Manuscript::Recording> &recordings,
                               std::function<void(const QString &)> play, std::function<void()> stop) = 0;
};

#define SKRIVLO_DEVICES_IID "dk.skrivlo.Devices/1"
Q_DECLARE_INTERFACE(Devices, SKRIVLO_DEVICES_IID)
