#pragma once

#include "recordings/recordingcheck.h"

#include <QString>
#include <QStringList>
#include <QVector>

class QWidget;
class RecordingSurvey;

// The teacher's word on recordings that are missing or bad, before the learner starts.
namespace RecordingNotice {

// The message's text: which files, why, and what happens to their words. When not one
// recording was found, that the dictation will be silent and where the program looked.
QString text(const QVector<RecordingCheck::Finding> &findings, int total, const QStringList &searched);

// Checks every recording the test plays (or takes what the survey found); when any is
// missing or bad, asks the teacher whether to go on. True when all is well or the teacher goes on.
bool checkAndAsk(QWidget *parent = nullptr);
bool checkAndAsk(RecordingSurvey &survey, QWidget *parent = nullptr);

} // namespace RecordingNotice
