#include "platform/ui/fltk/look.h"

#include <FL/Fl.H>
#include <FL/Fl_Tooltip.H>
#include <FL/fl_draw.H>

#include <array>
#include <cmath>

namespace zov::ui::fltk {

namespace {

struct Rgb {
  unsigned char r, g, b;
};

// The system colours of the classic Windows scheme, by index.
constexpr std::array<Rgb, 25> kSystemColors{{
    {212, 208, 200},  // 0 scroll bar
    {58, 110, 165},   // 1 desktop
    {10, 36, 106},    // 2 active caption
    {128, 128, 128},  // 3 inactive caption
    {212, 208, 200},  // 4 menu
    {255, 255, 255},  // 5 window
    {0, 0, 0},        // 6 window frame
    {0, 0, 0},        // 7 menu text
    {0, 0, 0},        // 8 window text
    {255, 255, 255},  // 9 caption text
    {212, 208, 200},  // 10 active border
    {212, 208, 200},  // 11 inactive border
    {128, 128, 128},  // 12 application workspace
    {10, 36, 106},    // 13 highlight
    {255, 255, 255},  // 14 highlight text
    {212, 208, 200},  // 15 button face
    {128, 128, 128},  // 16 button shadow
    {128, 128, 128},  // 17 grey text
    {0, 0, 0},        // 18 button text
    {212, 208, 200},  // 19 inactive caption text
    {255, 255, 255},  // 20 button highlight
    {64, 64, 64},     // 21 3-D dark shadow
    {212, 208, 200},  // 22 3-D light
    {0, 0, 0},        // 23 tooltip text
    {255, 255, 225},  // 24 tooltip background
}};

// The stand-in for "MS Sans Serif": a sans-serif of the same proportions.
constexpr Fl_Font kRegular = FL_FREE_FONT;
constexpr Fl_Font kBold = FL_FREE_FONT + 1;

Fl_Color fillColor(Fl_Color c) { return Fl::draw_box_active() ? c : fl_inactive(c); }

void bevel(int x, int y, int w, int h, Fl_Color outerTopLeft, Fl_Color outerBottomRight, Fl_Color innerTopLeft,
           Fl_Color innerBottomRight) {
  if (w < 4 || h < 4) return;
  fl_color(outerTopLeft);
  fl_xyline(x, y, x + w - 2);
  fl_yxline(x, y, y + h - 2);
  fl_color(outerBottomRight);
  fl_xyline(x, y + h - 1, x + w - 1);
  fl_yxline(x + w - 1, y, y + h - 1);
  fl_color(innerTopLeft);
  fl_xyline(x + 1, y + 1, x + w - 3);
  fl_yxline(x + 1, y + 1, y + h - 3);
  fl_color(innerBottomRight);
  fl_xyline(x + 1, y + h - 2, x + w - 2);
  fl_yxline(x + w - 2, y + 1, y + h - 2);
}

void raisedFrame(int x, int y, int w, int h, Fl_Color) { bevel(x, y, w, h, systemColor(20), systemColor(21), systemColor(22), systemColor(16)); }
void sunkenFrame(int x, int y, int w, int h, Fl_Color) { bevel(x, y, w, h, systemColor(16), systemColor(20), systemColor(21), systemColor(22)); }
void pressedFrame(int x, int y, int w, int h, Fl_Color) { bevel(x, y, w, h, systemColor(21), systemColor(21), systemColor(16), systemColor(16)); }

void raisedBox(int x, int y, int w, int h, Fl_Color c) {
  fl_rectf(x, y, w, h, fillColor(c));
  raisedFrame(x, y, w, h, c);
}
void sunkenBox(int x, int y, int w, int h, Fl_Color c) {
  fl_rectf(x, y, w, h, fillColor(c));
  sunkenFrame(x, y, w, h, c);
}
void pressedBox(int x, int y, int w, int h, Fl_Color c) {
  fl_rectf(x, y, w, h, fillColor(c));
  pressedFrame(x, y, w, h, c);
}

// Labels draw '@' as an ordinary character, not as the start of a symbol.
void plainLabel(const Fl_Label* label, int x, int y, int w, int h, Fl_Align align) {
  fl_font(label->font, label->size);
  fl_color(static_cast<Fl_Color>(label->color));
  fl_draw(label->value, x, y, w, h, align, label->image, 0);
}
void measurePlainLabel(const Fl_Label* label, int& w, int& h) {
  fl_font(label->font, label->size);
  fl_measure(label->value, w, h, 0);
}

}  // namespace

void installLook() {
  const Rgb face = kSystemColors[15];
  Fl::background(face.r, face.g, face.b);
  Fl::background2(255, 255, 255);
  Fl::foreground(0, 0, 0);
  Fl::set_color(FL_SELECTION_COLOR, systemColor(13));
  Fl::set_boxtype(FL_UP_BOX, raisedBox, 2, 2, 4, 4);
  Fl::set_boxtype(FL_DOWN_BOX, sunkenBox, 2, 2, 4, 4);
  Fl::set_boxtype(FL_UP_FRAME, raisedFrame, 2, 2, 4, 4);
  Fl::set_boxtype(FL_DOWN_FRAME, sunkenFrame, 2, 2, 4, 4);
  Fl::set_boxtype(kPressedBox, pressedBox, 2, 2, 4, 4);
  Fl::set_labeltype(FL_NORMAL_LABEL, plainLabel, measurePlainLabel);
  Fl::set_font(kRegular, " Liberation Sans");
  Fl::set_font(kBold, "BLiberation Sans");
  Fl::visible_focus(1);
  Fl::scrollbar_size(16);
  FL_NORMAL_SIZE = pixelSize(smallFont());
  Fl_Tooltip::font(kRegular);
  Fl_Tooltip::size(FL_NORMAL_SIZE);
  Fl_Tooltip::color(systemColor(24));
  Fl_Tooltip::textcolor(systemColor(23));
}

Fl_Color systemColor(int index) {
  if (index < 0 || index >= static_cast<int>(kSystemColors.size())) index = 8;
  const Rgb c = kSystemColors[static_cast<std::size_t>(index)];
  return fl_rgb_color(c.r, c.g, c.b);
}

Fl_Color screenColor(std::uint32_t modelColor) {
  if (modelColor & 0x80000000u) {
    return systemColor(static_cast<int>(modelColor & 0xFFu));
  }
  return fl_rgb_color(static_cast<uchar>(modelColor & 0xFF), static_cast<uchar>((modelColor >> 8) & 0xFF),
                      static_cast<uchar>((modelColor >> 16) & 0xFF));
}

Fl_Font face(const Font& font) { return font.bold ? kBold : kRegular; }

int pixelSize(const Font& font) { return static_cast<int>(std::lround(font.size * 96.0f / 72.0f)); }

std::string screenText(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      out += '\n';
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::string modelText(const std::string& screen) {
  std::string out;
  out.reserve(screen.size());
  for (char c : screen) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

}  // namespace zov::ui::fltk
