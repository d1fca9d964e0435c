// The install routine's last stretch: the Start-menu group and the desktop
// shortcut made through the shell object "WScript.Shell", or a Program
// Manager group when there is no Programs folder or its first shortcut
// cannot be made; then the last progress step and the finish state of the
// wizard window. Neither route shows a message; what they could not make,
// the finish page says.
#include <memory>
#include <string>
#include <vector>

#include "engine/install_account.h"
#include "engine/progress_steps.h"
#include "localisation/translate_text.h"
#include "platform/runtime/app.h"
#include "platform/runtime/files.h"
#include "platform/runtime/runtime_error.h"
#include "platform/runtime/strings.h"
#include "platform/win32/kernel.h"
#include "platform/win32/script_host.h"
#include "platform/win32/shell.h"
#include "platform/win32/window_manager.h"
#include "services/new_file_beside.h"
#include "services/path_exists.h"
#include "services/shared_state.h"
#include "services/shell_folders.h"
#include "wizard/form1.h"

namespace zov {

namespace {

using runtime::IgnoreErrors;
using runtime::Trim;

constexpr const char* kGroupName = "ZOV Zuzuzu Rudavero 5";

// The paths that the shortcuts and the Program Manager items point to.
struct ProductFiles {
  std::string installDir;
  std::string mainProgram;
  std::string helpFile;
  std::string uninstaller;
};

struct ShortcutRow {
  std::string file;
  std::string target;
  std::string arguments;
  bool normalWindow;  // WindowStyle 1; the desktop shortcut leaves it unset
  std::string iconLocation;
  std::string description;
};

void WriteShortcut(const win32::WshShell& shell, const ShortcutRow& row, const std::string& workingDirectory) {
  // The shortcut is saved through a new file beside it: what a killed run's
  // save left there goes first.
  ClearLeftoverNewFiles(row.file.substr(0, row.file.rfind('\\')));
  const auto shortcut = shell.CreateShortcut(row.file);
  shortcut->TargetPath = row.target;
  shortcut->Arguments = row.arguments;
  if (row.normalWindow) shortcut->WindowStyle = 1;
  shortcut->IconLocation = row.iconLocation;
  shortcut->Description = row.description;
  shortcut->WorkingDirectory = workingDirectory;
  shortcut->Save();
}

// The shell route. False when it has to give way to Program Manager: the
// shell object cannot be made, or the first shortcut fails (the shortcut
// trap). The group folder stays as it is then. A later row that fails is
// missing from the account.
bool MakeShellShortcuts(const std::string& GroupDir, const ProductFiles& p, InstallAccount& account) {
  // A folder that cannot be created makes the first shortcut fail below.
  if (!PathExists(GroupDir, runtime::vbDirectory)) IgnoreErrors([&] { runtime::MkDir(GroupDir); });
  std::shared_ptr<win32::AutomationObject> shellObject;
  const win32::WshShell* shellOf = nullptr;
  if (!IgnoreErrors([&] {
        shellObject = win32::CreateObject("WScript.Shell");
        shellOf = &win32::Late<win32::WshShell>(shellObject);
      })) {
    return false;
  }
  const win32::WshShell& shell = *shellOf;
  const std::string icon = p.mainProgram + ", 0";

  try {
    WriteShortcut(shell, {GroupDir + "\\ZOV Zuzuzu Rudavero 5.lnk", p.mainProgram, "", true, icon, "ZOV Zuzuzu Rudavero 5"},
                  p.installDir);
  } catch (const runtime::RuntimeError&) {
    return false;
  }

  // The later rows each stand alone: one that fails is left out and the
  // others are still made.
  std::string DesktopDir;
  IgnoreErrors([&] { DesktopDir = shell.SpecialFolders("Desktop"); });
  std::vector<ShortcutRow> rows;
  if (!Trim(DesktopDir).empty()) {
    rows.push_back({DesktopDir + "\\ZOV Zuzuzu Rudavero 5.lnk", p.mainProgram, "", false, icon, "ZOV Zuzuzu Rudavero 5"});
  }
  rows.push_back({GroupDir + "\\Scenarca.lnk", p.mainProgram, " /scenarca", true, icon, "ZOV Scenarca"});
  rows.push_back({GroupDir + "\\Kineloft.lnk", p.mainProgram, " /kineloft", true, icon, "ZOV Kineloft"});
  if (PathExists(p.helpFile, runtime::vbNormal)) {
    rows.push_back({GroupDir + "\\Zuzuzu Rudavero 5 Help.lnk", p.helpFile, "", true, p.helpFile,
                    "ZOV Zuzuzu Rudavero 5 Help"});
  }
  if (PathExists(p.uninstaller, runtime::vbNormal)) {
    rows.push_back({GroupDir + "\\Uninstall Zuzuzu Rudavero 5.lnk", p.uninstaller, "", true, p.uninstaller + ", 0",
                    "Uninstall ZOV Zuzuzu Rudavero 5"});
  }
  for (const auto& row : rows) {
    if (!IgnoreErrors([&] { WriteShortcut(shell, row, p.installDir); })) account.Shortcuts = false;
  }

  IgnoreErrors([&] { win32::ShellExecuteA(0, "", GroupDir, "", runtime::Left(GroupDir, 2), 1); });
  return true;
}

// Ten passes of the message pump, then a sleep. A cancel confirmed during
// the pump ends the program there.
void PumpAndSleep(Form1Window& form, win32::DWORD milliseconds) {
  for (int i = 0; i < 10; ++i) IgnoreErrors([&] { form.InstallDoEvents(); });
  IgnoreErrors([&] { win32::Sleep(milliseconds); });
}

// The Program Manager route; every failure in it is ignored, and a group or
// item that Program Manager did not take is missing from the account.
void MakeProgramManagerGroup(Form1Window& form, const ProductFiles& p, InstallAccount& account) {
  auto& link = form.Picture1;
  auto command = [&](const std::string& text) {
    if (!IgnoreErrors([&] { link.LinkExecute(text); })) account.Shortcuts = false;
  };
  IgnoreErrors([&] { link.LinkTopic = "Progman|progman"; });
  IgnoreErrors([&] { link.LinkItem = ""; });
  IgnoreErrors([&] { link.LinkMode = 2; });
  PumpAndSleep(form, 500);
  IgnoreErrors([&] { link.LinkTimeout = 100; });
  command(std::string("[CreateGroup(") + kGroupName + ")]");
  PumpAndSleep(form, 500);
  IgnoreErrors([&] { link.LinkTimeout = 50; });
  auto item = [&](const std::string& path, const std::string& argument, const std::string& title) {
    command("[additem(\"" + path + "\"" + argument + "," + title + ")]");
    PumpAndSleep(form, 200);
  };
  item(p.mainProgram, "", "ZOV Zuzuzu Rudavero 5");
  item(p.mainProgram, " /scenarca", "Scenarca");
  item(p.mainProgram, " /kineloft", "Kineloft");
  if (PathExists(p.helpFile, runtime::vbNormal)) item(p.helpFile, "", "Zuzuzu Rudavero 5 Help");
  if (PathExists(p.uninstaller, runtime::vbNormal)) item(p.uninstaller, "", "Uninstall Zuzuzu Rudavero 5");
  IgnoreErrors([&] { link.LinkMode = 0; });
}

}  // namespace

void Form1Window::MakeShortcutsAndFinish(InstallAccount& account) {
  Label11.Refresh();
  ProductFiles p;
  p.installDir = Trim(InstallDir);
  p.mainProgram = p.installDir + "\\" + Trim(ProgramName) + ".exe";
  p.helpFile = p.installDir + "\\ZOV5.chm";
  p.uninstaller = p.installDir + "\\Uninstall Zuzuzu Rudavero 5.exe";

  // A Programs folder that cannot be looked up is as good as none.
  std::string programs;
  IgnoreErrors([&] { programs = Trim(GetSpecialFolderPath(win32::CSIDL_PROGRAMS)); });
  bool shortcutsMade = false;
  if (!programs.empty() && PathExists(programs, runtime::vbDirectory)) {
    if (runtime::Right(programs, 1) == "\\") programs = runtime::Left(programs, runtime::Len(programs) - 1);
    shortcutsMade = MakeShellShortcuts(programs + "\\" + kGroupName, p, account);
  }
  if (!shortcutsMade) MakeProgramManagerGroup(*this, p, account);

  ShowProgress(StepPercent(kStepCount));
  Refresh();
  InstallDoEvents();
  Refresh();
  Label11.Caption = FinishText(account);
  Label11.Refresh();
  Picture2.Visible = false;
  Command1.Enabled = false;
  Command3.Enabled = false;
  Command2.Enabled = true;
  Command2.Caption = TranslateText("Finish");
  // The launch box is offered when the product can be started; Form_Unload
  // starts it when the box is ticked.
  Check1.Visible = account.Launchable();
  win32::SetForegroundWindow(hWnd());
  Refresh();
  win32::BringWindowToTop(hWnd());
}

}  // namespace zov
