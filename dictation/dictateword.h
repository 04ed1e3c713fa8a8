#pragma once

#include <QLineEdit>

// A gap in a dictation's story: a fixed-width field that plays its sentence when the
// learner clicks into it or moves into it, and judges what was typed when handed in.
class DictateWord : public QLineEdit
{
    Q_OBJECT

public:
    DictateWord(QWidget *page, const QString &correctWord, const QString &soundFile,
                bool narrow, bool exactCase);
    ~DictateWord() override;

    bool isCorrect() const;
    // Judges the answer, returns its report fragment and counts a right answer.
    QString evaluate(int &correctCount);

    QString word() const { return correctWord; }
    QString sound() const { return soundPath; }

protected:
    bool event(QEvent *event) override;

private:
    bool exactCase;
    QString correctWord;
    QString soundPath;
    QString resultHtml;
};
