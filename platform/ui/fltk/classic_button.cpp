#include "platform/ui/fltk/classic_button.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include "platform/ui/fltk/look.h"

namespace zov::ui::fltk {

namespace {

// The caption's room lies inside the focus outline, the bevel and a pixel of air on each side.
constexpr int kInsetX = 4;
constexpr int kInsetY = 2;

}  // namespace

ClassicButton::ClassicButton(int x, int y, int w, int h) : Fl_Button(x, y, w, h) {
  box(FL_UP_BOX);
  down_box(kPressedBox);
}

void ClassicButton::caption(const std::string& text) {
  if (!label() || text != label()) copy_label(text.c_str());
}

ShownText ClassicButton::shownText() const {
  return {label() ? label() : "", labelfont(), labelsize(), w() - 2 * kInsetX, h() - 2 * kInsetY, false, true};
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
  const ShownText shown = shownText();
  const int tx = x() + kInsetX, ty = y() + kInsetY;
  if (active_r()) {
    const int shift = value() ? 1 : 0;
    fl_color(labelcolor());
    drawFitted(shown, tx + shift, ty + shift, FL_ALIGN_CENTER);
  } else {
    fl_color(systemColor(20));
    drawFitted(shown, tx + 1, ty + 1, FL_ALIGN_CENTER);
    fl_color(systemColor(17));
    drawFitted(shown, tx, ty, FL_ALIGN_CENTER);
  }
  if (focused) draw_focus(FL_NO_BOX, bx + 3, by + 3, bw - 6, bh - 6);
}

}  // namespace zov::ui::fltk
