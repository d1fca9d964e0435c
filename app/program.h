// The program's entry: opens the simulated machine, picks the window
// backend, runs the start-up procedure and the message loop.
#pragma once

namespace zov {

// Exit codes: 0 the program ended normally; 1 an unhandled run-time error
// ended it; 2 the machine could not be opened; 3 the script and the program
// disagreed, or the script ended while windows were still open.
int RunProgram(const char* hostExecutable);

}  // namespace zov
