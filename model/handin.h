#pragma once

#include <QString>
#include <QStringList>

#include <array>

// A dictation judged as at a hand-in, from the answers as typed: what the page writes when
// the learner hands in, and what is kept of a test that is started again.
namespace HandIn {

bool isRight(const QString &typed, const QString &correctWord, bool exactCase);

// The report fragment of one word; a right answer adds one to correctCount.
QString fragment(const QString &typed, const QString &correctWord, bool exactCase, int &correctCount);

// The Dictation 1 section for the 20 answers in reading order (missing ones count as empty).
QString dictation1(const QStringList &answers, const QString &timeStamp, int *correct);

// The Dictation 2 section for the 60 answers in reading order, with the three column counts.
QString dictation2(const QStringList &answers, const QString &timeStamp, std::array<int, 3> *counts);

} // namespace HandIn
