#include "widgets/darkmargin.h"

DarkMargin::DarkMargin(QWidget *parent)
    : QWidget(parent)
{
    setAutoFillBackground(true);
    backgroundBrush = QBrush(QColor(5, 5, 69), Qt::SolidPattern);
    textBrush = QBrush(Qt::white, Qt::SolidPattern);
    marginPalette.setBrush(QPalette::All, QPalette::WindowText, textBrush);
    marginPalette.setBrush(QPalette::All, QPalette::Window, backgroundBrush);
    setPalette(marginPalette);
}
