// The few things the backend asks of the X server directly.
#pragma once

class Fl_Window;

namespace zov::ui::fltk {

// A display can be opened: DISPLAY is set and the server answers.
bool displayReachable();
// Opens FLTK's connection to the display.
void openDisplay();
// Asks the window manager to keep a shown window above all others.
void keepAbove(Fl_Window& window);
// Asks the window manager for a title bar with a close box and no minimise
// or maximise button, as fixed windows and message boxes have on Windows.
void fixedTitleBar(Fl_Window& window);

}  // namespace zov::ui::fltk
