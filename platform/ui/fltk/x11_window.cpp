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

}  // namespace zov::ui::fltk
