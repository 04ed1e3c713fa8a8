#include "testwindow/pagearea.h"

#include <QScrollBar>

PageArea::PageArea(QWidget *parent)
    : QScrollArea(parent)
{
}

QSize PageArea::sizeHint() const
{
    if (!widget())
        return QScrollArea::sizeHint();
    // Room for the vertical bar, which a page taller than the screen brings.
    return widget()->sizeHint() + QSize(verticalScrollBar()->sizeHint().width(), 0);
}
