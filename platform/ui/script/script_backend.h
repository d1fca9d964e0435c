// The headless backend: input comes from a script, and every change that a
// person would see is written to a transcript. Its text measure is fixed
// (a character is 7 pixels wide in the 9.75 pt font, 6 in the 8.25 pt one),
// so results never depend on fonts.
#pragma once

#include <deque>
#include <map>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/ui/backend.h"
#include "platform/ui/script/script.h"

namespace zov::ui {

// The program and its script disagree (a box the script does not answer, a
// control that does not exist): the run cannot go on.
struct ScriptAbort : std::runtime_error {
  using std::runtime_error::runtime_error;
};

class ScriptBackend : public Backend {
 public:
  ScriptBackend(std::vector<ScriptCommand> commands, std::ostream& transcript);

  void formLoaded(Form& form) override;
  void formVisibility(Form& form) override;
  void formUnloaded(Form& form) override;
  void refresh(Control& control) override;
  void refresh(Form& form) override;
  int messageBox(const MessageBoxRequest& request) override;
  std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                      const std::string& initial) override;
  void doEvents() override;
  bool waitForInput() override;
  float textWidth(const Font& font, const std::string& text) const override;

  // Commands still waiting.
  std::size_t pending() const { return commands_.size(); }
  void note(const std::string& line);

 private:
  void run(const ScriptCommand& command);
  // Runs the script's next commands while they are other programs' windows opening or closing.
  void runOtherPrograms();
  Form* activeForm() const;
  // The visible forms, topmost first.
  std::vector<Form*> visibleForms() const;
  Control& resolve(const ScriptCommand& command) const;
  Form& resolveForm(const std::string& name) const;
  [[noreturn]] void abort(const ScriptCommand* command, const std::string& why) const;
  // Writes what changed on the visible forms since the last look.
  void present();
  void presentForm(Form& form, bool whole);
  std::string describe(const Control& control) const;

  std::deque<ScriptCommand> commands_;
  std::ostream& out_;
  std::map<const Form*, std::map<std::string, std::string>> shown_;
  std::map<const Form*, std::string> layout_;  // which controls were visible
};

}  // namespace zov::ui
