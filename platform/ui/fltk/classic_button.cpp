#include "platform/ui/fltk/classic_button.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include "platform/ui/fltk/look.h"

namespace zov::ui::fltk {

namespace {

constexpr int kSmallestCaption = 8;  // pixels

}  // namespace

int captionSizeToFit(const char* caption, Fl_Font font, int size, int width) {
  const char saved = fl_draw_shortcut;
  fl_draw_shortcut = 1;  // the access key's '&' takes no room
  for (; size > kSmallestCaption; --size) {
    fl_font(font, size);
    int tw = 0, th = 0;
    fl_measure(caption, tw, th, 0);
    if (tw <= width - 6) break;  // the bevel and a little air on each side
  }
  fl_draw_shortcut = saved;
  return size;
}

ClassicButton::ClassicButton(int x, int y, int w, int h) : Fl_Button(x, y, w, h) {
  box(FL_UP_BOX);
  down_box(kPressedBox);
}

void ClassicButton::caption(const std::string& text) {
  if (!label() || text != label()) copy_label(text.c_str());
}

int ClassicButton::handle(int event) {
  const bool enter = Fl::event_key() == FL_Enter || Fl::event_key() == FL_KP_Enter;
  if (event == FL_KEYBOARD && enter && Fl::focus() == this && !(Fl::event_state() & (FL_SHIFT | FL_CTRL | FL_ALT))) {
    do_callback();
    return 1;
  }
  return Fl_Button::handle(event);
}

void ClassicButton::draw() {
  const bool focused = Fl::focus() == this;
  int bx = x(), by = y(), bw = w(), bh = h();
  if (focused) {
    fl_color(FL_BLACK);
    fl_rect(bx, by, bw, bh);
    ++bx, ++by, bw -= 2, bh -= 2;
  }
  draw_box(value() ? down_box() : box(), bx, by, bw, bh, color());
  const int shift = value() ? 1 : 0;
  const char saved = fl_draw_shortcut;
  fl_draw_shortcut = 1;
  const char* text = label() ? label() : "";
  fl_font(labelfont(), captionSizeToFit(text, labelfont(), labelsize(), bw));
  if (active_r()) {
    fl_color(labelcolor());
    fl_draw(text, bx + shift, by + shift, bw, bh, FL_ALIGN_CENTER | FL_ALIGN_CLIP, nullptr, 0);
  } else {
    fl_color(systemColor(20));
    fl_draw(text, bx + 1, by + 1, bw, bh, FL_ALIGN_CENTER | FL_ALIGN_CLIP, nullptr, 0);
    fl_color(systemColor(17));
    fl_draw(text, bx, by, bw, bh, FL_ALIGN_CENTER | FL_ALIGN_CLIP, nullptr, 0);
  }
  fl_draw_shortcut = saved;
  if (focused) draw_focus(FL_NO_BOX, bx + 3, by + 3, bw - 6, bh - 6);
}

}  // namespace zov::ui::fltk
