// Command buttons, check boxes and option buttons. FLTK changes a box's or
// option's look when it is clicked; the model then decides, and the form
// window copies its value back.
#include <FL/Fl.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Round_Button.H>
#include <FL/fl_draw.H>

#include <algorithm>

#include "platform/ui/fltk/classic_button.h"
#include "platform/ui/fltk/control_view.h"
#include "platform/ui/fltk/look.h"
#include "platform/ui/fltk/text_fit.h"

namespace zov::ui::fltk {

namespace {

template <typename Widget>
void setFont(Widget& w, const Font& font) {
  w.labelfont(face(font));
  w.labelsize(pixelSize(font));
}

// The room of a check box's or option button's caption: right of its mark,
// which is as big as the caption's own size.
ShownText toggleCaption(const Fl_Widget& button) {
  const int indent = button.labelsize() + 4;
  return {button.label() ? button.label() : "", button.labelfont(), button.labelsize(), button.w() - indent,
          button.h(), true, true};
}

// Draws a check box or option button: FLTK draws its mark (it has no label
// of its own to draw), then the caption is drawn fitted, with the focus
// rectangle round the caption only, where FLTK would draw it round the whole control.
template <typename DrawBase>
void drawToggle(Fl_Widget& button, DrawBase drawBase) {
  const bool focused = Fl::focus() == &button && Fl::visible_focus();
  Fl::visible_focus(0);
  drawBase();
  Fl::visible_focus(1);
  const ShownText shown = toggleCaption(button);
  const int tx = button.x() + button.labelsize() + 4;
  fl_color(button.active_r() ? button.labelcolor() : fl_inactive(button.labelcolor()));
  drawFitted(shown, tx, button.y(), FL_ALIGN_LEFT);
  if (!focused || shown.text.empty()) return;
  fl_font(shown.face, fittedSize(shown));
  int tw = shown.width, th = 0;
  fl_measure(shown.text.c_str(), tw, th, 0);
  const int ty = button.y() + (button.h() - th) / 2;
  fl_color(FL_FOREGROUND_COLOR);
  fl_line_style(FL_DOT);
  fl_rect(tx - 1, ty, std::min(tw + 3, button.w() - (tx - 1 - button.x())), th);
  fl_line_style(0);
}

void copyCaption(Fl_Widget& w, const std::string& caption) {
  const std::string text = screenText(caption);
  if (!w.label() || text != w.label()) w.copy_label(text.c_str());
}

class CommandButtonView : public ClassicButton, public View {
 public:
  CommandButtonView(CommandButton& button, InputSink& sink)
      : ClassicButton(0, 0, 0, 0), View(button, sink), button_(button) {
    callback([](Fl_Widget* w, void*) { static_cast<CommandButtonView*>(w)->post(UserInput::Kind::Click); });
  }
  Fl_Widget& widget() override { return *this; }
  void update() override {
    setFont(*this, button_.font);
    caption(screenText(button_.Caption));
  }
  int handle(int event) override {
    noteEvent(event);
    return ClassicButton::handle(event);
  }

 private:
  CommandButton& button_;
};

class CheckBoxView : public Fl_Check_Button, public View, public ShowsText {
 public:
  CheckBoxView(CheckBox& box, InputSink& sink) : Fl_Check_Button(0, 0, 0, 0), View(box, sink), box_(box) {
    labeltype(FL_NO_LABEL);
    callback([](Fl_Widget* w, void*) { static_cast<CheckBoxView*>(w)->post(UserInput::Kind::Click); });
  }
  Fl_Widget& widget() override { return *this; }
  void update() override {
    setFont(*this, box_.font);
    copyCaption(*this, box_.Caption);
    if (Fl::pushed() != this) value(box_.Value.get() != 0);  // not while the mouse holds it down
  }
  int handle(int event) override {
    noteEvent(event);
    return Fl_Check_Button::handle(event);
  }
  ShownText shownText() const override { return toggleCaption(*this); }
  void draw() override { drawToggle(*this, [this] { Fl_Check_Button::draw(); }); }

 private:
  CheckBox& box_;
};

class OptionButtonView : public Fl_Round_Button, public View, public ShowsText {
 public:
  OptionButtonView(OptionButton& option, InputSink& sink)
      : Fl_Round_Button(0, 0, 0, 0), View(option, sink), option_(option) {
    labeltype(FL_NO_LABEL);
    callback([](Fl_Widget* w, void*) { static_cast<OptionButtonView*>(w)->post(UserInput::Kind::Click); });
  }
  Fl_Widget& widget() override { return *this; }
  void update() override {
    setFont(*this, option_.font);
    copyCaption(*this, option_.Caption);
    if (Fl::pushed() != this) value(option_.Value.get() ? 1 : 0);
  }
  int handle(int event) override {
    noteEvent(event);
    return Fl_Round_Button::handle(event);
  }
  ShownText shownText() const override { return toggleCaption(*this); }
  void draw() override { drawToggle(*this, [this] { Fl_Round_Button::draw(); }); }

 private:
  OptionButton& option_;
};

}  // namespace

View* makeButtonView(Control& control, InputSink& sink) {
  switch (control.kind()) {
    case ControlKind::CommandButton: return new CommandButtonView(static_cast<CommandButton&>(control), sink);
    case ControlKind::CheckBox: return new CheckBoxView(static_cast<CheckBox&>(control), sink);
    case ControlKind::OptionButton: return new OptionButtonView(static_cast<OptionButton&>(control), sink);
    default: return nullptr;
  }
}

}  // namespace zov::ui::fltk
