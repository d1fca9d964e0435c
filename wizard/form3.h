// Form3, the folder chooser: a drive list, a folder list, a new-folder
// button, the drive's free space, OK and Cancel. Opened modeless by Change
// Dir while Form1 is hidden; every way of closing it shows Form1 again.
#pragma once

#include <cstdint>

#include "platform/ui/form.h"

namespace zov {

class Form3Window : public ui::Form {
 public:
  Form3Window();

  // Controls, in tab order.
  ui::DirListBox Dir1{*this, "Dir1"};
  ui::DriveListBox Drive1{*this, "Drive1"};
  ui::CommandButton Command1{*this, "Command1"};
  ui::CommandButton Command2{*this, "Command2"};
  ui::Label Label1{*this, "Label1"};
  ui::Label Label2{*this, "Label2"};
  ui::Label Label3{*this, "Label3"};
  ui::CommandButton Command3{*this, "Command3"};

  void Form_Load() override;
  void Drive1_Change();
  void Command1_Click();
  void Command2_Click();
  void Command3_Click();
  void Form_QueryUnload(int& cancel, int unloadMode) override;

  // Free space of the folder list's drive, in kilobytes.
  std::int32_t GetFreeSpaceKB();

 protected:
  void applyStoredLayout() override;

 private:
  std::string freeSpaceText();
  void openAtPresentFolder();
};

Form3Window& Form3();

// Megabytes in the "#,###,###,###,###" pattern: grouped by ",", nothing for zero.
std::string FormatMegabytes(double megabytes);

}  // namespace zov
