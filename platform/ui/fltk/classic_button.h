// A push button drawn as the classic Windows one: a raised bevel, a black
// outline while it has the focus (it is then the button Enter presses), a
// dotted focus rectangle, and an etched caption while disabled.
#pragma once

#include <FL/Fl_Button.H>

#include <string>

namespace zov::ui::fltk {

// The font size at which a caption fits a button `width` pixels wide: its
// own `size`, or a smaller one down to 8 pixels. The stored widths were made
// for Windows' font, which is narrower than the real window's.
int captionSizeToFit(const char* caption, Fl_Font font, int size, int width);

class ClassicButton : public Fl_Button {
 public:
  ClassicButton(int x, int y, int w, int h);
  // The caption; '&' marks the access key, "&&" is an ampersand.
  void caption(const std::string& text);
  int handle(int event) override;

 protected:
  void draw() override;
};

}  // namespace zov::ui::fltk
