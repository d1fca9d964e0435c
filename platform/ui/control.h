// The controls of a form: the properties and events the installer uses.
// Positions are twips relative to the container; texts are UTF-8.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/ui/font.h"
#include "platform/ui/property.h"

namespace zov::ui {

class Form;

enum class ControlKind {
  Label,
  CommandButton,
  TextBox,
  ComboBox,
  Frame,
  PictureBox,
  Image,
  Line,
  OptionButton,
  CheckBox,
  DriveListBox,
  DirListBox,
  Menu,
};

// System colours as the toolkit names them (high bit set), and RGB values.
inline constexpr std::uint32_t kColorButtonFace = 0x8000000F;
inline constexpr std::uint32_t kColorWindowText = 0x80000012;
inline constexpr std::uint32_t kColorDarkShadow = 0x80000015;
inline constexpr std::uint32_t kColorWindow = 0x80000005;

// An icon: a 32 x 32 picture, rows of 0xAARRGGBB.
struct Icon {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
  bool empty() const { return pixels.empty(); }
};

class Control {
 public:
  Control(Form& form, ControlKind kind, std::string name, int index = -1);
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  ControlKind kind() const { return kind_; }
  const std::string& name() const { return name_; }
  int index() const { return index_; }
  // "Command2", or "Frame1(2)" for a member of a control array.
  std::string fullName() const;
  Form& form() const { return form_; }
  Control* container() const { return container_; }
  void setContainer(Control* container) { container_ = container; }
  // Visible itself and inside visible containers (the form aside).
  bool shown() const;
  // Enabled itself and inside enabled containers.
  bool usable() const;
  // Can take the focus (buttons, boxes, lists, options).
  bool takesFocus() const;

  Property<float> Left;
  Property<float> Top;
  Property<float> Width;
  Property<float> Height;
  Property<bool> Visible{true};
  Property<bool> Enabled{true};
  Property<std::string> Tag;
  Property<std::string> ToolTipText;
  Font font;

  // Events; the form wires them to its handlers.
  std::function<void()> Click;
  std::function<void()> Change;
  std::function<void()> GotFocus;
  std::function<void()> LostFocus;

  // Repaints the control at once.
  void Refresh();
  void SetFocus();

  // Sets the stored geometry without events.
  void place(float left, float top, float width, float height);

 protected:
  void changed();
  void raise(const std::function<void()>& event);

 private:
  Form& form_;
  ControlKind kind_;
  std::string name_;
  int index_;
  Control* container_ = nullptr;
};

class Label : public Control {
 public:
  Label(Form& f, std::string name, int index = -1);
  Property<std::string> Caption;
  Property<int> Alignment{0};  // 0 left, 1 right, 2 centre
  Property<int> BackStyle{1};  // 0 transparent, 1 opaque
  Property<std::uint32_t> BackColor{kColorButtonFace};
  Property<std::uint32_t> ForeColor{kColorWindowText};
};

class CommandButton : public Control {
 public:
  CommandButton(Form& f, std::string name, int index = -1);
  Property<std::string> Caption;
};

class TextBox : public Control {
 public:
  TextBox(Form& f, std::string name, int index = -1);
  Property<std::string> Text;  // setting it raises Change
  Property<bool> MultiLine{false};
  Property<bool> Locked{false};
  Property<int> ScrollBars{0};  // 0 none, 2 vertical
  Property<int> SelStart{0};
};

class ComboBox : public Control {
 public:
  ComboBox(Form& f, std::string name, int index = -1);
  void AddItem(const std::string& item);
  void Clear();
  int ListCount() const { return static_cast<int>(items_.size()); }
  // The item at a position; error 381 outside the list.
  std::string List(int position) const;
  void SetList(int position, const std::string& item);
  Property<int> ListIndex{-1};  // setting it raises Click
  Property<int> Style{2};       // 2 drop-down list
  std::string Text() const;

 private:
  std::vector<std::string> items_;
};

class Frame : public Control {
 public:
  Frame(Form& f, std::string name, int index = -1);
  Property<std::string> Caption;
};

class PictureBox : public Control {
 public:
  PictureBox(Form& f, std::string name, int index = -1);
  Icon Picture;
  Property<int> BorderStyle{1};
  // Link (DDE client) properties; the conversation itself is the machine's.
  Property<std::string> LinkTopic;
  Property<std::string> LinkItem;
  Property<int> LinkMode{0};
  Property<int> LinkTimeout{50};
  std::function<void(const std::string&)> linkExecuteHandler;
  void LinkExecute(const std::string& command);
};

class Image : public Control {
 public:
  Image(Form& f, std::string name, int index = -1);
  void setPicture(const Icon& icon);
  const Icon& picture() const { return picture_; }

 private:
  Icon picture_;
};

class Line : public Control {
 public:
  Line(Form& f, std::string name, int index = -1);
  Property<float> X1, Y1, X2, Y2;
  Property<std::uint32_t> BorderColor{kColorWindowText};
};

class OptionButton : public Control {
 public:
  OptionButton(Form& f, std::string name, int index = -1);
  Property<std::string> Caption;
  Property<bool> Value{false};  // set to True: raises Click and clears the other options of its container
};

class CheckBox : public Control {
 public:
  CheckBox(Form& f, std::string name, int index = -1);
  Property<std::string> Caption;
  Property<int> Value{0};  // 0 unticked, 1 ticked; a change raises Click
};

class DriveListBox : public Control {
 public:
  DriveListBox(Form& f, std::string name, int index = -1);
  // The current drive's text ("c: [System]"). Setting it to a drive text
  // ("d:" or more) selects that drive and raises Change, whether the drive
  // is ready or not; a letter that is no drive of the machine is error 68.
  Property<std::string> Drive;
  std::vector<std::string> List() const;
};

class DirListBox : public Control {
 public:
  DirListBox(Form& f, std::string name, int index = -1);
  // The folder shown ("C:\Program Files", "C:\" for a root). Setting it to a
  // drive text ("d:") moves to that drive's current folder; a folder that is
  // not there is error 76. A change raises Change.
  Property<std::string> Path;
  // The folders below Path, as the list shows them.
  std::vector<std::string> List() const;
  void RefreshList();
};

class Menu : public Control {
 public:
  Menu(Form& f, std::string name, int index = -1);
  Property<std::string> Caption;
};

// Members 1..N of a control array, by index.
template <typename C>
class ControlArray {
 public:
  ControlArray(Form& f, const std::string& name, std::initializer_list<int> indexes) {
    for (int i : indexes) members_.emplace(std::piecewise_construct, std::forward_as_tuple(i), std::forward_as_tuple(f, name, i));
  }
  C& operator()(int index) { return members_.at(index); }
  const C& operator()(int index) const { return members_.at(index); }

 private:
  std::map<int, C> members_;
};

}  // namespace zov::ui
