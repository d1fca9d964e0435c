// The drawing and input side of the window toolkit. A backend draws the
// model and turns a person's (or a script's) input into the model's events.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/font.h"

namespace zov::ui {

class Form;
class Control;

// Message-box styles: buttons (0 OK, 1 OK/Cancel, 2 Abort/Retry/Ignore,
// 3 Yes/No/Cancel, 4 Yes/No, 5 Retry/Cancel) + icon (16 stop, 32 question,
// 48 exclamation, 64 information) + default button (0, 256, 512) + 4096
// system modal. Answers: 1 OK, 2 Cancel, 3 Abort, 4 Retry, 5 Ignore, 6 Yes, 7 No.
enum MsgBoxAnswer : int { vbOK = 1, vbCancel = 2, vbAbort = 3, vbRetry = 4, vbIgnore = 5, vbYes = 6, vbNo = 7 };

struct MessageBoxRequest {
  std::string prompt;
  int style = 0;
  std::string title;

  int buttonSet() const { return style & 7; }
  int icon() const { return style & 0x70; }
  int defaultButton() const { return (style >> 8) & 3; }  // 0 first, 1 second, 2 third
  bool systemModal() const { return (style & 4096) != 0; }
  // The answers of the buttons, left to right.
  std::vector<int> buttons() const;
  int defaultAnswer() const;
};

std::string answerName(int answer);
int answerFromName(const std::string& name);  // 0 when unknown

class Backend {
 public:
  virtual ~Backend() = default;
  virtual void formLoaded(Form&) {}
  virtual void formVisibility(Form&) {}
  virtual void formUnloaded(Form&) {}
  // A property changed; the next repaint shows it.
  virtual void changed(Control&) {}
  virtual void changed(Form&) {}
  // Repaint at once.
  virtual void refresh(Control&) {}
  virtual void refresh(Form&) {}
  // Modal: blocks the caller, runs a nested loop, returns the answer.
  virtual int messageBox(const MessageBoxRequest& request) = 0;
  // Modal; nullopt for Cancel.
  virtual std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                              const std::string& initial) = 0;
  // Runs the input that is pending now, without waiting.
  virtual void doEvents() = 0;
  // Waits for the next input and dispatches it; false when no more input will come.
  virtual bool waitForInput() = 0;
  // Width of a text, in twips.
  virtual float textWidth(const Font& font, const std::string& text) const = 0;
  virtual float twipsPerPixelX() const { return 15.0f; }
};

Backend& backend();
// Installs a backend; the runtime's DoEvents then runs its pending input.
void setBackend(std::unique_ptr<Backend> b);

// The message box and input box of the runtime. A missing title is the
// application's default title.
int MsgBox(const std::string& prompt, int style = 0, const std::optional<std::string>& title = std::nullopt);
std::string InputBox(const std::string& prompt, const std::string& title = {}, const std::string& initial = {});

struct ScreenInfo {
  float TwipsPerPixelX() const;
};
inline ScreenInfo Screen;

}  // namespace zov::ui
