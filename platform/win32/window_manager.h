// The top-level windows of the machine: the program's own (registered by the
// window toolkit) in front, then those of the other programs that
// machine.ini lists.
#pragma once

#include <functional>
#include <string>

#include "platform/win32/types.h"

namespace zov::win32 {

// The window toolkit registers each window it creates, with a way to read
// its title; the window comes first in the list (topmost).
HWND RegisterWindow(std::function<std::string()> title);
void UnregisterWindow(HWND window);

HWND GetWindow(HWND window, unsigned command);
int GetWindowTextLengthA(HWND window);
// Copies at most maxCount - 1 characters and a NUL; returns the count copied.
int GetWindowTextA(HWND window, std::string& buffer, int maxCount);
BOOL SetForegroundWindow(HWND window);
BOOL BringWindowToTop(HWND window);
// The window in front.
HWND GetForegroundWindow();

}  // namespace zov::win32
