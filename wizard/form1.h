// Form1, the installer's main window: a fixed-size wizard with a strip on
// the left holding the product's picture, four pages (the frame array
// Frame1) on the right and three buttons along the bottom.
#pragma once

#include <cstdint>
#include <string>

#include "platform/ui/form.h"

namespace zov {

struct InstallAccount;

class Form1Window : public ui::Form {
 public:
  Form1Window();

  // Controls, in stored order.
  ui::CommandButton Command3{*this, "Command3"};
  ui::CommandButton Command2{*this, "Command2"};
  ui::CommandButton Command1{*this, "Command1"};
  ui::Frame Frame2{*this, "Frame2"};
  ui::PictureBox Picture1{*this, "Picture1"};
  ui::Image Image1{*this, "Image1"};
  ui::ControlArray<ui::Frame> Frame1{*this, "Frame1", {1, 2, 3, 4}};
  ui::ComboBox Combo1{*this, "Combo1"};
  ui::Label Label2{*this, "Label2"};
  ui::Label Label5{*this, "Label5"};
  ui::Line Line1{*this, "Line1"};
  ui::Label Label4{*this, "Label4"};
  ui::Label Label1{*this, "Label1"};
  ui::OptionButton Option2{*this, "Option2"};
  ui::OptionButton Option1{*this, "Option1"};
  ui::TextBox Text1{*this, "Text1"};
  ui::Label Label3{*this, "Label3"};
  ui::PictureBox Picture2{*this, "Picture2"};
  ui::Label Label8{*this, "Label8"};
  ui::Label Label7{*this, "Label7"};
  ui::CheckBox Check1{*this, "Check1"};
  ui::Label Label12{*this, "Label12"};
  ui::Label Label11{*this, "Label11"};
  ui::TextBox Text2{*this, "Text2"};
  ui::CommandButton Command4{*this, "Command4"};
  ui::Label Label9{*this, "Label9"};

  // Page flow.
  void sayfagoster();
  void Command1_Click();
  void Command2_Click();
  void Command3_Click();
  void Command4_Click();
  void Option1_Click();
  void Option2_Click();
  void Text2_LostFocus();
  void Image1_Click();
  void Combo1_Click();
  void Form_Load() override;
  void Form_Unload(int& cancel) override;

  // Destination folder: ends it in the product's own folder.
  void DizinGuncelle();
  // Checks the destination and creates its folder; True when the
  // installation can go there.
  bool CheckInstallDir();

  // The last-resort settings folder below Program Files on the system drive:
  // 0 when it exists (UserDir and AppDataDir then name it), -1 otherwise.
  std::int32_t MakeConfFolder();

  // Install helpers (the installation engine's methods of this window).
  void DeleteTempFiles();
  // Sets the progress bar and its percentage; Percent is shown as given.
  void ShowProgress(const std::int32_t& Percent);
  bool ExtractMember(const std::string& Source, const std::string& Dest, const std::int32_t& Length, const std::int32_t& EndGap);
  // Deletes the file when it is there; False when that fails, with a box only when Warn is True.
  bool DeleteFileWarn(const std::string& Path, const bool& Warn);

  // The install routine, run by page 5 once the destination has been accepted.
  void RunInstallation();
  // Lets pending window messages run while page 5 checks the destination
  // and installs. When they have closed the window (a cancel the user
  // confirmed, which has deleted the temporary files), the program ends
  // here, so that nothing more is created or written and nothing goes on
  // working against the closed window. Every yield between Install and the
  // finish state, the destination checks' and the install routine's, is this one.
  void InstallDoEvents();
  // Writes Text and CR LF as the file Folder\Name; false, silently, on any failure.
  bool WriteTextFile(const std::string& Folder, const std::string& Name, const std::string& Text);
  // Deletes the ordinary file Folder\Name when it is there; false, silently, when that fails.
  bool DeleteFileIn(const std::string& Folder, const std::string& Name);
  // The install routine's stage after the last payload slot: user folders,
  // settings values, uninstall entry, .qev association, AVIFile repair,
  // progress step 58, language value, temporary files, and the status line
  // announcing the shortcuts, which reports the installation as done only
  // when the account is complete so far. What it makes goes into the account.
  void WriteSettingsAndRegistrations(InstallAccount& account);
  // The install routine's last stretch: the shortcuts (or a Program Manager
  // group), the last progress step and the finish state, which claims
  // success only when the account is complete and offers the launch box
  // only when the product can be started.
  void MakeShortcutsAndFinish(InstallAccount& account);

 protected:
  void applyStoredLayout() override;

 private:
  void placeControls();
  // Start-up steps. The user-folder discovery of Vista and 7 sets UserDir,
  // AppDataDir and the domain pair, or ends the program.
  void FindUserFolders();
  void chooseDefaultDestination();
  // Waits while the product's windows are open; false when the user gave up
  // and the window has been unloaded.
  bool WaitWhileProductRuns();
  // The click counter of the hidden switch on the picture, kept with the window.
  std::uint8_t image1Clicks_ = 0;
  // True while page 5 checks the destination and installs. The work lets
  // pending input run; then only Cancel, the close box and the picture act,
  // and the destination box is read-only: Back, Install, Change Dir, the
  // language list, the agreement options and the destination box neither
  // start a second check or installation nor change the destination under
  // the running one.
  bool working_ = false;
  class Working;
};

// The default instance.
Form1Window& Form1();

// The code of a language-list item: "Deutsch" 2, "Français" 3, "Espanol" 4, any other 0.
std::int32_t LanguageCodeOfItem(const std::string& item);

}  // namespace zov
