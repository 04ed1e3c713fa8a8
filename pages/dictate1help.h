#pragma once

#include "pages/guidepage.h"

// Explains the first dictation just before it starts, reading itself aloud when shown.
class Dictate1Help : public GuidePage
{
    Q_OBJECT

public:
    explicit Dictate1Help(QWidget *parent);
};
