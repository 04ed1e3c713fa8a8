// A bare report view: shows an HTML file full screen and, once it is painted, prints it to
// PDF and quits. Arguments: the HTML file and the PDF file.

#include "timing/timingmarks.h"

#include <QApplication>
#include <QPrinter>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() != 3)
        return 2;
    QTextBrowser view;
    TimingMarks::install([&view, &arguments](const QString &what, const QString &name) {
        if (what != QLatin1String("painted") || name != QLatin1String("Floor report"))
            return;
        TimingMarks::mark("pdf-begin");
        QPrinter printer(QPrinter::ScreenResolution);
        printer.setOutputFileName(arguments.at(2));
        printer.setOutputFormat(QPrinter::PdfFormat);
        view.print(&printer);
        TimingMarks::mark("pdf-written");
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    });
    TimingMarks::mark("begin");
    view.setWindowTitle(QStringLiteral("Floor report"));
    view.setSource(QUrl::fromLocalFile(arguments.at(1)));
    view.showFullScreen();
    return application.exec();
}
