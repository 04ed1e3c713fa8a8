#include "widgets/centerframe.h"

CenterFrame::CenterFrame(QWidget *parent)
    : QWidget(parent)
{
    // All three are taken from the same original font, so only the size differs.
    headingFont = font();
    headingFont.setPointSize(24);
    textFont = font();
    textFont.setPointSize(12);
    baseFont = font();
    baseFont.setPointSize(11);
    setFont(baseFont);

    textBrush = QBrush(Qt::white, Qt::SolidPattern);
    framePalette.setBrush(QPalette::All, QPalette::WindowText, textBrush);
    setPalette(framePalette);
}
