// What a person did in a window, as the widgets report it. The widgets only
// post these; the backend turns them into the model's events after FLTK has
// handled the X event, so no model code runs inside an FLTK callback.
#pragma once

#include <string>

namespace zov::ui {
class Control;
class Form;
}  // namespace zov::ui

namespace zov::ui::fltk {

struct UserInput {
  enum class Kind {
    Focus,   // the control takes the focus (mouse down, Tab)
    Click,   // a button, box or picture was clicked
    Edit,    // a text box was edited: `item` is its text, `index` its caret (characters)
    Choose,  // a list item was chosen: `index` (combo box) or `item` (drive, folder)
    Close,   // the window's close box
  };
  Kind kind;
  Form* form = nullptr;
  Control* control = nullptr;
  int index = -1;
  std::string item;
};

class InputSink {
 public:
  virtual ~InputSink() = default;
  virtual void post(UserInput input) = 0;
};

}  // namespace zov::ui::fltk
