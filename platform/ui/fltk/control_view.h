// The widget that shows one control of a form. Each kind of control has its
// own widget class, derived from an FLTK widget and from View; FLTK's groups
// own the widgets, a form window finds them by control.
#pragma once

#include <FL/Fl_Group.H>
#include <FL/Fl_Widget.H>

#include <string>

#include "platform/ui/control.h"
#include "platform/ui/fltk/user_input.h"

namespace zov::ui::fltk {

class View {
 public:
  View(Control& control, InputSink& sink) : control_(control), sink_(sink) {}
  virtual ~View() = default;
  View(const View&) = delete;
  View& operator=(const View&) = delete;

  Control& control() const { return control_; }
  virtual Fl_Widget& widget() = 0;
  // Copies what the model holds (texts, values, colours, items) into the widget.
  virtual void update() = 0;
  // Moves the widget to the control's place; (originX, originY) is where
  // the container's coordinates start, in window pixels.
  virtual void place(int originX, int originY);
  // A container holds its controls' widgets in this group; they count
  // their positions from childOrigin.
  virtual Fl_Group* group() { return nullptr; }
  virtual void childOrigin(int& x, int& y);
  // A text box posts each edit with the text and caret it made; until the
  // last one has reached the model the widget is ahead of it, and keeps its text.
  virtual void editReached() {}

 protected:
  // Reports input; a mouse button pressed on a control that takes the focus gives it the focus first.
  void post(UserInput::Kind kind, int index = -1, const std::string& item = {});
  void noteEvent(int event);
  // The mouse on a control without a widget of its own (label, image,
  // picture, frame): it takes the button only when the form handles its
  // Click, and the mouse only to show its tool tip. Returns what handle() returns.
  int pointerEvent(int event);

 private:
  Control& control_;
  InputSink& sink_;
};

// Twips to window pixels (15 twips a pixel).
int pixels(float twips);

// A new widget for a control, not yet in any group; nullptr for a kind that
// has no widget (a menu).
View* makeView(Control& control, InputSink& sink);

// The widgets by family, for makeView.
View* makeStaticView(Control& control, InputSink& sink);  // label, frame, picture box, image, line
View* makeButtonView(Control& control, InputSink& sink);  // command button, check box, option button
View* makeTextView(TextBox& box, InputSink& sink);
View* makeListView(Control& control, InputSink& sink);  // combo box, drive list, folder list

}  // namespace zov::ui::fltk
