// A form with a control of every kind the FLTK backend draws, at known
// places, whose handlers note what ran.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/form.h"

namespace zov::test {

class SampleForm : public ui::Form {
 public:
  SampleForm();

  ui::TextBox Text1{*this, "Text1"};
  ui::CommandButton Command1{*this, "Command1"};
  ui::CommandButton Command2{*this, "Command2"};
  ui::CommandButton Command3{*this, "Command3"};
  ui::CheckBox Check1{*this, "Check1"};
  ui::Frame Frame1{*this, "Frame1"};
  ui::OptionButton Option1{*this, "Option1"};
  ui::OptionButton Option2{*this, "Option2"};
  ui::PictureBox Picture1{*this, "Picture1"};
  ui::Label Label1{*this, "Label1"};
  ui::Image Image1{*this, "Image1"};
  ui::Line Line1{*this, "Line1"};
  ui::ComboBox Combo1{*this, "Combo1"};
  ui::DriveListBox Drive1{*this, "Drive1"};
  ui::DirListBox Dir1{*this, "Dir1"};
  ui::TextBox Text2{*this, "Text2"};
  ui::Label Label2{*this, "Label2"};

  std::vector<std::string> log;
  int cancelUnload = 0;
  bool failOnClick = false;

  void Form_QueryUnload(int& cancel, int unloadMode) override;

 protected:
  void applyStoredLayout() override;
};

}  // namespace zov::test
