#include "pages/dictate2help.h"

#include "content/pagetexts.h"

Dictate2Help::Dictate2Help(QWidget *parent)
    : GuidePage(parent, PageTexts::dictate2Help(), PlayWhenShown)
{
}
