#pragma once

#include <QBrush>
#include <QPalette>
#include <QWidget>

// The darker side panel at both edges of the main window.
class DarkMargin : public QWidget
{
    Q_OBJECT

public:
    explicit DarkMargin(QWidget *parent);

private:
    QPalette marginPalette;
    QBrush textBrush;
    QBrush backgroundBrush;
};
