#pragma once

#include "dictation/dictationpage.h"

// The first dictation: 20 words in 10 minutes. 18 or more right opens the second one.
class Dictate1 : public DictationPage
{
    Q_OBJECT

public:
    Dictate1(QWidget *parent, Session &session);

    // Whether the handed-in dictation reached the pass mark.
    bool passed() const { return dictationPassed; }
    // For a test continued after a crash past this page.
    void setPassed(bool passed) { dictationPassed = passed; }

protected:
    bool writeResults() override;

private:
    bool dictationPassed = false;
};
