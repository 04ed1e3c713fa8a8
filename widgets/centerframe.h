#pragma once

#include <QBrush>
#include <QFont>
#include <QPalette>
#include <QWidget>

// Base of every page in the middle of the main window: white text and the three page fonts.
// The frame paints no background, so the window blue shows through.
class CenterFrame : public QWidget
{
    Q_OBJECT

public:
    explicit CenterFrame(QWidget *parent);

protected:
    QPalette framePalette;
    QBrush textBrush;
    QFont baseFont;
    QFont headingFont;
    QFont textFont;
};
