#pragma once

#include <QString>

class ClassKey;
class Keyring;
class WorkingFolder;
struct RecoveryState;

// The recovery file in the working folder, sealed with the class key: written atomically while
// a learner works, removed when the test ends normally or the teacher starts again. A learner
// can neither read it nor put answers of their own in its place.
namespace RecoveryFile {

// The sealed file, and the name it is sealed under (the plain name of before).
QString path(const WorkingFolder &folder);
QString plainName();
// Where an older version kept it in the clear; such a file is never continued (anyone could
// have written it), only set aside for the teacher.
QString unsealedPath(const WorkingFolder &folder);

bool exists(const WorkingFolder &folder);
// A link put in the file's place is removed (never followed) and a plain file written
// instead; replacedLink then says so, for the teacher to be told.
bool write(const WorkingFolder &folder, const ClassKey &key, const RecoveryState &state, bool *replacedLink = nullptr);

// False, with a Danish reason, when the file cannot be opened with keys, read or understood.
bool read(const WorkingFolder &folder, const Keyring &keys, RecoveryState *state, QString *reason);
// The file's contents opened, or nothing.
QByteArray opened(const WorkingFolder &folder, const Keyring &keys);

// Why a file is moved aside; its new name says it.
enum class Aside { Unreadable, ContinuedElsewhere, NotKept };

// Moves a file that cannot be used now aside, for the teacher to look at, under a name of its
// own; name is that name. Where it cannot be moved (on Windows, a file another program holds
// open), it is copied. False when neither worked: the file is then still in its place, and a
// new test would write over it.
bool setAside(const WorkingFolder &folder, Aside why, QString *name);

void remove(const WorkingFolder &folder);

} // namespace RecoveryFile
