#pragma once

#include "model/resultrow.h"

#include <QByteArray>
#include <QString>

// The per-learner data file's text, as pure functions: a small JSON object that carries its
// own format name and version, so that the teacher's view and the overview can trust it or
// leave it alone. The format is described in docs/formats.md.
namespace LearnerDataText {

constexpr int formatVersion = 1;

QByteArray serialise(const ResultRow &row);

// False, with a Danish reason, for a file that is damaged, foreign, of a newer version or
// whose fields do not agree with each other (a total that is not the sum, a wrong Trin).
bool parse(const QByteArray &bytes, ResultRow *row, QString *reason);

} // namespace LearnerDataText
