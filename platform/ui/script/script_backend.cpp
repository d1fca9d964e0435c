#include "script_backend.h"

#include <algorithm>

#include "platform/machine/machine.h"
#include "platform/text/utf8.h"
#include "platform/ui/form.h"
#include "platform/win32/window_manager.h"

namespace zov::ui {

namespace {

std::string oneLine(const std::string& s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') {
      out += "\\n";
      ++i;
    } else if (s[i] == '\r' || s[i] == '\n') {
      out += "\\n";
    } else {
      out += s[i];
    }
  }
  return out;
}

std::string shortened(const std::string& s, std::size_t max) {
  const std::string line = oneLine(s);
  if (text::length(line) <= max) return line;
  return line.substr(0, text::byteOffset(line, max)) + "...";
}

std::string iconName(int icon) {
  switch (icon) {
    case 16: return "stop";
    case 32: return "question";
    case 48: return "exclamation";
    case 64: return "information";
    default: return "no icon";
  }
}

}  // namespace

ScriptBackend::ScriptBackend(std::vector<ScriptCommand> commands, std::ostream& transcript)
    : commands_(commands.begin(), commands.end()), out_(transcript) {}

void ScriptBackend::note(const std::string& line) { out_ << line << '\n' << std::flush; }

[[noreturn]] void ScriptBackend::abort(const ScriptCommand* command, const std::string& why) const {
  throw ScriptAbort(command ? "script line " + std::to_string(command->line) + " (" + command->text() + "): " + why
                            : why);
}

void ScriptBackend::formLoaded(Form&) {}

void ScriptBackend::formVisibility(Form& form) {
  if (form.Visible.get()) {
    layout_.erase(&form);  // shown anew: the next look shows it whole
  } else {
    shown_.erase(&form);
    layout_.erase(&form);
    note("== " + form.name() + " hidden");
  }
}

void ScriptBackend::formUnloaded(Form& form) {
  shown_.erase(&form);
  layout_.erase(&form);
  note("== " + form.name() + " closed");
}

void ScriptBackend::refresh(Control& control) {
  Form& form = control.form();
  if (!form.Visible.get() || !control.shown()) return;
  const std::string line = describe(control);
  auto& seen = shown_[&form];
  const auto it = seen.find(control.fullName());
  if (it != seen.end() && it->second == line) return;
  seen[control.fullName()] = line;
  if (!line.empty()) note("   " + line);
}

void ScriptBackend::refresh(Form&) { present(); }

std::string ScriptBackend::describe(const Control& c) const {
  const std::string name = c.fullName() + ": ";
  const std::string off = c.usable() ? "" : " (disabled)";
  switch (c.kind()) {
    case ControlKind::Label: {
      const auto& l = static_cast<const Label&>(c);
      if (!l.Caption.get().empty()) return name + "\"" + oneLine(l.Caption) + "\"";
      if (l.BackStyle.get() == 1 && l.BackColor.get() < 0x80000000u) {
        return name + "[bar " + std::to_string(static_cast<long>(l.Width.get())) + " twips]";
      }
      return {};
    }
    case ControlKind::CommandButton:
      return name + "[" + static_cast<const CommandButton&>(c).Caption.get() + "]" + off;
    case ControlKind::TextBox: {
      const auto& t = static_cast<const TextBox&>(c);
      return name + "|" + (t.MultiLine.get() ? shortened(t.Text, 60) : t.Text.get()) + "|" + off;
    }
    case ControlKind::ComboBox: {
      const auto& b = static_cast<const ComboBox&>(c);
      std::string items;
      for (int i = 0; i < b.ListCount(); ++i) items += (i ? ", " : "") + b.List(i);
      return name + "<" + b.Text() + "> of " + items + off;
    }
    case ControlKind::Frame: {
      const auto& f = static_cast<const Frame&>(c);
      return f.Caption.get().empty() ? std::string() : name + "frame \"" + f.Caption.get() + "\"";
    }
    case ControlKind::Image:
      return static_cast<const Image&>(c).picture().empty() ? std::string() : name + "(picture)";
    case ControlKind::OptionButton: {
      const auto& o = static_cast<const OptionButton&>(c);
      return name + (o.Value.get() ? "(o) " : "( ) ") + o.Caption.get() + off;
    }
    case ControlKind::CheckBox: {
      const auto& k = static_cast<const CheckBox&>(c);
      return name + (k.Value.get() ? "[x] " : "[ ] ") + k.Caption.get() + off;
    }
    case ControlKind::DriveListBox:
      return name + "drive " + static_cast<const DriveListBox&>(c).Drive.get() + off;
    case ControlKind::DirListBox: {
      const auto& d = static_cast<const DirListBox&>(c);
      std::string list;
      for (const auto& entry : d.List()) list += (list.empty() ? "" : ", ") + entry;
      return name + "folder " + d.Path.get() + " {" + list + "}" + off;
    }
    default:
      return {};
  }
}

