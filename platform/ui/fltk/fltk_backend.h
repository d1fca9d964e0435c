// The real-window backend of the window toolkit, on FLTK: every loaded form
// is a window laid out at its stored positions (15 twips a pixel), a
// person's clicks, typing, focus changes and the close box become the
// model's events, and message and input boxes are modal windows.
#pragma once

#include <memory>

#include "platform/ui/backend.h"

namespace zov::ui {

// A display can be opened (DISPLAY is set and reachable).
bool displayAvailable();
// The real-window backend; throws std::runtime_error when no display can be opened.
std::unique_ptr<Backend> makeFltkBackend();

}  // namespace zov::ui
