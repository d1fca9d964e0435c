#include "wizard/form3.h"

#include <cmath>

#include "localisation/translate_form.h"
#include "localisation/translate_text.h"
#include "platform/runtime/files.h"
#include "platform/runtime/runtime_error.h"
#include "platform/runtime/strings.h"
#include "platform/ui/backend.h"
#include "platform/win32/kernel.h"
#include "services/shared_state.h"
#include "wizard/form1.h"

namespace zov {

using runtime::Len;
using runtime::Trim;

namespace {

const ui::Font kWindowFont{"MS Sans Serif", 9.75f, false};

std::string systemDrive() { return runtime::Left(Trim(WindowsDir), 2); }

// Present: a directory search of the path itself finds a folder or a plain file.
bool present(const std::string& path) { return !runtime::Dir(path, runtime::vbDirectory).empty(); }

}  // namespace

Form3Window& Form3() { return static_cast<Form3Window&>(ui::DefaultInstance("Form3")); }

std::string FormatMegabytes(double megabytes) {
  const double rounded = std::round(megabytes);
  if (rounded < 1) return {};
  std::string digits = std::to_string(static_cast<long long>(rounded));
  for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3) digits.insert(static_cast<std::size_t>(i), 1, ',');
  return digits;
}

Form3Window::Form3Window() : Form("Form3") {
  add(Dir1);
  add(Drive1);
  add(Command1);
  add(Command2);
  add(Label1);
  add(Label2);
  add(Label3);
  add(Command3);
  Drive1.Change = [this] { Drive1_Change(); };
  Command1.Click = [this] { Command1_Click(); };
  Command2.Click = [this] { Command2_Click(); };
  Command3.Click = [this] { Command3_Click(); };
}

void Form3Window::applyStoredLayout() {
  Caption.reset("Rededi Dirirozo");
  ClientWidth = 6570;
  ClientHeight = 4635;
  BorderStyle = 3;  // fixed dialog, no minimise or maximise button
  closeBox = true;
  font = kWindowFont;
  icon = {};
  auto button = [](ui::CommandButton& b, const char* caption, float l, float t) {
    b.place(l, t, 1395, 405);
    b.Caption.reset(caption);
    b.Enabled.reset(true);
  };
  auto label = [](ui::Label& lb, float l, float t, float w, int alignment) {
    lb.place(l, t, w, 225);
    lb.font = kWindowFont;
    lb.Caption.reset("");
    lb.Alignment.reset(alignment);
  };
  Dir1.place(60, 495, 4665, 3330);
  Dir1.font = kWindowFont;
  Dir1.Path.reset("");
  Drive1.place(90, 4050, 4665, 360);
  Drive1.font = kWindowFont;
  Drive1.Drive.reset("");
  button(Command1, "", 5010, 2880);
  button(Command2, "", 5010, 3540);
  label(Label1, 60, 120, 6315, 0);
  label(Label2, 4770, 510, 1755, 2);
  label(Label3, 4770, 810, 1755, 2);
  button(Command3, "Cancel", 5010, 4020);
}

void Form3Window::Form_Load() {
  icon = Form1().icon;
  TranslateForm(*this);
  Caption = TranslateText(Caption);
  Label1.Caption = TranslateText("Select a destination for Rededi Dirirozo");
  Label2.Caption = TranslateText("Free Space");
  Command1.Caption = TranslateText("&New Folder");
  Command2.Caption = TranslateText("&Ok");

  const std::string dir = Trim(InstallDir);
  if (dir.empty() || dir[0] == ':' || dir[0] == '\\') {
    InstallDir = systemDrive() + "\\";
    Form1().Text2.Text = Trim(InstallDir);
  }
  openAtPresentFolder();
  if (Drive1.Drive == "b:" || Drive1.Drive == "a:") Drive1.Drive = systemDrive();
  Label3.Caption = freeSpaceText();
}

// Walks InstallDir up to the nearest present folder and shows it. A drive
// that cannot answer (no medium) or a destination that names a file opens
// the chooser at the system drive's root instead of ending the program.
void Form3Window::openAtPresentFolder() {
  try {
    while (!present(Trim(InstallDir))) {
      const std::string dir = Trim(InstallDir);
      std::int16_t p = static_cast<std::int16_t>(Len(dir));
      while (p > 0 && runtime::Mid(dir, static_cast<std::size_t>(p), 1) != "\\") --p;
      if (p > 0) {
        InstallDir = runtime::Left(dir, static_cast<std::size_t>(p - 1));
      } else {
        InstallDir = runtime::Left(Trim(WindowsDir), 1) + ":\\";
        break;
      }
    }
    Drive1.Drive = runtime::Left(InstallDir, 2);
    Dir1.Path = Trim(InstallDir);
  } catch (const runtime::RuntimeError&) {
    InstallDir = systemDrive() + "\\";
    Drive1.Drive = systemDrive();
    Dir1.Path = Trim(InstallDir);
  }
}

