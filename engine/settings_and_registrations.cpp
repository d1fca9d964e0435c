// The install routine's stage after the last payload slot: the per-user data
// folders on Vista and 7, the product's settings values, the uninstall
// entry, the project-file association, the AVIFile repair, the language value
// and the clean-up of the temporary folder.
#include <string>

#include "engine/avi_registry.h"
#include "engine/progress_steps.h"
#include "localisation/translate_text.h"
#include "platform/runtime/files.h"
#include "platform/runtime/runtime_error.h"
#include "platform/runtime/strings.h"
#include "platform/ui/backend.h"
#include "platform/win32/registry.h"
#include "services/path_exists.h"
#include "services/registry.h"
#include "services/shared_state.h"
#include "wizard/form1.h"

namespace zov {

namespace {

using runtime::Trim;
using runtime::vbCrLf;
using win32::HKEY_CLASSES_ROOT;
using win32::HKEY_LOCAL_MACHINE;

constexpr char kSettingsKey[] = "Software\\Zideruv\\ZOV4";
constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ZOVScreenRecorder5";
constexpr char kProjectExtension[] = ".qev";
constexpr char kProjectClass[] = "ZOV.KineloftProject";
constexpr char kWriteTestFile[] = "deneme_sil";
constexpr std::int32_t kSettingsVersion = 19;
constexpr std::int32_t kAbsent = -99;
constexpr int kExclamation = 48;
constexpr int kYesNoQuestion = 36;
constexpr win32::LONG kErrorFileNotFound = 2;

// A folder is there whatever its attributes: a hidden one is neither made
// anew nor made visible.
bool folderThere(const std::string& path) { return PathExists(path, kAnyAttribute); }

// Creates one folder level when it is not there; a refusal is seen by the
// caller's next look. A plain file of that name counts as there; a drive
// that cannot answer does not.
void makeFolder(const std::string& path) {
  if (!folderThere(path)) runtime::IgnoreErrors([&] { runtime::MkDir(path); });
}

void showFolderMessage(const std::string& userFolder) {
  ui::MsgBox(TranslateText("The following folder couldn't be created : ") + vbCrLf + vbCrLf + userFolder +
                 "\\Zideruv\\ZOV4" + vbCrLf + vbCrLf + TranslateText("Please create manually."),
             kExclamation, std::string("ZOV"));
}

// True when the classes root has a ".qev" key, looked up by name as the
// registry finds names (without case), however many keys stand beside it. A
// key that is there but cannot be opened counts as registered, so that the
// user is asked before it is replaced.
bool projectExtensionRegistered() {
  win32::HKEY key = 0;
  const win32::LONG opened = win32::RegOpenKeyA(HKEY_CLASSES_ROOT, kProjectExtension, key);
  if (opened == 0) win32::RegCloseKey(key);
  return opened != kErrorFileNotFound;
}

void setDefaultValue(const std::string& key, const std::string& text) {
  CreateRegKey(HKEY_CLASSES_ROOT, key, ForceRegistry);
  SetRegString(HKEY_CLASSES_ROOT, key, "", text, ForceRegistry);
}

// Vista and 7: a write test of each user folder, the settings folders below
// them, and "UserF.dat" naming the user folder in the install folder. A
// folder that fails the test is emptied, with its settings folder, for the
// rest of the run, so that the settings store leaves it alone.
void prepareUserFolders(Form1Window& form) {
  const std::string user = Trim(UserDir);
  if (!user.empty() && folderThere(user)) {
    if (form.WriteTextFile(user, kWriteTestFile, kWriteTestFile)) {
      form.DeleteFileIn(user, kWriteTestFile);
      makeFolder(user + "\\Zideruv");
      // Also said when the second level could not be made: the settings
      // folder is missing either way, and the message names it.
      if (!folderThere(user + "\\Zideruv")) {
        showFolderMessage(user);
      } else {
        makeFolder(user + "\\Zideruv\\ZOV4");
        if (!folderThere(user + "\\Zideruv\\ZOV4")) showFolderMessage(user);
      }
    } else {
      showFolderMessage(user);
      UserDir.clear();
      AppDataDir.clear();
    }
  }

  const std::string domainUser = Trim(DomainUserDir);
  if (!domainUser.empty() && folderThere(domainUser)) {
    if (form.WriteTextFile(domainUser, kWriteTestFile, kWriteTestFile)) {
      form.DeleteFileIn(domainUser, kWriteTestFile);
      makeFolder(domainUser + "\\Zideruv");
      makeFolder(domainUser + "\\Zideruv\\ZOV4");
    } else {
      DomainUserDir.clear();
      DomainAppDataDir.clear();
    }
  }

  if (Trim(AppDataDir).empty() && Trim(DomainAppDataDir).empty()) {
    ui::MsgBox(TranslateText("Error: Couldn't write to the user directory."), kExclamation,
               TranslateText("Rededi Dirirozo"));
  }
  // Nothing reads the file back, so a failure to write it is not reported.
  form.WriteTextFile(Trim(InstallDir), "UserF.dat", Trim(UserDir));
}

// The product's settings, with the upgrade rules that depend on the settings
// version stored by an earlier install (-99: none).
void writeProductSettings() {
  SetRegString(HKEY_LOCAL_MACHINE, kSettingsKey, "Dizin", Trim(InstallDir), 0);
  const std::int32_t oldVersion = GetRegDWord(HKEY_LOCAL_MACHINE, kSettingsKey, "Version", kAbsent, 0);
  if (oldVersion != kAbsent && oldVersion < 16 &&
      GetRegDWord(HKEY_LOCAL_MACHINE, kSettingsKey, "AutoCodec", kAbsent, 0) == kAbsent) {
    SetRegDWord(HKEY_LOCAL_MACHINE, kSettingsKey, "AutoCodec", 0, 0);
  }
  if (oldVersion != kAbsent && oldVersion < 17) SetRegDWord(HKEY_LOCAL_MACHINE, kSettingsKey, "InterfaceStyle", 1, 0);
  SetRegDWord(HKEY_LOCAL_MACHINE, kSettingsKey, "Version", kSettingsVersion, 0);
  SetRegDWord(HKEY_LOCAL_MACHINE, kSettingsKey, "IncCur", 1, 0);
  if (GetRegDWord(HKEY_LOCAL_MACHINE, kSettingsKey, "dwKFE", 0, 0) == 0) {
    SetRegDWord(HKEY_LOCAL_MACHINE, kSettingsKey, "dwKFE", 15, 0);
  }
  SetRegDWord(HKEY_LOCAL_MACHINE, kSettingsKey, "RecSnd", 1, 0);
  SetRegDWord(HKEY_LOCAL_MACHINE, kSettingsKey, "CapSpeed", 1, 0);
}

// Associates ".qev" with the product's main program; when another class
// owns the extension, only after the user agreed.
void associateProjectFiles(Form1Window& form) {
  form.Label11.Caption = TranslateText("'.qev' file type registry...");
  form.Label11.Refresh();
  if (projectExtensionRegistered() &&
      GetRegString(HKEY_CLASSES_ROOT, kProjectExtension, "", "", ForceRegistry) != kProjectClass &&
      ui::MsgBox(TranslateText("'.qev' file type is associated with another application. Would you like to associate "
                               "this file type with ZOV Kineloft Project file?"),
                 kYesNoQuestion, TranslateText("Rededi Dirirozo")) == ui::vbNo) {
    return;
  }
  const std::string program = Trim(InstallDir) + "\\" + Trim(ProgramName) + ".exe";
  const std::string projectClass = kProjectClass;
  setDefaultValue(kProjectExtension, projectClass);
  setDefaultValue(projectClass, "ZOV Kineloft Project File");
  setDefaultValue(projectClass + "\\shell\\open\\command", "\"" + program + "\" /kineloft %1");
  setDefaultValue(projectClass + "\\DefaultIcon", program + ",0");
}

}  // namespace

void Form1Window::WriteSettingsAndRegistrations(bool allFilesInstalled) {
  Label12.Caption = "";
  Label12.Refresh();
  Label11.Caption = TranslateText("Registry settings are being done...");
  Label11.Refresh();

  if (OsCode != 4) {
    CreateRegKey(HKEY_LOCAL_MACHINE, kSettingsKey, 0);
  } else {
    prepareUserFolders(*this);
  }
  writeProductSettings();

  CreateRegKey(HKEY_LOCAL_MACHINE, kUninstallKey, ForceRegistry);
  SetRegString(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName", "ZOV Zuzuzu Rudavero 5", ForceRegistry);
  SetRegString(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString",
               Trim(InstallDir) + "\\Uninstall Zuzuzu Rudavero 5.exe", ForceRegistry);

  associateProjectFiles(*this);

  if (!CheckAviRegistry() && !FixAviRegistry()) {
    ui::MsgBox(TranslateText("Couldn't fix AVI registry!"), kExclamation, std::string("ZOV Rededi Dirirozo"));
  }

  const std::int32_t percent = StepPercent(58);
  ShowProgress(percent);
  if (Combo1.ListIndex.get() > -1) SetRegDWord(HKEY_LOCAL_MACHINE, kSettingsKey, "Language", Combo1.ListIndex.get(), 0);
  DeleteTempFiles();

  const std::string installed =
      allFilesInstalled
          ? TranslateText("ZOV has been sucessfully installed into '") + Trim(InstallDir) + TranslateText("' directory.")
          : TranslateText("ZOV has not been installed completely into '") + Trim(InstallDir) +
                TranslateText("': some of its files could not be installed.");
  Label11.Caption = installed + vbCrLf + vbCrLf + TranslateText("Now creating shortcuts...");
}

}  // namespace zov