void ScriptBackend::presentForm(Form& form, bool whole) {
  auto& seen = shown_[&form];
  if (whole) {
    seen.clear();
    note("== " + form.name() + " \"" + form.Caption.get() + "\"");
  }
  for (const Control* c : form.Controls()) {
    if (!c->shown()) continue;
    const std::string line = describe(*c);
    if (line.empty()) continue;
    const auto it = seen.find(c->fullName());
    if (it != seen.end() && it->second == line) continue;
    seen[c->fullName()] = line;
    note("   " + line);
  }
}

std::vector<Form*> ScriptBackend::visibleForms() const {
  std::vector<Form*> forms;
  for (win32::HWND h = win32::GetWindow(win32::GetForegroundWindow(), win32::GW_HWNDFIRST); h;
       h = win32::GetWindow(h, win32::GW_HWNDNEXT)) {
    for (Form* f : AllForms()) {
      if (f->loaded() && f->Visible.get() && f->hWnd() == h) forms.push_back(f);
    }
  }
  return forms;
}

void ScriptBackend::present() {
  const auto forms = visibleForms();
  for (auto it = forms.rbegin(); it != forms.rend(); ++it) {
    Form& form = **it;
    std::string layout = form.Caption.get() + "\n";
    for (const Control* c : form.Controls()) {
      if (c->shown()) layout += c->fullName() + ",";
    }
    const bool whole = layout_[&form] != layout;
    layout_[&form] = layout;
    presentForm(form, whole);
  }
}

Form* ScriptBackend::activeForm() const {
  const auto forms = visibleForms();
  return forms.empty() ? nullptr : forms.front();
}

Form& ScriptBackend::resolveForm(const std::string& name) const {
  for (Form* f : AllForms()) {
    if (f->name() == name) return *f;
  }
  throw ScriptAbort("there is no window named " + name);
}

Control& ScriptBackend::resolve(const ScriptCommand& command) const {
  const auto dot = command.target.find('.');
  Form* form = nullptr;
  std::string name = command.target;
  if (dot != std::string::npos) {
    form = &resolveForm(command.target.substr(0, dot));
    name = command.target.substr(dot + 1);
  } else {
    form = activeForm();
  }
  if (!form) abort(&command, "no window is open");
  Control* c = form->control(name);
  if (!c) abort(&command, form->name() + " has no control " + name);
  return *c;
}

void ScriptBackend::run(const ScriptCommand& command) {
  note("> " + std::string(command.busy ? "(while busy) " : "") + command.text());
  const std::string& verb = command.verb;
  if (verb == "answer" || verb == "input" || verb == "input-cancel") {
    abort(&command, "no box is open to answer");
  }
  if (verb == "pass") return;
  if (verb == "window-opens") {
    machine::currentMachine().otherWindows().insert(machine::currentMachine().otherWindows().begin(), command.argument);
    return;
  }
  if (verb == "window-closes") {
    auto& windows = machine::currentMachine().otherWindows();
    const auto it = std::find(windows.begin(), windows.end(), command.argument);
    if (it == windows.end()) abort(&command, "no other program has a window of that title");
    windows.erase(it);
    return;
  }
  if (verb == "close") {
    Form& form = resolveForm(command.target);
    if (!form.loaded() || !form.Visible.get()) {
      note("   (" + form.name() + " is not on the screen: nothing to close)");
      return;
    }
    Unload(form, vbFormControlMenu);
    return;
  }
  Control& c = resolve(command);
  if (!c.form().loaded() || !c.form().Visible.get() || !c.shown()) {
    note("   (" + c.fullName() + " is not on the screen: nothing happens)");
    return;
  }
  if (!c.usable()) {
    note("   (" + c.fullName() + " is disabled: nothing happens)");
    return;
  }
  if (c.takesFocus()) c.form().focus(&c);
  if (verb == "click") {
    switch (c.kind()) {
      case ControlKind::CheckBox: {
        auto& box = static_cast<CheckBox&>(c);
        box.Value = box.Value.get() ? 0 : 1;
        break;
      }
      case ControlKind::OptionButton:
        static_cast<OptionButton&>(c).Value = true;
        break;
      default:
        if (c.Click) c.Click();
    }
  } else if (verb == "type") {
    if (c.kind() != ControlKind::TextBox) abort(&command, c.fullName() + " is not a text box");
    auto& box = static_cast<TextBox&>(c);
    if (box.Locked.get()) {
      note("   (" + c.fullName() + " is read-only: nothing happens)");
      return;
    }
    box.Text = command.argument;
    box.SelStart = static_cast<int>(text::length(command.argument));
  } else if (verb == "choose") {
    if (c.kind() == ControlKind::ComboBox) {
      auto& box = static_cast<ComboBox&>(c);
      for (int i = 0; i < box.ListCount(); ++i) {
        if (box.List(i) == command.argument) {
          box.ListIndex = i;
          return;
        }
      }
      abort(&command, c.fullName() + " has no item \"" + command.argument + "\"");
    } else if (c.kind() == ControlKind::DriveListBox) {
      static_cast<DriveListBox&>(c).Drive = command.argument;
    } else if (c.kind() == ControlKind::DirListBox) {
      static_cast<DirListBox&>(c).Path = command.argument;
    } else {
      abort(&command, c.fullName() + " is not a list");
    }
  }
}

