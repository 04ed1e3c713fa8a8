#pragma once

#include "widgets/centerframe.h"

#include <QStringList>
#include <QVector>

class DarkButton;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QVBoxLayout;
class Session;

// The form about the learner. Leaving it checks the three required fields and starts
// the report with the learner's details.
class Info : public CenterFrame
{
    Q_OBJECT

public:
    // Leaving the page starts the session's report.
    Info(QWidget *parent, Session &session);

    // The name as it goes into the report.
    QString learnerName() const;

signals:
    void nextPage();
    // The report could not be started, and the learner has been told to fetch the teacher:
    // the test cannot go on.
    void reportFailed();

protected:
    void showEvent(QShowEvent *event) override;

private slots:
    void slotNextPage();
    void slotPlayVoice();

private:
    // The nine fields in page order, which is also their order in the report.
    enum Field { Date, Place, Name, Address, BirthYear, School, Exam, Education, Job, FieldCount };

    bool checkRequired();
    bool writeHeader();

    Session &session;

    QVBoxLayout *mainLayout;
    QGridLayout *formGrid;
    QHBoxLayout *buttonRow;
    DarkButton *voiceButton;
    DarkButton *nextButton;
    QLabel *headingLabel;
    QLabel *introLabel;
    QLabel *requiredLabel;
    QVector<QLabel *> labels;
    QLabel *ruleLabel;
    QVector<QLineEdit *> fields;
};
