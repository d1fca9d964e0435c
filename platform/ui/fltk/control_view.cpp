#include "platform/ui/fltk/control_view.h"

#include <FL/Fl.H>

#include <cmath>

#include "platform/ui/form.h"

namespace zov::ui::fltk {

int pixels(float twips) { return static_cast<int>(std::lround(twips / 15.0f)); }

void View::place(int originX, int originY) {
  widget().resize(originX + pixels(control_.Left), originY + pixels(control_.Top), pixels(control_.Width),
                  pixels(control_.Height));
}

void View::childOrigin(int& x, int& y) {
  x = widget().x();
  y = widget().y();
}

void View::post(UserInput::Kind kind, int index, const std::string& item) {
  sink_.post({kind, &control_.form(), &control_, index, item});
}

void View::noteEvent(int event) {
  if ((event == FL_PUSH || event == FL_FOCUS) && control_.takesFocus()) post(UserInput::Kind::Focus);
}

int View::pointerEvent(int event) {
  Fl_Widget& w = widget();
  switch (event) {
    case FL_ENTER:
    case FL_LEAVE:
    case FL_MOVE:
      return w.tooltip() ? 1 : 0;
    case FL_PUSH:
      return control_.Click && Fl::event_button() == FL_LEFT_MOUSE ? 1 : 0;
    case FL_RELEASE:
      if (control_.Click && Fl::event_inside(&w)) post(UserInput::Kind::Click);
      return 1;
    default:
      return 0;
  }
}

View* makeView(Control& control, InputSink& sink) {
  switch (control.kind()) {
    case ControlKind::Label:
    case ControlKind::Frame:
    case ControlKind::PictureBox:
    case ControlKind::Image:
    case ControlKind::Line:
      return makeStaticView(control, sink);
    case ControlKind::CommandButton:
    case ControlKind::CheckBox:
    case ControlKind::OptionButton:
      return makeButtonView(control, sink);
    case ControlKind::TextBox:
      return makeTextView(static_cast<TextBox&>(control), sink);
    case ControlKind::ComboBox:
    case ControlKind::DriveListBox:
    case ControlKind::DirListBox:
      return makeListView(control, sink);
    case ControlKind::Menu:
      return nullptr;
  }
  return nullptr;
}

}  // namespace zov::ui::fltk
