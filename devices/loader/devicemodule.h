#pragma once

class PrintDevice;
class SoundDevice;

// Finds and loads the module with sound and printing once in a run: from
// preload() on a thread of its own, or at the first call of one of its devices.
// Looked for in the installed module folder (lib/skrivlo, found from the program's own
// folder), beside the program (a build folder, a Windows folder) and along Qt's plugin path.
// Each device is null when the module is missing or broken (the log says why): the program
// then stays silent, and printing says so.
namespace DeviceModule {

// Starts loading on a thread and returns at once; a second call does nothing.
void preload();

SoundDevice *sound();
PrintDevice *printing();

} // namespace DeviceModule
