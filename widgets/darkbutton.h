#pragma once

#include <QPalette>
#include <QPushButton>

// The square 64 x 64 picture button used instead of text buttons on every page.
class DarkButton : public QPushButton
{
public:
    DarkButton(QWidget *parent, const QString &imageName);

private:
    QPalette buttonPalette;
};
