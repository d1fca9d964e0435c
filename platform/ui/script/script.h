// Scripts for the headless backend: one command a line, '#' starts a
// comment. The commands are what a person does:
//
//   click CONTROL             click a control (Form3.Command2 names another form's control)
//   type CONTROL TEXT         type TEXT into a text box (it replaces the box's text)
//   choose CONTROL ITEM       choose an item of a list (combo box item, drive, folder)
//   close FORM                click the form's close box
//   answer BUTTON [TEXT]      answer the message box that is open (OK, Cancel, Yes, No,
//                             Abort, Retry, Ignore); with TEXT the box must contain it
//   input TEXT                answer the input box that is open
//   input-cancel              cancel the input box that is open
//   window-opens TITLE        another program opens a top-level window
//   window-closes TITLE       another program closes its window of that title
//   pass                      does nothing
//
// A command may be prefixed with "busy": it is then delivered at the next
// moment the program lets pending input run while it works, instead of when
// it is idle. The busy commands in a row all come at one moment; "busy pass"
// lets that moment go by, so that the busy commands after it come at the
// next one. TEXT may be written in double quotes to keep blanks at its ends.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace zov::ui {

struct ScriptCommand {
  int line = 0;
  bool busy = false;
  std::string verb;
  std::string target;    // control, form or button
  std::string argument;  // text, item or title
  std::string text() const;  // the command as written, without "busy"
};

struct ScriptError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Throws ScriptError naming the source and line of a command it does not know.
std::vector<ScriptCommand> parseScript(const std::string& text, const std::string& source);

}  // namespace zov::ui