int ScriptBackend::messageBox(const MessageBoxRequest& request) {
  present();
  std::string buttons;
  for (int b : request.buttons()) {
    if (!buttons.empty()) buttons += '/';
    buttons += answerName(b);
  }
  note("?? box \"" + request.title + "\" [" + buttons + ", " + iconName(request.icon()) + ", default " +
       answerName(request.defaultAnswer()) + (request.systemModal() ? ", system modal" : "") + "]");
  note("   " + oneLine(request.prompt));
  runOtherPrograms();
  if (commands_.empty()) abort(nullptr, "a message box is waiting for an answer, but the script has ended");
  const ScriptCommand command = commands_.front();
  if (command.verb != "answer") abort(&command, "a message box is waiting for an answer");
  commands_.pop_front();
  const int answer = answerFromName(command.target);
  const auto offered = request.buttons();
  if (std::find(offered.begin(), offered.end(), answer) == offered.end()) {
    abort(&command, "the box has no button " + command.target);
  }
  if (!command.argument.empty() && request.prompt.find(command.argument) == std::string::npos) {
    abort(&command, "the box does not say \"" + command.argument + "\"");
  }
  note(">> " + answerName(answer));
  return answer;
}

std::optional<std::string> ScriptBackend::inputBox(const std::string& prompt, const std::string& title,
                                                   const std::string& initial) {
  present();
  note("?? input \"" + title + "\": " + oneLine(prompt) + " |" + initial + "|");
  runOtherPrograms();
  if (commands_.empty()) abort(nullptr, "an input box is waiting for an answer, but the script has ended");
  const ScriptCommand command = commands_.front();
  if (command.verb != "input" && command.verb != "input-cancel") abort(&command, "an input box is waiting for an answer");
  commands_.pop_front();
  if (command.verb == "input-cancel") {
    note(">> Cancel");
    return std::nullopt;
  }
  note(">> |" + command.argument + "|");
  return command.argument;
}

void ScriptBackend::runOtherPrograms() {
  // Other programs do not wait for the box: their windows open and close while it is up.
  while (!commands_.empty() && (commands_.front().verb == "window-opens" || commands_.front().verb == "window-closes")) {
    const ScriptCommand command = commands_.front();
    commands_.pop_front();
    run(command);
  }
}

void ScriptBackend::doEvents() {
  present();
  while (!commands_.empty() && commands_.front().busy) {
    const ScriptCommand command = commands_.front();
    commands_.pop_front();
    run(command);
    if (command.verb == "pass") break;
    present();
  }
}

bool ScriptBackend::waitForInput() {
  present();
  if (commands_.empty()) return false;
  const ScriptCommand command = commands_.front();
  commands_.pop_front();
  run(command);
  return true;
}

float ScriptBackend::textWidth(const Font& font, const std::string& text) const {
  const float pixels = font.size < 9.0f ? 6.0f : 7.0f;
  return static_cast<float>(text::length(text)) * pixels * twipsPerPixelX();
}

}  // namespace zov::ui
