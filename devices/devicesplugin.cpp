#include "devicesplugin.h"

#include "effectspeaker.h"
#include "studiowindow.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QTextDocument>

Speaker *DevicesPlugin::newSpeaker()
{
    return new EffectSpeaker;
}

void DevicesPlugin::writePdf(const QTextDocument &document, const QString &fileName)
{
    QPrinter printer(QPrinter::ScreenResolution);
    printer.setOutputFileName(fileName);
    printer.setOutputFormat(QPrinter::PdfFormat);
    document.print(&printer);
}

void DevicesPlugin::print(const QTextDocument &document, const QString &dialogTitle, QWidget *parent)
{
    QPrinter printer(QPrinter::ScreenResolution);
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(dialogTitle);
    if (dialog.exec() == QDialog::Accepted)
        document.print(&printer);
}

QWidget *DevicesPlugin::newStudio(const QVector<Manuscript::Recording> &recordings,
                                  std::function<void(const QString &)> play, std::function<void()> stop)
{
    return new StudioWindow(recordings, std::move(play), std::move(stop));
}
