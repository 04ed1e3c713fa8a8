#pragma once

#include <QtPlugin>

class QString;
class QTextDocument;
class QWidget;

// The report on paper or as a PDF file, from the module skrivlo_devices (Qt Print Support).
class PrintDevice
{
public:
    virtual ~PrintDevice() = default;

    // The document as a PDF file, one page after the other.
    virtual void writePdf(const QTextDocument &document, const QString &fileName) = 0;
    // The document on a printer that the learner chooses in Qt's print dialog.
    virtual void print(const QTextDocument &document, const QString &dialogTitle, QWidget *parent) = 0;
};

#define SKRIVLO_PRINT_DEVICE_IID "dk.skrivlo.PrintDevice/1"
Q_DECLARE_INTERFACE(PrintDevice, SKRIVLO_PRINT_DEVICE_IID)
