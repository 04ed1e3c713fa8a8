#include "devices/plugin/devicesplugin.h"

#include "devices/plugin/effectspeaker.h"
#include "studio/studiowindow.h"
#include "teacherview/teacherview.h"

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

std::unique_ptr<QWidget> DevicesPlugin::newStudio(const QVector<StudioText> &texts,
                                                  std::function<void(const QString &)> play, std::function<void()> stop)
{
    return std::make_unique<StudioWindow>(texts, std::move(play), std::move(stop));
}

std::unique_ptr<QWidget> DevicesPlugin::newTeacherView(const QString &classFolder, const QString &outbox,
                                                       const QString &workFolder, const QString &password,
                                                       const QStringList &keyLines, const QString &keyringFolder,
                                                       bool fixedPassword, int keepMonths,
                                                       const QString &keepMonthsText, bool deleteOld)
{
    return std::make_unique<TeacherView>(classFolder, outbox, workFolder,
                                         ClassListing::Keys { password, keyLines, keyringFolder }, fixedPassword,
                                         Retention(keepMonths, deleteOld, keepMonthsText));
}
