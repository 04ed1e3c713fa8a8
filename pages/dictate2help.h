#pragma once

#include "pages/guidepage.h"

// Explains the second dictation just before it starts, reading itself aloud when shown.
class Dictate2Help : public GuidePage
{
    Q_OBJECT

public:
    explicit Dictate2Help(QWidget *parent);
};