void Form3Window::Drive1_Change() {
  const std::string drive = Trim(Drive1.Drive);
  const std::string root = runtime::Left(drive, 1) + ":\\";
  const unsigned type = win32::GetDriveTypeA(root);
  switch (type) {
    case 0: ui::MsgBox(root + " couldn't be found!", 4144, std::string("Driver")); break;
    case 2: ui::MsgBox("Rededi Dirirozo can not be installed into a diskette driver.", 4144, std::string("Driver")); break;
    case 4:
      ui::MsgBox(TranslateText("Rededi Dirirozo can not be installed into a network driver."), 4144, std::string("Driver"));
      break;
    case 5: ui::MsgBox("Rededi Dirirozo can not be installed into a CD driver.", 4144, std::string("Driver")); break;
    case 6: ui::MsgBox("Rededi Dirirozo can not be installed into a RAM driver.", 4144, std::string("Driver")); break;
    default: break;
  }
  if (type == 3) {
    if (runtime::LCase(runtime::Left(drive, 2)) == runtime::LCase(runtime::Left(Trim(InstallDir), 2))) {
      Dir1.Path = Trim(InstallDir);
    } else {
      Dir1.Path = runtime::Left(drive, 2);
    }
  } else {
    Drive1.Drive = runtime::Left(Trim(InstallDir), 2);
    Dir1.Path = Trim(InstallDir);
  }
  Label3.Caption = freeSpaceText();
}

void Form3Window::Command1_Click() {
  std::string base = Dir1.Path;
  if (runtime::Right(base, 1) != "\\") base += "\\";
  const std::string answer = ui::InputBox(Trim(TranslateText("Enter a name for new folder :") + runtime::Chr(13) + runtime::Chr(13) + base),
                                          Trim(TranslateText("New Folder")), "");
  const std::string name = Trim(answer);
  if (name.empty()) return;
  if (name.find_first_of("*\\?") != std::string::npos) {
    ui::MsgBox(TranslateText("Characters, like '\\*?,:' are invalid."), 48, TranslateText("Invalid Characters"));
    return;
  }
  const std::string path = base + name;
  try {
    if (present(path) && (runtime::GetAttr(path) & runtime::vbDirectory) == 0) {
      ui::MsgBox("A file named '" + name + "' is in " + Dir1.Path.get() +
                     " already. Please enter another name for the new folder.",
                 48, TranslateText("New Folder"));
      return;
    }
    if (!present(path)) runtime::MkDir(path);
    Dir1.Path = path;
    Dir1.RefreshList();
  } catch (const runtime::RuntimeError& e) {
    // A name the file system refuses, or a folder that cannot be made: the window stays as it was.
    if (e.number() == runtime::kBadFileNameOrNumber) {
      ui::MsgBox(TranslateText("Characters, like '\\*?,:' are invalid."), 48, TranslateText("Invalid Characters"));
    } else {
      ui::MsgBox(TranslateText("Error: Could not create directory : ") + runtime::vbCrLf + runtime::vbCrLf + path, 48,
                 std::string("ZOV"));
    }
  }
}

void Form3Window::Command2_Click() {
  if (GetFreeSpaceKB() < 5000000.0 / 1024) {
    ui::MsgBox(TranslateText("Space in drive is less than 5.000.000 bytes.") + runtime::Chr(13) +
                   TranslateText("You need more space to install Rededi Dirirozo."),
               48, TranslateText("Warning"));
    return;
  }
  InstallDir = Dir1.Path.get();
  const std::string dir = Trim(InstallDir);
  if (runtime::Right(dir, 1) == "\\") InstallDir = runtime::Left(dir, Len(dir) - 1);
  ui::Unload(*this);
  Form1().DizinGuncelle();
  Form1().Text2.Text = Trim(InstallDir);
  Form1().Visible = true;
}

void Form3Window::Command3_Click() {
  Form1().Visible = true;
  ui::Unload(*this);
}

void Form3Window::Form_QueryUnload(int& cancel, int unloadMode) {
  if (unloadMode != ui::vbFormCode) Form1().Visible = true;
  Form1().DizinGuncelle();
}

std::int32_t Form3Window::GetFreeSpaceKB() {
  const std::string root = runtime::Left(Dir1.Path, 3);
  win32::DWORD sectors = 0, bytes = 0, freeClusters = 0, total = 0;
  win32::GetDiskFreeSpaceA(root, sectors, bytes, freeClusters, total);
  const std::int32_t bytesPerCluster = static_cast<std::int32_t>(sectors * bytes);
  const double kb = static_cast<double>(freeClusters) / 1024 * bytesPerCluster;
  // Rounded half to even; a drive beyond the 32-bit range counts as the most it can hold.
  if (kb >= 2147483647.0) return 2147483647;
  return static_cast<std::int32_t>(std::nearbyint(kb));
}

std::string Form3Window::freeSpaceText() { return FormatMegabytes(GetFreeSpaceKB() / 1024.0) + " MB"; }

}  // namespace zov
