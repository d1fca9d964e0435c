// The window of one loaded form: a widget for each control at its stored
// place, kept in step with the model. Widgets lie in the model's order from
// the top: the first control stored is the topmost, and controls that are
// drawn on their container (labels, images, lines) lie under those that are
// windows of their own, as in the toolkit the forms were made for.
#pragma once

#include <FL/Fl_Double_Window.H>
#include <FL/Fl_RGB_Image.H>

#include <map>
#include <memory>

#include "platform/ui/fltk/control_view.h"
#include "platform/ui/fltk/user_input.h"
#include "platform/ui/form.h"

namespace zov::ui::fltk {

class FormWindow : public Fl_Double_Window, private InputSink {
 public:
  FormWindow(Form& form, InputSink& backend);

  Form& form() const { return form_; }
  View* view(const Control& control) const;

  // The model changed: a control (its place and its children's, its look, its content) or the form (caption, focus).
  void sync(Control& control);
  void syncForm();
  // Shows the window (centred on the screen the first time) or hides it.
  void showOrHide();

  int handle(int event) override;

 private:
  void post(UserInput input) override;
  void build(Control* container, Fl_Group& group);
  void placeTree(Control& control);
  void placeChildren(const Control* container, int originX, int originY);
  void applyState(Control& control, View& view);
  // Gives the widget of the form's active control the keyboard focus.
  void applyFocus();
  // Tab and Shift+Tab: the next control, in stored order, that can take the focus.
  void moveFocus(bool forward);

  Form& form_;
  InputSink& backend_;
  std::map<const Control*, View*> views_;
  std::unique_ptr<Fl_RGB_Image> icon_;
  bool shownOnce_ = false;
  bool applyingFocus_ = false;
};

}  // namespace zov::ui::fltk
