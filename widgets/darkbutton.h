#pragma once

#include <QPalette>
#include <QPushButton>

// The square 64 x 64 picture button used instead of text buttons on every page. Its
// picture says nothing to a screen reader, so it carries a Danish name and description.
class DarkButton : public QPushButton
{
    Q_OBJECT

public:
    DarkButton(QWidget *parent, const QString &imageName);

protected:
    // Enter and Return press a focused button, as Space does.
    void keyPressEvent(QKeyEvent *event) override;

private:
    QPalette buttonPalette;
};
