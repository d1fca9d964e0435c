// The user and settings folders on Windows Vista and 7: the Local AppData
// known folder, or the profile folder of the user name (and of the user's
// domain account), or a last-resort folder below Program Files.
#include "localisation/translate_text.h"
#include "platform/runtime/app.h"
#include "platform/runtime/files.h"
#include "platform/runtime/runtime_error.h"
#include "platform/runtime/strings.h"
#include "platform/ui/backend.h"
#include "platform/win32/kernel.h"
#include "platform/win32/types.h"
#include "services/attributes.h"
#include "services/path_exists.h"
#include "services/shared_state.h"
#include "services/shell_folders.h"
#include "wizard/form1.h"

namespace zov {

using runtime::Trim;

namespace {

const char* const kTitle = "ZOV Rededi Dirirozo";

// The system folder's path as GetSystemDirectoryA leaves it in a blank buffer.
std::string systemFolder() {
  std::string buffer = runtime::Space(256);
  win32::GetSystemDirectoryA(buffer, 256);
  return Trim(buffer);
}

// Makes a folder visible and writable, saying so when an attribute stays.
void clearFolderAttributes(const std::string& folder) {
  const std::string path = Trim(folder);
  if (ClearHiddenAttr(path)) {
    ui::MsgBox(TranslateText("The following folder is hidden and couldn't change its attribute to visible. You "
                             "should do it manually.") +
                   runtime::vbCrLf + runtime::vbCrLf + path,
               48, kTitle);
  }
  if (ClearReadOnlyAttr(path)) {
    ui::MsgBox(TranslateText("The following folder is readonly and couldn't change its attribute. You should do it "
                             "manually.") +
                   runtime::vbCrLf + runtime::vbCrLf + path,
               48, kTitle);
  }
}

// The profile's local-data folder of a user on the system drive.
std::string localDataOf(const std::string& drive, const std::string& user) {
  return drive + ":\\Users\\" + user + "\\AppData\\Local";
}

// The user name in a path like C:\Users\<name>\AppData\Roaming\..., which holds "\Users\".
std::string userOfProfilePath(const std::string& path) {
  const std::size_t start = runtime::InStr(path, "\\Users\\") + 7;
  const std::size_t end = runtime::InStr(path, "\\", start);
  return end == 0 ? runtime::Mid(path, start) : runtime::Mid(path, start, end - start);
}

}  // namespace

std::int32_t Form1Window::MakeConfFolder() {
  const std::string drive = runtime::Left(systemFolder(), 2);
  const std::string base = drive + "\\Program Files\\ZOVConf";
  try {
    for (const std::string& level :
         {drive + "\\Program Files", base, base + "\\Zideruv", base + "\\Zideruv\\ZOV4"}) {
      // A level that is there counts whatever its attributes, as on the known-folder road.
      if (!PathExists(level, kAnyAttribute)) runtime::MkDir(level);
      runtime::DoEvents();
    }
  } catch (const runtime::RuntimeError&) {
    return -1;
  }
  if (!PathExists(base + "\\Zideruv\\ZOV4", kAnyAttribute)) return -1;
  UserDir = base;
  AppDataDir = Trim(UserDir) + "\\Zideruv\\ZOV4";
  return 0;
}

void Form1Window::FindUserFolders() {
  const std::string drive = runtime::Left(systemFolder(), 1);
  UserDir = GetUserFolder(2);

  if (!Trim(UserDir).empty() && PathExists(UserDir, kAnyAttribute)) {
    // The known folder: make it and the product's folders usable; nothing is created here.
    if (runtime::Right(Trim(UserDir), 1) == "\\") UserDir = runtime::Left(Trim(UserDir), runtime::Len(Trim(UserDir)) - 1);
    clearFolderAttributes(UserDir);
    clearFolderAttributes(Trim(UserDir) + "\\Zideruv");
    AppDataDir = Trim(UserDir) + "\\Zideruv\\ZOV4";
    clearFolderAttributes(AppDataDir);
    return;
  }

  auto lastResort = [this] {
    if (MakeConfFolder() == -1) {
      ui::MsgBox(TranslateText("Error: Couldn't find the user folder and couldn't create one! Quiting installation."),
                 48, kTitle);
      runtime::End();
    }
  };

  std::string buffer = runtime::Space(256);
  win32::DWORD size = 256;
  if (win32::GetUserNameA(buffer, size) == 0) {
    UserDir.clear();
    lastResort();
    return;
  }
  std::string user = Trim(buffer);
  if (runtime::Right(user, 1) == std::string(1, '\0')) user = runtime::Left(user, runtime::Len(user) - 1);
  UserDir = localDataOf(drive, user);
  AppDataDir = Trim(UserDir) + "\\Zideruv\\ZOV4";

  // The profile of the user's domain account, when it has one on this machine.
  std::string sid(256, '\0');
  std::string domainBuffer(256, '\0');
  win32::DWORD sidSize = 256, domainSize = 256, use = 0;
  std::string domain;
  if (win32::LookupAccountNameA("", user, sid, sidSize, domainBuffer, domainSize, use) == 0) {
    DomainUserDir.clear();
  } else {
    const std::size_t nul = domainBuffer.find('\0');
    domain = nul == std::string::npos ? Trim(domainBuffer) : domainBuffer.substr(0, nul);
    DomainUserDir = localDataOf(drive, user + "." + Trim(domain));
    if (!Trim(DomainUserDir).empty() && PathExists(DomainUserDir, kAnyAttribute)) {
      DomainAppDataDir = Trim(DomainUserDir) + "\\Zideruv\\ZOV4";
    } else {
      DomainUserDir.clear();
      DomainAppDataDir.clear();
    }
  }

  // A profile folder named unlike the account: take the name from the Programs menu's path.
  if (!PathExists(UserDir, kAnyAttribute)) {
    const std::string programs = Trim(GetSpecialFolderPath(win32::CSIDL_PROGRAMS));
    if (!programs.empty() && runtime::InStr(programs, "\\Users\\") != 0) {
      UserDir = localDataOf(drive, userOfProfilePath(programs));
      AppDataDir = Trim(UserDir) + "\\Zideruv\\ZOV4";
    }
  }

  if (!PathExists(UserDir, kAnyAttribute)) {
    UserDir.clear();
    AppDataDir.clear();
    if (Trim(DomainUserDir).empty() || Trim(domain).empty() || !PathExists(DomainUserDir, kAnyAttribute)) lastResort();
  }
}

}  // namespace zov
