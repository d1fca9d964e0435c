#include "tests/fltk/x_driver.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>
#include <FL/x.H>

#include <chrono>
#include <cstdlib>
#include <memory>

#include "platform/ui/backend.h"

namespace zov::test {

bool xdotool(const std::string& arguments) { return std::system(("xdotool " + arguments).c_str()) == 0; }

Fl_Window* windowOf(const ui::Form& form) {
  for (Fl_Window* w = Fl::first_window(); w; w = Fl::next_window(w)) {
    if (w->label() && form.Caption.get() == w->label()) return w;
  }
  return nullptr;
}

void click(const ui::Form& form, int x, int y, int clicks) {
  Fl_Window* w = windowOf(form);
  if (!w) return;
  // No --sync: it waits for a move that never comes when the mouse is already there.
  xdotool("mousemove " + std::to_string(w->x_root() + x) + " " + std::to_string(w->y_root() + y) +
          " sleep 0.05 click --repeat " + std::to_string(clicks) + " --delay 80 1");
}

void pointAtScreenCentre() { xdotool("mousemove " + std::to_string(Fl::w() / 2) + " " + std::to_string(Fl::h() / 2) + " sleep 0.05"); }

bool runUntil(const std::function<bool()>& done, double seconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    Fl::wait(0.02);
    ui::backend().doEvents();
  }
  return true;
}

void later(double seconds, std::function<void()> action) {
  auto* held = new std::function<void()>(std::move(action));
  Fl::add_timeout(seconds, [](void* data) {
    std::unique_ptr<std::function<void()>> run(static_cast<std::function<void()>*>(data));
    (*run)();
  }, held);
}

std::array<int, 3> pixel(const ui::Form& form, int x, int y) {
  Fl_Window* w = windowOf(form);
  if (!w) return {-1, -1, -1};
  Fl::flush();
  XImage* image = XGetImage(fl_display, fl_xid(w), x, y, 1, 1, AllPlanes, ZPixmap);
  if (!image) return {-1, -1, -1};
  const unsigned long value = XGetPixel(image, 0, 0);
  XDestroyImage(image);
  return {static_cast<int>((value >> 16) & 0xFF), static_cast<int>((value >> 8) & 0xFF), static_cast<int>(value & 0xFF)};
}

std::vector<unsigned long> pixels(Fl_Window& window, int x, int y, int w, int h) {
  Fl::flush();
  XSync(fl_display, False);
  XImage* image = XGetImage(fl_display, fl_xid(&window), x, y, static_cast<unsigned>(w), static_cast<unsigned>(h),
                            AllPlanes, ZPixmap);
  if (!image) return {};
  std::vector<unsigned long> colours;
  colours.reserve(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
  for (int row = 0; row < h; ++row) {
    for (int column = 0; column < w; ++column) colours.push_back(XGetPixel(image, column, row) & 0xFFFFFFul);
  }
  XDestroyImage(image);
  return colours;
}

std::pair<int, int> neededRoom(const ui::fltk::ShownText& shown) {
  const char saved = fl_draw_shortcut;
  fl_draw_shortcut = shown.accessKeys ? 1 : 0;
  fl_font(shown.face, ui::fltk::fittedSize(shown));
  int w = shown.wraps ? shown.width : 0, h = 0;
  fl_measure(shown.text.c_str(), w, h, 0);
  fl_draw_shortcut = saved;
  return {w, h};
}

bool saveScreenshot(Fl_Window& window, const std::string& path) {
  Fl::flush();
  XSync(fl_display, False);
  return std::system(("import -frame -window " + std::to_string(fl_xid(&window)) + " '" + path + "'").c_str()) == 0;
}

void sendCloseRequest(const ui::Form& form) {
  Fl_Window* w = windowOf(form);
  if (!w) return;
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = fl_xid(w);
  event.xclient.message_type = XInternAtom(fl_display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(fl_display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(fl_display, fl_xid(w), False, NoEventMask, &event);
  XFlush(fl_display);
}

std::vector<long> windowProperty(const ui::Form& form, const char* name) {
  Fl_Window* window = windowOf(form);
  if (!window) return {};
  const Atom atom = XInternAtom(fl_display, name, False);
  Atom type = 0;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(fl_display, fl_xid(window), atom, 0, 64, False, AnyPropertyType, &type, &format, &count,
                         &after, &data) != Success ||
      format != 32) {
    if (data) XFree(data);
    return {};
  }
  const auto* items = reinterpret_cast<const long*>(data);
  std::vector<long> result(items, items + count);
  XFree(data);
  return result;
}

}  // namespace zov::test
