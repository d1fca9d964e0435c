// A push button drawn as the classic Windows one: a raised bevel, a black
// outline while it has the focus (it is then the button Enter presses), a
// dotted focus rectangle, and an etched caption while disabled.
#pragma once

#include <FL/Fl_Button.H>

#include <string>

#include "platform/ui/fltk/text_fit.h"

namespace zov::ui::fltk {

// Its caption is fitted into the button inside the bevel and the focus outline.
class ClassicButton : public Fl_Button, public ShowsText {
 public:
  ClassicButton(int x, int y, int w, int h);
  // The caption; '&' marks the access key, "&&" is an ampersand.
  void caption(const std::string& text);
  int handle(int event) override;
  ShownText shownText() const override;

 protected:
  void draw() override;
};

}  // namespace zov::ui::fltk
