#pragma once

#include "dictation/dictationpage.h"

// The second dictation: 60 words in 30 minutes, scored in three spelling categories
// that decide the level.
class Dictate2 : public DictationPage
{
    Q_OBJECT

public:
    Dictate2(QWidget *parent, Session &session);

protected:
    bool writeResults() override;
};
