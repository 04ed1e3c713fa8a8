#include "widgets/darkbutton.h"

#include "widgets/compiledpicture.h"

#include <QCoreApplication>
#include <QIcon>
#include <QKeyEvent>

namespace {

struct RoleColours
{
    QPalette::ColorRole role;
    QColor enabled;
    QColor disabled;
};

// Shades of the button blue (21, 21, 85): light 150 %, midlight 125 %, mid 1/1.5, dark 1/2.
const RoleColours roleColours[] = {
    { QPalette::WindowText, QColor(255, 255, 255), QColor(10, 10, 42) },
    { QPalette::Button, QColor(21, 21, 85), QColor(21, 21, 85) },
    { QPalette::Light, QColor(31, 31, 127), QColor(31, 31, 127) },
    { QPalette::Midlight, QColor(26, 26, 106), QColor(26, 26, 106) },
    { QPalette::Dark, QColor(10, 10, 42), QColor(10, 10, 42) },
    { QPalette::Mid, QColor(14, 14, 56), QColor(14, 14, 56) },
    { QPalette::Text, QColor(255, 255, 255), QColor(10, 10, 42) },
    { QPalette::BrightText, QColor(255, 255, 255), QColor(255, 255, 255) },
    { QPalette::ButtonText, QColor(255, 255, 255), QColor(10, 10, 42) },
    { QPalette::Base, QColor(0, 0, 0), QColor(21, 21, 85) },
    { QPalette::Window, QColor(21, 21, 85), QColor(21, 21, 85) },
    { QPalette::Shadow, QColor(0, 0, 0), QColor(0, 0, 0) },
    { QPalette::AlternateBase, QColor(10, 10, 42), QColor(21, 21, 85) },
    { QPalette::ToolTipBase, QColor(255, 255, 220), QColor(255, 255, 220) },
    { QPalette::ToolTipText, QColor(0, 0, 0), QColor(0, 0, 0) },
};

// What a screen reader says for each picture.
struct Spoken
{
    const char *imageName;
    const char *name;
    const char *description;
};

const Spoken spoken[] = {
    { "voice.png", QT_TRANSLATE_NOOP("DarkButton", "Højttaleren"),
      QT_TRANSLATE_NOOP("DarkButton", "Læser sidens tekst højt") },
    { "next.png", QT_TRANSLATE_NOOP("DarkButton", "Den grønne pil"),
      QT_TRANSLATE_NOOP("DarkButton", "Går videre til næste side") },
    { "pdf.png", QT_TRANSLATE_NOOP("DarkButton", "Gem som PDF-fil"),
      QT_TRANSLATE_NOOP("DarkButton", "Gemmer resultaterne som en PDF-fil") },
    { "print.png", QT_TRANSLATE_NOOP("DarkButton", "Udskriv"),
      QT_TRANSLATE_NOOP("DarkButton", "Udskriver resultaterne") },
};

} // namespace

DarkButton::DarkButton(QWidget *parent, const QString &imageName)
    : QPushButton(parent)
{
    for (const RoleColours &c : roleColours) {
        buttonPalette.setBrush(QPalette::Active, c.role, QBrush(c.enabled));
        buttonPalette.setBrush(QPalette::Inactive, c.role, QBrush(c.enabled));
        buttonPalette.setBrush(QPalette::Disabled, c.role, QBrush(c.disabled));
    }
    setPalette(buttonPalette);
    setAutoFillBackground(false);

    QIcon icon;
    icon.addPixmap(CompiledPicture::pixmap(imageName), QIcon::Normal, QIcon::Off);
    setIcon(icon);
    setIconSize(QSize(48, 48));
    setMaximumSize(64, 64);
    setMinimumSize(64, 64);

    for (const Spoken &s : spoken) {
        if (imageName == QLatin1String(s.imageName)) {
            setAccessibleName(QCoreApplication::translate("DarkButton", s.name));
            setAccessibleDescription(QCoreApplication::translate("DarkButton", s.description));
        }
    }
}

void DarkButton::keyPressEvent(QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!enter || (event->modifiers() & ~Qt::KeypadModifier)) {
        QPushButton::keyPressEvent(event);
        return;
    }
    // A held key repeats: one press is one click.
    if (!event->isAutoRepeat())
        click();
    event->accept();
}
