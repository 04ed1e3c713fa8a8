#include "pages/welcome.h"

#include "content/pagetexts.h"

Welcome::Welcome(QWidget *parent)
    : GuidePage(parent, PageTexts::welcome(), PlayOnRequest)
{
}
