#pragma once

#include <QString>
#include <QStringList>

// Where the program finds its recordings, one file at a time, so that a teacher's own
// recording of one text wins over the spoken one and the rest are still heard:
// 1. sounds/ in the working directory (a teacher's folder beside the program's files),
// 2. the teacher's recordings (the user's, then the machine's data folders),
// 3. sounds/ beside the executable (a build folder, a Windows folder or ZIP),
// 4. the installed data folder, ../share/skrivlo/sounds from the executable.
namespace RecordingFolders {

// The folders above, absolute, in the order they are searched.
QStringList searchPath();

// Where recording mode saves the teacher's recordings (the first teacher's folder).
QString teacherFolder();

// "sounds/17.wav" → the first file of that name along the search path whose header plays
// (else the first of that name at all); when none has it, the path in the working
// directory, which then plays as silence.
QString resolve(const QString &soundPath);

} // namespace RecordingFolders
