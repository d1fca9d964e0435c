#include "platform/ui/fltk/text_fit.h"

#include <FL/fl_draw.H>

namespace zov::ui::fltk {

namespace {

constexpr int kSmallestSize = 8;  // pixels

// fl_draw_shortcut as the text needs it, for one measure or drawing.
class AccessKeys {
 public:
  explicit AccessKeys(bool marked) : saved_(fl_draw_shortcut) { fl_draw_shortcut = marked ? 1 : 0; }
  ~AccessKeys() { fl_draw_shortcut = saved_; }
  AccessKeys(const AccessKeys&) = delete;
  AccessKeys& operator=(const AccessKeys&) = delete;

 private:
  char saved_;
};

}  // namespace

bool showsWhole(const ShownText& shown, int size) {
  if (shown.text.empty()) return true;
  const AccessKeys keys(shown.accessKeys);
  fl_font(shown.face, size);
  int w = shown.wraps ? shown.width : 0, h = 0;
  fl_measure(shown.text.c_str(), w, h, 0);
  return w <= shown.width && h <= shown.height;
}

int fittedSize(const ShownText& shown) {
  int size = shown.size;
  while (size > kSmallestSize && !showsWhole(shown, size)) --size;
  return size;
}

void drawFitted(const ShownText& shown, int x, int y, Fl_Align align) {
  fl_font(shown.face, fittedSize(shown));
  const AccessKeys keys(shown.accessKeys);
  align |= FL_ALIGN_INSIDE | FL_ALIGN_CLIP;
  if (shown.wraps) align |= FL_ALIGN_WRAP;
  fl_draw(shown.text.c_str(), x, y, shown.width, shown.height, align, nullptr, 0);
}

}  // namespace zov::ui::fltk
