#include "pages/dictate1help.h"

#include "content/pagetexts.h"

Dictate1Help::Dictate1Help(QWidget *parent)
    : GuidePage(parent, PageTexts::dictate1Help(), PlayWhenShown)
{
}
