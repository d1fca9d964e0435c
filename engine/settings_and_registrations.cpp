// The install routine's stage after the last payload slot: the per-user data
// folders on Vista and 7, the product's settings values, the uninstall
// entry, the project-file association, the AVIFile repair, the language value
// and the clean-up of the temporary folder.
#include <string>

#include "engine/avi_registry.h"
#include "engine/install_account.h"
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
constexpr win32::LONG kErrorSuccess = 0;

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

// True when the classes root has a ".qev" key that names a class, looked
// up by name as the registry finds names (without case), however many keys
// stand beside it. A key without a class (no default value, or an empty
// one, as a run killed between the key and its class leaves it) names
// none. A key that is there but cannot be opened or read counts as naming
// one, so that the user is asked before it is replaced.
bool projectExtensionRegistered() {
  win32::HKEY key = 0;
  const win32::LONG opened = win32::RegOpenKeyA(HKEY_CLASSES_ROOT, kProjectExtension, key);
  if (opened == kErrorFileNotFound) return false;
  if (opened != kErrorSuccess) return true;
  win32::DWORD type = 0;
  win32::DWORD size = 0;
  bool named = win32::RegQueryValueExA(key, "", &type, nullptr, &size) != kErrorFileNotFound;
  if (named) {
    // The class is the text up to the first NUL.
    std::string data(size, '\0');
    named = win32::RegQueryValueExA(key, "", &type, data.data(), &size) != kErrorSuccess ||
            (size > 0 && data[0] != '\0');
  }
  win32::RegCloseKey(key);
  return named;
}

// Writes a text value; true when it reads back.
bool setText(win32::HKEY root, const std::string& key, const std::string& name, const std::string& data,
             std::int32_t flag) {
  SetRegString(root, key, name, data, flag);
  return RegStringHolds(root, key, name, data, flag);
}

// Sets a key's default value; true when it reads back.
bool setDefaultValue(const std::string& key, const std::string& text) {
  CreateRegKey(HKEY_CLASSES_ROOT, key, ForceRegistry);
  return setText(HKEY_CLASSES_ROOT, key, "", text, ForceRegistry);
}

// Vista and 7: a write test of each user folder, the settings folders below
// them, and "UserF.dat" naming the user folder in the install folder. A
// folder that fails the test is emptied, with its settings folder, for the
// rest of the run, so that the settings store leaves it alone.
void prepareUserFolders(Form1Window& form, InstallAccount& account) {
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
  // Nothing reads the file back, so a failure to write it shows no box; the
  // finish says that files are missing.
  if (!form.WriteTextFile(Trim(InstallDir), "UserF.dat", Trim(UserDir))) account.OtherFiles = false;
}

// One product setting, accounted for when it reads back.
void storeText(InstallAccount& account, const char* name, const std::string& data) {
  if (!setText(HKEY_LOCAL_MACHINE, kSettingsKey, name, data, 0)) account.Settings = false;
}

void storeNumber(InstallAccount& account, const char* name, std::int32_t data) {
  SetRegDWord(HKEY_LOCAL_MACHINE, kSettingsKey, name, data, 0);
  if (!RegDWordHolds(HKEY_LOCAL_MACHINE, kSettingsKey, name, data, 0)) account.Settings = false;
}

// The product's settings, with the upgrade rules that depend on the settings
// version stored by an earlier install (-99: none).
void writeProductSettings(InstallAccount& account) {
  storeText(account, "Dizin", Trim(InstallDir));
  const std::int32_t oldVersion = GetRegDWord(HKEY_LOCAL_MACHINE, kSettingsKey, "Version", kAbsent, 0);
  if (oldVersion != kAbsent && oldVersion < 16 &&
      GetRegDWord(HKEY_LOCAL_MACHINE, kSettingsKey, "AutoCodec", kAbsent, 0) == kAbsent) {
    storeNumber(account, "AutoCodec", 0);
  }
  if (oldVersion != kAbsent && oldVersion < 17) storeNumber(account, "InterfaceStyle", 1);
  storeNumber(account, "Version", kSettingsVersion);
  storeNumber(account, "IncCur", 1);
  if (GetRegDWord(HKEY_LOCAL_MACHINE, kSettingsKey, "dwKFE", 0, 0) == 0) storeNumber(account, "dwKFE", 15);
  storeNumber(account, "RecSnd", 1);
  storeNumber(account, "CapSpeed", 1);
}

void writeUninstallEntry(InstallAccount& account) {
  const std::string uninstaller = Trim(InstallDir) + "\\Uninstall Zuzuzu Rudavero 5.exe";
  CreateRegKey(HKEY_LOCAL_MACHINE, kUninstallKey, ForceRegistry);
  // Both values are written whatever the first achieved.
  bool made = setText(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName", "ZOV Zuzuzu Rudavero 5", ForceRegistry);
  made = setText(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString", uninstaller, ForceRegistry) && made;
  if (!made) account.Registrations = false;
}

// Associates ".qev" with the product's main program; when another class
// owns the extension, only after the user agreed. An association the user
// declined is not missing.
void associateProjectFiles(Form1Window& form, InstallAccount& account) {
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
  // Each key is written whatever the one before it achieved.
  bool made = setDefaultValue(kProjectExtension, projectClass);
  made = setDefaultValue(projectClass, "ZOV Kineloft Project File") && made;
  made = setDefaultValue(projectClass + "\\shell\\open\\command", "\"" + program + "\" /kineloft %1") && made;
  made = setDefaultValue(projectClass + "\\DefaultIcon", program + ",0") && made;
  if (!made) account.Registrations = false;
}

}  // namespace

void Form1Window::WriteSettingsAndRegistrations(InstallAccount& account) {
  Label12.Caption = "";
  Label12.Refresh();
  Label11.Caption = TranslateText("Registry settings are being done...");
  Label11.Refresh();

  if (OsCode != 4) {
    CreateRegKey(HKEY_LOCAL_MACHINE, kSettingsKey, 0);
  } else {
    prepareUserFolders(*this, account);
  }
  writeProductSettings(account);
  writeUninstallEntry(account);
  associateProjectFiles(*this, account);

  if (!CheckAviRegistry() && !FixAviRegistry()) {
    ui::MsgBox(TranslateText("Couldn't fix AVI registry!"), kExclamation, std::string("ZOV Rededi Dirirozo"));
  }

  const std::int32_t percent = StepPercent(58);
  ShowProgress(percent);
  if (Combo1.ListIndex.get() > -1) storeNumber(account, "Language", Combo1.ListIndex.get());
  DeleteTempFiles();
  Label11.Caption = InstalledStatusLine(account, Trim(InstallDir));
}

}  // namespace zov
