#pragma once

#include <QString>

struct RecoveryState;

// The recovery file in the results folder: written atomically while a learner works,
// removed when the test ends normally or the teacher starts again.
namespace RecoveryFile {

QString path();

bool exists();
bool write(const RecoveryState &state);

// False, with a Danish reason, when the file cannot be read or understood.
bool read(RecoveryState *state, QString *reason);

// Moves an unusable file aside, for the teacher to look at; returns its new name.
QString setAside();

void remove();

} // namespace RecoveryFile
