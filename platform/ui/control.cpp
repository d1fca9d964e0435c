#include "control.h"

#include <cctype>

#include "platform/machine/machine.h"
#include "platform/machine/windows_errors.h"
#include "platform/runtime/runtime_error.h"
#include "platform/text/case_map.h"
#include "platform/ui/backend.h"
#include "platform/ui/form.h"

namespace zov::ui {

Control::Control(Form& form, ControlKind kind, std::string name, int index)
    : form_(form), kind_(kind), name_(std::move(name)), index_(index) {
  for (Property<float>* p : {&Left, &Top, &Width, &Height}) p->onSet([this](const float&) { changed(); });
  Visible.onSet([this](const bool&) { changed(); });
  Enabled.onSet([this](const bool&) { changed(); });
  ToolTipText.onSet([this](const std::string&) { changed(); });
}

std::string Control::fullName() const { return index_ < 0 ? name_ : name_ + "(" + std::to_string(index_) + ")"; }

bool Control::shown() const {
  for (const Control* c = this; c; c = c->container_) {
    if (!c->Visible) return false;
  }
  return true;
}

bool Control::usable() const {
  for (const Control* c = this; c; c = c->container_) {
    if (!c->Enabled) return false;
  }
  return true;
}

bool Control::takesFocus() const {
  switch (kind_) {
    case ControlKind::CommandButton:
    case ControlKind::TextBox:
    case ControlKind::ComboBox:
    case ControlKind::OptionButton:
    case ControlKind::CheckBox:
    case ControlKind::DriveListBox:
    case ControlKind::DirListBox:
      return true;
    default:
      return false;
  }
}

void Control::Refresh() {
  if (form_.loaded()) backend().refresh(*this);
}

void Control::SetFocus() {
  if (!form_.loaded() || !shown() || !usable() || !takesFocus()) runtime::Raise(runtime::kInvalidProcedureCall);
  form_.focus(this);
}

void Control::place(float left, float top, float width, float height) {
  Left.reset(left);
  Top.reset(top);
  Width.reset(width);
  Height.reset(height);
}

void Control::changed() {
  if (form_.loaded()) backend().changed(*this);
}

void Control::raise(const std::function<void()>& event) {
  if (event) event();
}

Label::Label(Form& f, std::string name, int index) : Control(f, ControlKind::Label, std::move(name), index) {
  Caption.onSet([this](const std::string&) { changed(); });
  for (Property<int>* p : {&Alignment, &BackStyle}) p->onSet([this](const int&) { changed(); });
  for (Property<std::uint32_t>* p : {&BackColor, &ForeColor}) p->onSet([this](const std::uint32_t&) { changed(); });
}

CommandButton::CommandButton(Form& f, std::string name, int index)
    : Control(f, ControlKind::CommandButton, std::move(name), index) {
  Caption.onSet([this](const std::string&) { changed(); });
}

TextBox::TextBox(Form& f, std::string name, int index) : Control(f, ControlKind::TextBox, std::move(name), index) {
  Text.onSet([this](const std::string& old) {
    changed();
    if (old != Text.get()) raise(Change);
  });
  SelStart.onSet([this](const int&) { changed(); });
}

ComboBox::ComboBox(Form& f, std::string name, int index) : Control(f, ControlKind::ComboBox, std::move(name), index) {
  ListIndex.onSet([this](const int& old) {
    if (ListIndex.get() < -1 || ListIndex.get() >= ListCount()) {
      ListIndex.reset(old);
      runtime::Raise(runtime::kInvalidPropertyValue);
    }
    changed();
    if (old != ListIndex.get()) raise(Click);
  });
}

void ComboBox::AddItem(const std::string& item) {
  items_.push_back(item);
  changed();
}

void ComboBox::Clear() {
  items_.clear();
  ListIndex.reset(-1);
  changed();
}

std::string ComboBox::List(int position) const {
  if (position < 0 || position >= ListCount()) runtime::Raise(runtime::kInvalidPropertyIndex);
  return items_[static_cast<std::size_t>(position)];
}

void ComboBox::SetList(int position, const std::string& item) {
  if (position < 0 || position >= ListCount()) runtime::Raise(runtime::kInvalidPropertyIndex);
  items_[static_cast<std::size_t>(position)] = item;
  changed();
}

std::string ComboBox::Text() const { return ListIndex.get() < 0 ? std::string() : items_[static_cast<std::size_t>(ListIndex.get())]; }

Frame::Frame(Form& f, std::string name, int index) : Control(f, ControlKind::Frame, std::move(name), index) {
  Caption.onSet([this](const std::string&) { changed(); });
}

PictureBox::PictureBox(Form& f, std::string name, int index)
    : Control(f, ControlKind::PictureBox, std::move(name), index) {}

void PictureBox::LinkExecute(const std::string& command) {
  // Without an open conversation the runtime reports "no DDE channel".
  if (LinkMode.get() == 0 || !linkExecuteHandler) runtime::Raise(runtime::kDdeNoChannel);
  linkExecuteHandler(command);
}

Image::Image(Form& f, std::string name, int index) : Control(f, ControlKind::Image, std::move(name), index) {}

void Image::setPicture(const Icon& icon) {
  picture_ = icon;
  changed();
}

Line::Line(Form& f, std::string name, int index) : Control(f, ControlKind::Line, std::move(name), index) {}

OptionButton::OptionButton(Form& f, std::string name, int index)
    : Control(f, ControlKind::OptionButton, std::move(name), index) {
  Caption.onSet([this](const std::string&) { changed(); });
  Value.onSet([this](const bool& old) {
    changed();
    if (!Value.get() || old) return;
    for (Control* c : form().Controls()) {
      if (c != this && c->kind() == ControlKind::OptionButton && c->container() == container()) {
        auto* other = static_cast<OptionButton*>(c);
        if (other->Value.get()) other->Value = false;
      }
    }
    raise(Click);
  });
}

CheckBox::CheckBox(Form& f, std::string name, int index) : Control(f, ControlKind::CheckBox, std::move(name), index) {
  Caption.onSet([this](const std::string&) { changed(); });
  Value.onSet([this](const int& old) {
    changed();
    if (old != Value.get()) raise(Click);
  });
}

namespace {

machine::FileSystem& files() { return machine::currentMachine().files(); }

std::string driveText(char letter) {
  const std::string label = files().volumeLabel(letter);
  std::string t(1, static_cast<char>(std::tolower(static_cast<unsigned char>(letter))));
  t += ':';
  if (!label.empty()) t += " [" + label + "]";
  return t;
}

// Every drive of the machine is in the list and can be chosen, ready or
// not; what the program does with it is up to its Change handler.
bool isDriveOfMachine(char letter) {
  for (char drive : files().driveLetters()) {
    if (std::toupper(static_cast<unsigned char>(letter)) == std::toupper(static_cast<unsigned char>(drive))) return true;
  }
  return false;
}

}  // namespace

DriveListBox::DriveListBox(Form& f, std::string name, int index)
    : Control(f, ControlKind::DriveListBox, std::move(name), index) {
  Drive.onSet([this](const std::string& old) {
    const std::string wanted = Drive.get();
    if (wanted.empty() || !isDriveOfMachine(wanted[0])) {
      Drive.reset(old);
      runtime::Raise(runtime::kDeviceUnavailable);
    }
    Drive.reset(driveText(wanted[0]));
    changed();
    if (!text::equalsNoCase(old.substr(0, 2), Drive.get().substr(0, 2))) raise(Change);
  });
}

std::vector<std::string> DriveListBox::List() const {
  std::vector<std::string> list;
  for (char letter : files().driveLetters()) list.push_back(driveText(letter));
  return list;
}

DirListBox::DirListBox(Form& f, std::string name, int index) : Control(f, ControlKind::DirListBox, std::move(name), index) {
  Path.onSet([this](const std::string& old) {
    machine::WindowsPath parsed;
    std::uint32_t attrs = 0;
    const std::string wanted = Path.get();
    const std::uint32_t e = files().parse(wanted, parsed);
    if (e || files().attributes(parsed.text(), attrs) || !(attrs & machine::kAttrDirectory)) {
      Path.reset(old);
      runtime::Raise(e == machine::kErrorNotReady ? runtime::kDiskNotReady : runtime::kPathNotFound);
    }
    Path.reset(files().canonical(parsed));
    files().currentFolders().set(parsed);
    changed();
    if (!text::equalsNoCase(old, Path.get())) raise(Change);
  });
}

std::vector<std::string> DirListBox::List() const {
  std::vector<machine::FoundEntry> found;
  std::vector<std::string> list;
  const std::string folder = Path.get();
  if (folder.empty()) return list;
  files().find(folder.back() == '\\' ? folder : folder + "\\", found);
  for (const auto& entry : found) {
    if ((entry.attributes & machine::kAttrDirectory) && entry.name != "." && entry.name != ".." &&
        !(entry.attributes & (machine::kAttrHidden | machine::kAttrSystem))) {
      list.push_back(entry.name);
    }
  }
  return list;
}

void DirListBox::RefreshList() { changed(); }

Menu::Menu(Form& f, std::string name, int index) : Control(f, ControlKind::Menu, std::move(name), index) {
  Caption.onSet([this](const std::string&) { changed(); });
}

}  // namespace zov::ui
