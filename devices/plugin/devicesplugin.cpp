#include "devices/plugin/devicesplugin.h"

#include "devices/plugin/effectspeaker.h"

#include <QFile>
#include <QPrintDialog>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTextDocument>

std::unique_ptr<Speaker> DevicesPlugin::newSpeaker()
{
    return std::make_unique<EffectSpeaker>();
}

QByteArray DevicesPlugin::pdf(const QTextDocument &document)
{
    // Rendered into a private file first, so that no target is ever half written.
    QTemporaryDir dir;
    if (!dir.isValid())
        return QByteArray();
    const QString path = dir.filePath(QStringLiteral("report.pdf"));
    QPrinter printer(QPrinter::ScreenResolution);
    printer.setOutputFileName(path);
    printer.setOutputFormat(QPrinter::PdfFormat);
    document.print(&printer);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    const QByteArray bytes = file.readAll();
    return bytes.startsWith("%PDF") ? bytes : QByteArray();
}

QString DevicesPlugin::print(const QTextDocument &document, const QString &dialogTitle, QWidget *parent)
{
    QPrinter printer(QPrinter::ScreenResolution);
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(dialogTitle);
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    // "Print to file": the page saves it, so the dialog can never replace another file.
    if (printer.outputFormat() == QPrinter::PdfFormat)
        return printer.outputFileName();
    document.print(&printer);
    return QString();
}
