#pragma once

#include "dictationpage.h"

// The first dictation: 20 words in 10 minutes. 18 or more right opens the second one.
class Dictate1 : public DictationPage
{
    Q_OBJECT

public:
    explicit Dictate1(QWidget *parent);

    // Whether the handed-in dictation reached the pass mark.
    bool passed() const { return dictationPassed; }
    // For a test continued after a crash past this page.
    void setPassed(bool passed) { dictationPassed = passed; }

protected:
    void writeResults() override;

private:
    bool dictationPassed = false;
};
