#pragma once

#include <QtPlugin>

class QByteArray;
class QString;
class QTextDocument;
class QWidget;

// The report on paper or as a PDF file, from the module skrivlo_devices (Qt Print Support).
class PrintDevice
{
public:
    virtual ~PrintDevice() = default;

    // The document as the bytes of a PDF file, one page after the other; empty when it
    // could not be made. The caller writes them, by its own rules of where.
    virtual QByteArray pdf(const QTextDocument &document) = 0;
    // The document on a printer that the learner chooses in Qt's print dialog. When the
    // learner chooses to print to a file, nothing is written: the chosen path is returned,
    // for the caller to save the PDF there by the same rules as its own save. Empty otherwise.
    virtual QString print(const QTextDocument &document, const QString &dialogTitle, QWidget *parent) = 0;
};

#define SKRIVLO_PRINT_DEVICE_IID "dk.skrivlo.PrintDevice/2"
Q_DECLARE_INTERFACE(PrintDevice, SKRIVLO_PRINT_DEVICE_IID)
