// Real input for the FLTK backend's tests: mouse and keyboard events go
// through the X server (xdotool), and the screen is read back from it.
#pragma once

#include <FL/Fl_Window.H>

#include <array>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/ui/fltk/text_fit.h"
#include "platform/ui/form.h"

namespace zov::test {

// Runs xdotool with these arguments; false when it fails.
bool xdotool(const std::string& arguments);
// The top-level window that shows the form (by its caption); nullptr when none is shown.
Fl_Window* windowOf(const ui::Form& form);
// Clicks the left button at a point of the form's window, in window pixels.
void click(const ui::Form& form, int x, int y, int clicks = 1);
// Moves the mouse to the middle of the screen (where message boxes open).
void pointAtScreenCentre();
// Lets FLTK and the backend run the input that comes, until `done` holds or the time is up.
bool runUntil(const std::function<bool()>& done, double seconds = 5);
// Runs `action` from inside the event loop after a delay: while a modal box waits, for instance.
void later(double seconds, std::function<void()> action);
// The colour on the screen at a point of the form's window.
std::array<int, 3> pixel(const ui::Form& form, int x, int y);
// The colours (0xRRGGBB) of a rectangle of a window, row by row; empty when it cannot be read.
std::vector<unsigned long> pixels(Fl_Window& window, int x, int y, int w, int h);
// The width and height a text needs at the size it is drawn at, measured with the real font.
std::pair<int, int> neededRoom(const ui::fltk::ShownText& shown);
// Saves the window with its title bar and border as a PNG file (ImageMagick's import).
bool saveScreenshot(Fl_Window& window, const std::string& path);
// The 32-bit items of a property of the form's window (empty when it has none).
std::vector<long> windowProperty(const ui::Form& form, const char* name);
// Asks the window to close, as a window manager does when its close box is clicked.
void sendCloseRequest(const ui::Form& form);

}  // namespace zov::test
