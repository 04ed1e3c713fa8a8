#include "devices/plugin/devicesplugin.h"

#include "devices/plugin/effectspeaker.h"
#include "studio/studiowindow.h"
#include "teacherview/teacherview.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QTextDocument>

std::unique_ptr<Speaker> DevicesPlugin::newSpeaker()
{
    return std::make_unique<EffectSpeaker>();
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

std::unique_ptr<QWidget> DevicesPlugin::newStudio(const QVector<StudioText> &texts,
                                                  std::function<void(const QString &)> play, std::function<void()> stop)
{
    return std::make_unique<StudioWindow>(texts, std::move(play), std::move(stop));
}

std::unique_ptr<QWidget> DevicesPlugin::newTeacherView(const QString &classFolder, const QString &outbox,
                                                       const QString &workFolder)
{
    return std::make_unique<TeacherView>(classFolder, outbox, workFolder);
}
