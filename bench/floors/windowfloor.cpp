// A password dialog, then a full-screen window with a given number of visible widgets: the
// floor for the step from the password to the main window. It quits once the window is
// painted.
//
// Built as floor-memory (FLOOR_SOUND_AND_PDF), the window also holds a report view; once
// painted it plays one sound, then asks for a file name in Qt's save dialog as a learner's
// PDF does, prints the report to PDF there, marks "ready" and runs on until its standard
// input closes, so the peak memory of a run like Skrivlo's can be read.
//
// Arguments: widgets [sound.wav report.html]

#include "timing/timingmarks.h"

#include <QApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#ifdef FLOOR_SOUND_AND_PDF
#include <QFileDialog>
#include <QPrinter>
#include <QSocketNotifier>
#include <QSoundEffect>
#include <QTextBrowser>
#include <QUrl>

#include <cstdio>
#endif

namespace {

const QString windowTitle = QStringLiteral("Floor window");

// Three columns like Skrivlo's: two side panels of labels and a page of labels and fields
// with a button; `widgets` counts the window and the columns too.
QWidget *buildWindow(int widgets, QWidget *extra)
{
    auto *window = new QWidget;
    window->setWindowTitle(windowTitle);
    auto *row = new QHBoxLayout(window);
    QVBoxLayout *columns[3];
    for (QVBoxLayout *&column : columns) {
        auto *panel = new QWidget;
        column = new QVBoxLayout(panel);
        row->addWidget(panel, &column == &columns[1] ? 4 : 1);
    }
    int left = widgets - 4;
    if (extra) {
        columns[1]->addWidget(extra);
        --left;
    }
    for (int i = 0; i < left; ++i) {
        QWidget *leaf = i % 7 == 6 ? static_cast<QWidget *>(new QPushButton(QStringLiteral("Videre")))
                : i % 3 == 2 ? static_cast<QWidget *>(new QLineEdit)
                             : new QLabel(QStringLiteral("Tekst %1").arg(i));
        columns[i % 5 == 0 ? 0 : i % 5 == 4 ? 2 : 1]->addWidget(leaf);
    }
    return window;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    const QStringList arguments = QApplication::arguments();
    const int widgets = arguments.value(1).toInt();
    if (widgets < 5)
        return 2;

    QWidget *extra = nullptr;
#ifdef FLOOR_SOUND_AND_PDF
    if (arguments.size() != 4)
        return 2;
    QSoundEffect sound;
    auto *report = new QTextBrowser;
    report->setSource(QUrl::fromLocalFile(arguments.at(3)));
    extra = report;
    QSocketNotifier input(fileno(stdin), QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&input]() {
        char line[256];
        if (!std::fgets(line, sizeof line, stdin)) {
            input.setEnabled(false);
            QCoreApplication::quit();
        }
    });
    auto printOnce = [report]() {
        QPrinter printer(QPrinter::ScreenResolution);
        const QString fileName = QFileDialog::getSaveFileName(report->window(), QStringLiteral("Floor save"),
                                                              QString(), QStringLiteral("PDF (*.pdf)"));
        printer.setOutputFileName(fileName);
        printer.setOutputFormat(QPrinter::PdfFormat);
        report->print(&printer);
        TimingMarks::mark("ready");
    };
    QObject::connect(&sound, &QSoundEffect::playingChanged, [&sound, printOnce]() {
        if (!sound.isPlaying())
            printOnce();
    });
#endif

    TimingMarks::install([&](const QString &what, const QString &name) {
        if (what != QLatin1String("painted") || name != windowTitle)
            return;
#ifdef FLOOR_SOUND_AND_PDF
        sound.setSource(QUrl::fromLocalFile(arguments.at(2)));
        sound.play();
#else
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
#endif
    });

    QDialog access;
    access.setWindowTitle(QStringLiteral("Floor access"));
    auto *field = new QLineEdit;
    (new QVBoxLayout(&access))->addWidget(field);
    QObject::connect(field, &QLineEdit::returnPressed, &access, &QDialog::accept);
    if (access.exec() != QDialog::Accepted)
        return 0;

    QWidget *window = buildWindow(widgets, extra);
    window->showFullScreen();
    const int status = application.exec();
    delete window;
    return status;
}
