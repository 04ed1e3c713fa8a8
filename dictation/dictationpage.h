#pragma once

#include "widgets/centerframe.h"

#include <QElapsedTimer>
#include <QStringList>
#include <QVector>

class DarkButton;
class DictateWord;
class QHBoxLayout;
class QLabel;
class QVBoxLayout;
class Session;
struct DictationTable;

// What the two dictation pages share: the story laid out from its table, the Enter chain,
// handing in with confirmation, the lock when the time is up and the start time.
class DictationPage : public CenterFrame
{
    Q_OBJECT

public:
    // Handing in adds the page's section to the session's report.
    DictationPage(QWidget *parent, const DictationTable &table, Session &session);

    // Called by the countdown when the time has run out: locks every field, and the
    // green arrow then hands in without asking.
    void timeUp();
    bool isTimeUp() const { return timeIsUp; }

    // Time worked on the page, from a clock that a change of the system clock cannot move;
    // after a crash it goes on from what was worked before.
    qint64 workedMs() const;
    void resumeWorked(qint64 ms) { workedBefore = ms; }

    // The gaps in reading order.
    const QVector<DictateWord *> &words() const { return wordFields; }
    // Their texts as typed, in the same order.
    QStringList answers() const;

signals:
    void nextPage();
    // The section could not be written, and the learner and the teacher have been told: the
    // test cannot go on.
    void reportFailed();

protected:
    void showEvent(QShowEvent *event) override;

    // Judges the answers and appends the page's section to the report. False when the
    // report could not be written (the learner has been told).
    virtual bool writeResults() = 0;
    QString elapsedTimeStamp() const;

    const DictationTable &table;
    Session &session;
    QElapsedTimer clock;
    qint64 workedBefore = 0;
    bool timeIsUp = false;

private slots:
    void slotNextPage();

private:
    bool confirmHandIn();

    QVBoxLayout *mainLayout;
    QHBoxLayout *buttonRow;
    QVector<QHBoxLayout *> rowLayouts;
    QLabel *titleLabel;
    QLabel *timeLabel;
    QLabel *upperRuleLabel;
    QLabel *footerLabel;
    QLabel *lowerRuleLabel;
    QVector<QLabel *> textLabels;
    QVector<DictateWord *> wordFields;
    DarkButton *nextButton;
};
