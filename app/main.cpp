#include "mainwindow.h"
#include "splashdialog.h"

#include <QApplication>
#include <QStyle>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    // Plastique where the toolkit still has it; Fusion gives the same look everywhere else.
    if (!QApplication::setStyle(QStringLiteral("Plastique")))
        QApplication::setStyle(QStringLiteral("Fusion"));

    SplashDialog splash(nullptr);
    if (splash.exec() != QDialog::Accepted)
        return 0;

    MainWindow window;
    window.showFullScreen();
    return application.exec();
}
