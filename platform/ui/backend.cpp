#include "backend.h"

#include <stdexcept>

#include "platform/runtime/app.h"

namespace zov::ui {

namespace {
std::unique_ptr<Backend>& current() {
  static std::unique_ptr<Backend> b;
  return b;
}
}  // namespace

std::vector<int> MessageBoxRequest::buttons() const {
  switch (buttonSet()) {
    case 1: return {vbOK, vbCancel};
    case 2: return {vbAbort, vbRetry, vbIgnore};
    case 3: return {vbYes, vbNo, vbCancel};
    case 4: return {vbYes, vbNo};
    case 5: return {vbRetry, vbCancel};
    default: return {vbOK};
  }
}

int MessageBoxRequest::defaultAnswer() const {
  const auto b = buttons();
  const auto i = static_cast<std::size_t>(defaultButton());
  return i < b.size() ? b[i] : b.front();
}

std::string answerName(int answer) {
  switch (answer) {
    case vbOK: return "OK";
    case vbCancel: return "Cancel";
    case vbAbort: return "Abort";
    case vbRetry: return "Retry";
    case vbIgnore: return "Ignore";
    case vbYes: return "Yes";
    case vbNo: return "No";
    default: return "?";
  }
}

int answerFromName(const std::string& name) {
  for (int a = vbOK; a <= vbNo; ++a) {
    if (answerName(a) == name) return a;
  }
  return 0;
}

Backend& backend() {
  if (!current()) throw std::logic_error("no window backend has been installed");
  return *current();
}

void setBackend(std::unique_ptr<Backend> b) {
  current() = std::move(b);
  runtime::SetDoEventsHandler([] {
    if (current()) current()->doEvents();
  });
}

int MsgBox(const std::string& prompt, int style, const std::optional<std::string>& title) {
  return backend().messageBox({prompt, style, title.value_or(runtime::App().Title)});
}

std::string InputBox(const std::string& prompt, const std::string& title, const std::string& initial) {
  return backend().inputBox(prompt, title.empty() ? runtime::App().Title : title, initial).value_or(std::string());
}

float ScreenInfo::TwipsPerPixelX() const { return backend().twipsPerPixelX(); }

}  // namespace zov::ui
