#pragma once

#include "content/teststep.h"
#include "model/learnerrecord.h"

#include <QByteArray>
#include <QMap>
#include <QString>

// Everything needed to continue a test after a crash: the learner's record, the page the
// learner was on, every field as typed and the time worked on the dictation in progress.
struct RecoveryState
{
    LearnerRecord learner;
    TestStep step = TestStep::Welcome;  // the page the learner was on
    QMap<QString, QString> fields;      // entry field object name -> text
    qint64 workedMs = 0;                // on the dictation page in progress

    bool operator==(const RecoveryState &other) const;
};

// The recovery file's text, as pure functions. The format carries its own version: a file
// from another version is refused rather than half understood.
namespace RecoveryText {

constexpr int formatVersion = 1;

QByteArray serialise(const RecoveryState &state);

// The key of a dictation's answer (field 1 to 80) in the saved test: the name of its entry
// field too, which is how the fields are found and filled again.
QString answerKey(int field);

// The entry fields a recovery file keeps: the form's and the dictations' words, by object name.
bool isAnswerField(const QString &objectName);

// False, with a Danish reason, for a file that is damaged, cut off or of another version.
bool parse(const QByteArray &bytes, RecoveryState *state, QString *reason);

} // namespace RecoveryText
