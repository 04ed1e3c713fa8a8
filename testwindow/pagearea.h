#pragma once

#include <QScrollArea>

// The scroll area that holds the current page. It asks the window for as much width as the
// page wants (a plain scroll area caps its wish at a few dozen characters), so the page
// scrolls sideways only when even the margins' room cannot make it fit.
class PageArea : public QScrollArea
{
    Q_OBJECT

public:
    explicit PageArea(QWidget *parent);

    QSize sizeHint() const override;
};
