#include "platform/ui/fltk/x11_window.h"

#include <FL/Fl_Window.H>
#include <FL/x.H>

#include <cstdlib>

namespace zov::ui::fltk {

bool displayReachable() {
  const char* name = std::getenv("DISPLAY");
  if (!name || !*name) return false;
  Display* display = XOpenDisplay(name);
  if (!display) return false;
  XCloseDisplay(display);
  return true;
}

void openDisplay() { fl_open_display(); }

void keepAbove(Fl_Window& window) {
  // The window manager's protocol: a client message to the root window.
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = fl_xid(&window);
  event.xclient.message_type = XInternAtom(fl_display, "_NET_WM_STATE", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = 1;  // add
  event.xclient.data.l[1] = static_cast<long>(XInternAtom(fl_display, "_NET_WM_STATE_ABOVE", False));
  event.xclient.data.l[3] = 1;  // from a normal application
  XSendEvent(fl_display, RootWindow(fl_display, fl_screen), False, SubstructureRedirectMask | SubstructureNotifyMask,
             &event);
  XFlush(fl_display);
}

void fixedTitleBar(Fl_Window& window) {
  // The Motif window manager hints, which window managers read for the
  // buttons of a title bar: flags, functions, decorations, input mode, status.
  constexpr unsigned long kFunctionsGiven = 1, kDecorationsGiven = 2;
  constexpr unsigned long kMove = 4, kClose = 32;
  constexpr unsigned long kBorder = 2, kTitle = 8, kMenu = 16;
  const long hints[5] = {static_cast<long>(kFunctionsGiven | kDecorationsGiven), static_cast<long>(kMove | kClose),
                         static_cast<long>(kBorder | kTitle | kMenu), 0, 0};
  const Atom atom = XInternAtom(fl_display, "_MOTIF_WM_HINTS", False);
  XChangeProperty(fl_display, fl_xid(&window), atom, atom, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(hints), 5);
  XFlush(fl_display);
}

}  // namespace zov::ui::fltk
