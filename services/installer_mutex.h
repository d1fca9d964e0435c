// One installer at a time on a machine, as the platform's own installers
// keep it: for its whole run an installer holds a named mutex of the
// machine, which the machine lets go when the program ends, however it
// ends. Both builds take the same name.
#pragma once

namespace zov {

// Takes the installer mutex for the rest of the run; false when another
// installer holds it. When the mutex cannot be made at all, the run goes on
// without it, as it would beside other programs.
bool TakeInstallerMutex();

// True while this run holds the installer mutex: no other installer is
// writing, so what killed installations left half-done is stale.
bool HoldsInstallerMutex();

// Lets the mutex go (a test that starts the program again in one process).
void ReleaseInstallerMutex();

// The box of an installer that found another one running, in the language
// of the system's user interface (the wizard has not chosen one yet).
void SayAnotherInstallationRuns();

}  // namespace zov
