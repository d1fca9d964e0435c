// Form1's destination checks, run when Install is pressed on the destination
// page: the destination is tested as typed, the folder of an installed copy
// of this version is offered, the destination's folder is created level by
// level, and a folder that holds one of the product's older versions is
// refused (with the earliest version's uninstaller offered).
#include <string>
#include <variant>
#include <vector>

#include "localisation/translate_text.h"
#include "platform/runtime/app.h"
#include "platform/runtime/files.h"
#include "platform/runtime/runtime_error.h"
#include "platform/runtime/strings.h"
#include "platform/ui/backend.h"
#include "platform/win32/ansi_buffer.h"
#include "platform/win32/kernel.h"
#include "services/path_exists.h"
#include "services/registry.h"
#include "services/shared_state.h"
#include "wizard/form1.h"

namespace zov {

using runtime::Left;
using runtime::Len;
using runtime::Mid;
using runtime::RuntimeError;
using runtime::Trim;
using runtime::vbCrLf;

namespace {

constexpr int kInformation = 64;
constexpr int kExclamation = 48;
constexpr int kSystemModalExclamation = 4144;
constexpr int kYesNoQuestion = 292;
// Normal window with the focus.
constexpr int kNormalFocus = 1;

const std::string kProductFolder = "ZOV Zuzuzu Rudavero 5";

// Present: a directory search of the path text finds a folder or a plain
// file (hidden and system entries are not seen). A bad name or a drive that
// cannot answer is a run-time error.
bool present(const std::string& path) { return !runtime::Dir(path, runtime::vbDirectory).empty(); }

// A level of the folder walk. A bare drive ("E:") stands for that drive's
// root, which every ready drive has, even when it is empty and the
// directory search therefore finds nothing in it.
bool levelPresent(const std::string& path) {
  if (present(path)) return true;
  return Len(path) == 2 && Mid(path, 2, 1) == ":" && (runtime::GetAttr(path + "\\") & runtime::vbDirectory) != 0;
}

// The message for a drive of each type; empty for a drive that can take the product.
std::string driveRefusal(unsigned type, const std::string& root) {
  switch (type) {
    case 0: return root + TranslateText(" couldn't be found!");
    case 1: return TranslateText("Please check the drive : ") + root;
    case 2: return TranslateText("Rededi Dirirozo can not be installed into a diskette driver.");
    case 4: return TranslateText("Rededi Dirirozo can not be installed into a network driver.");
    case 5: return TranslateText("Rededi Dirirozo can not be installed into a CD driver.");
    case 6: return TranslateText("Rededi Dirirozo can not be installed into a RAM driver.");
    default: return {};
  }
}

// The folder of an installed copy of this version, as the product's
// settings record it. Every name under "Software\Zideruv" is looked at, so
// a key with hundreds of neighbours is still found.
void findSameVersionDir() {
  auto stored = [] {
    return GetRegString(win32::HKEY_LOCAL_MACHINE, "Software\\Zideruv\\ZOV4", "Dizin", "", 0);
  };
  if (OsCode != 4) {
    const SubkeyList names = EnumRegKeys(win32::HKEY_LOCAL_MACHINE, "Software\\Zideruv");
    const auto* list = std::get_if<std::vector<std::string>>(&names);
    if (!list) {
      SameVersionDir.clear();
      return;
    }
    for (const std::string& name : *list) {
      if (name == "ZOV4") {
        SameVersionDir = stored();
        return;
      }
    }
    return;
  }
  SameVersionDir = PathExists(AppDataDir, runtime::vbDirectory) ? stored() : std::string();
}

// The folder recorded by one of the older versions' keys. A folder that is
// no longer there is forgotten, and so is one that cannot be tested (its
// drive is gone or has no medium, the file system refuses its name): no
// older version can be installed where nothing can be found.
std::string olderVersionDir(const std::string& key) {
  std::string folder = GetRegString(win32::HKEY_LOCAL_MACHINE, key, "Dizin", "", ForceRegistry);
  if (!PathExists(folder, runtime::vbDirectory)) folder.clear();
  return folder;
}

// Raised by a folder creation that fails; it carries the level being created.
struct CreationFailed {
  std::string level;
};

void createLevel() {
  try {
    runtime::MkDir(Trim(InstallDir));
  } catch (const RuntimeError&) {
    throw CreationFailed{Trim(InstallDir)};
  }
}

// Creates every missing level of the destination, the highest first, and
// lets pending input run after each. False when the destination cannot be
// reached from any present level.
bool createDestination(Form1Window& form) {
  const std::string target = Trim(InstallDir);
  std::string working = target;
  std::size_t position = Len(target);
  while (!present(Trim(InstallDir))) {
    while (position > 0 && Mid(working, position, 1) != "\\") --position;
    // No level of the destination is present: the name does not lead to
    // a folder of the drive (for example D:Games).
    if (position == 0) return false;
    working = Left(working, position - 1);
    if (levelPresent(working)) {
      createLevel();
      InstallDir = target;
      working = target;
      position = Len(target);
      form.InstallDoEvents();
    } else {
      --position;
      InstallDir = working;
    }
  }
  return true;
}

}  // namespace

bool Form1Window::CheckInstallDir() {
  if (Trim(InstallDir).empty()) {
    ui::MsgBox(TranslateText("Please enter a directory to install ZOV Rededi Dirirozo."), kInformation,
               std::string("ZOV Rededi Dirirozo"));
    return false;
  }
  // The destination as the installer's ANSI calls receive it: a character
  // that the machine's code page lacks arrives as "?", which is refused
  // here, before anything is created.
  const std::string spelled = win32::textOf(win32::ansiOf(Trim(InstallDir)));
  if (spelled.find_first_of("*?<>\"|/") != std::string::npos) {
    ui::MsgBox(TranslateText("Folder name cannot contain any of the *,?,<, :, /, | characters. The directory name you've "
                             "entered :") +
                   vbCrLf + vbCrLf + spelled,
               kExclamation, std::string("ZOV"));
    return false;
  }
  if (Len(Trim(InstallDir)) < 4) InstallDir = runtime::Left(Trim(InstallDir), 1) + ":\\" + kProductFolder;

  const std::string root = Trim(runtime::Left(Trim(InstallDir), 1)) + ":\\";
  const std::string refusal = driveRefusal(win32::GetDriveTypeA(root), root);
  if (!refusal.empty()) {
    ui::MsgBox(refusal, kSystemModalExclamation, TranslateText("Driver"));
    return false;
  }

  findSameVersionDir();
  const std::string sameVersion = Trim(SameVersionDir);
  if (!sameVersion.empty() && PathExists(sameVersion, runtime::vbDirectory) && sameVersion != Trim(InstallDir)) {
    const int answer = ui::MsgBox(
        TranslateText("A version of ZOV Zuzuzu Rudavero 5 is already installed on your computer and now you are installing "
                      "again to another directory. It is recommended to install into the same directory with the "
                      "installed version or uninstall it before installing this one.") +
            vbCrLf + vbCrLf + TranslateText("Are you sure to install into this directory?"),
        kYesNoQuestion, std::string("ZOV Rededi Dirirozo"));
    if (answer == ui::vbNo) {
      InstallDir = sameVersion;
      Text2.Text = Trim(InstallDir);
      return false;
    }
  }

  const std::string target = Trim(InstallDir);
  try {
    if (!createDestination(*this)) {
      ui::MsgBox(TranslateText("Error: Directory name is not accepted. Please check the directory name entered : ") +
                     vbCrLf + vbCrLf + target,
                 kExclamation, std::string("ZOV"));
      return false;
    }
    // The destination must be a folder: when it names a file, creating the
    // folder fails and says so.
    if ((runtime::GetAttr(Trim(InstallDir)) & runtime::vbDirectory) == 0) createLevel();
  } catch (const CreationFailed& failed) {
    ui::MsgBox(TranslateText("Error: Could not create directory : ") + vbCrLf + vbCrLf + failed.level, kExclamation,
               std::string("ZOV"));
    return false;
  } catch (const RuntimeError&) {
    ui::MsgBox(TranslateText("Error: Directory name is not accepted. Please check the directory name entered : ") +
                   vbCrLf + vbCrLf + target,
               kExclamation, std::string("ZOV"));
    return false;
  }

  std::string earliest, version3, version4;
  try {
    earliest = Trim(olderVersionDir("Software\\Varnostik\\ZOV"));
    version3 = Trim(olderVersionDir("Software\\Varnostik\\ZOV2"));
    version4 = Trim(olderVersionDir("Software\\Varnostik\\ZOV3"));
  } catch (const RuntimeError&) {
    ui::MsgBox(TranslateText("Error in old version check!"), kExclamation, std::string("ZOV"));
    return false;
  }
  const std::string destination = Trim(InstallDir);
  if (earliest != destination && version3 != destination && version4 != destination) return true;

  if (!version4.empty() || !version3.empty()) {
    const char* const message =
        !version4.empty() ? "Version 4 of ZOV Rededi Dirirozo is installed in this folder. Please select another "
                            "directory to install the new version."
                          : "Version 3 of ZOV Rededi Dirirozo is installed in this folder. Please select another "
                            "directory to install the new version.";
    ui::MsgBox(TranslateText(message), kExclamation, std::string("ZOV Install"));
    Command4_Click();
    return false;
  }
  const int answer =
      ui::MsgBox(TranslateText("A previous version of ZOV Rededi Dirirozo is installed in this folder.") + vbCrLf + vbCrLf +
                     TranslateText("Please first uninstall the previous version or select another directory to install "
                                   "the new version.") +
                     vbCrLf + vbCrLf + TranslateText("Would you like to uninstall the previous version now?"),
                 kYesNoQuestion, std::string("ZOV Install"));
  if (answer == ui::vbYes) {
    runtime::IgnoreErrors([&] { runtime::Shell("\"" + earliest + "\\Uninstall ZOV.exe\"", kNormalFocus); });
  }
  return false;
}

}  // namespace zov
