// The least a Qt program does before a password can be typed: a dialog with one field.
// It quits as soon as the dialog has been painted.

#include "timing/timingmarks.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTimer>
#include <QVBoxLayout>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    TimingMarks::install([](const QString &what, const QString &name) {
        if (what == QLatin1String("painted") && name == QLatin1String("Floor dialog"))
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    });
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Floor dialog"));
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLineEdit);
    dialog.show();
    return application.exec();
}
