#include "services/registry.h"

#include <array>
#include <set>

#include "localisation/contact_addresses.h"
#include "localisation/translate_text.h"
#include "platform/machine/machine.h"
#include "platform/runtime/files.h"
#include "platform/runtime/runtime_error.h"
#include "platform/runtime/strings.h"
#include "platform/text/ansi.h"
#include "platform/ui/backend.h"
#include "platform/win32/kernel.h"
#include "platform/win32/registry.h"
#include "services/attributes.h"
#include "services/new_file_beside.h"
#include "services/path_exists.h"
#include "services/shared_state.h"

namespace zov {

namespace {

using runtime::RuntimeError;
using runtime::Trim;

constexpr int kExclamation = 48;
// Hidden, system and archive: a value file is found whatever its attributes.
constexpr int kAnyFile = runtime::vbHidden | runtime::vbSystem | runtime::vbArchive;
constexpr std::size_t kMaxSubkeys = 1024;
constexpr win32::DWORD kSubkeyBufferSize = 255;
constexpr std::int16_t kNoSubkeyList = -2;

int codePage() { return machine::currentMachine().config().codePage; }

// The settings files stand in for the registry on Vista/7 unless the caller forces the registry.
bool usesSettingsFolders(std::int32_t flag) { return flag != ForceRegistry && OsCode == 4; }

// A settings folder counts when its trimmed path lists as a directory,
// hidden and system ones too: the value files clear the folder's attributes
// themselves, and a folder that is there must not lose its values.
bool folderPresent(const std::string& folder) {
  const std::string f = Trim(folder);
  return !f.empty() && !runtime::Dir(f, kAnyAttribute).empty();
}

std::string errorText(const RuntimeError& e) { return std::to_string(e.number()) + " " + e.description(); }

// The last line of the settings files' error boxes.
std::string supportLine() { return TranslateText(SupportLine()); }

// The run-time error of the kernel call that failed last.
[[noreturn]] void raiseLastError() { runtime::Raise(runtime::ErrorNumberOf(win32::GetLastError())); }

void clearFileAttributes(const std::string& folder, const std::string& path) {
  ClearHiddenAttr(folder);
  ClearHiddenAttr(path);
  ClearReadOnlyAttr(folder);
  ClearReadOnlyAttr(path);
}

// The number held by a value file: an optional sign and decimal digits, as
// SetRegDWord writes them. Any other text (empty, blanks or separators
// inside, fractions, hexadecimal) is a type mismatch; a number beyond 32
// bits is an overflow.
std::int32_t numberOf(const std::string& text) {
  std::size_t i = 0;
  const bool negative = !text.empty() && text[0] == '-';
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) ++i;
  if (i == text.size()) runtime::Raise(runtime::kTypeMismatch);
  std::int64_t magnitude = 0;
  bool tooLarge = false;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') runtime::Raise(runtime::kTypeMismatch);
    if (!tooLarge) magnitude = magnitude * 10 + (text[i] - '0');
    tooLarge = tooLarge || magnitude > 2147483648LL;
  }
  const std::int64_t value = negative ? -magnitude : magnitude;
  if (tooLarge || value > 2147483647LL) runtime::Raise(runtime::kOverflow);
  return static_cast<std::int32_t>(value);
}

// One item of a value file: a line. An item that begins with a double quote
// runs to the next one and loses both quotes; what follows the closing quote
// stays. A comma is part of the item, so a folder such as "C:\A, B" reads
// back as it was written.
std::string lineItem(const std::string& line) {
  const std::string item = Trim(line);
  if (item.empty() || item[0] != '"') return item;
  const auto close = item.find('"', 1);
  if (close == std::string::npos) return item.substr(1);
  return item.substr(1, close - 1) + item.substr(close + 1);
}

// The items of the open value file, joined as ReadConf gives them.
std::string readItems(int fileNumber) {
  std::string value;
  while (!runtime::Eof(fileNumber)) value = Trim(value) + Trim(lineItem(runtime::LineInput(fileNumber)));
  return Trim(value);
}

// True when the value file `name` in `folder` holds `data`, read silently.
bool valueFileHolds(const std::string& folder, const std::string& name, const std::string& data) {
  int fileNumber = 0;
  bool holds = false;
  runtime::IgnoreErrors([&] {
    const std::string path = Trim(folder) + "\\" + Trim(name);
    if (runtime::Dir(path, kAnyFile).empty()) return;
    fileNumber = runtime::FreeFile();
    runtime::Open(path, runtime::OpenMode::Input, fileNumber);
    holds = readItems(fileNumber) == Trim(data);
  });
  if (fileNumber) runtime::IgnoreErrors([&] { runtime::Close(fileNumber); });
  return holds;
}

// True when every settings folder that is there, and at least one is, holds `data` as the value.
bool settingsFoldersHold(const std::string& valueName, const std::string& data) {
  bool anyFolder = false;
  for (const std::string* folder : {&AppDataDir, &DomainAppDataDir}) {
    if (!folderPresent(*folder)) continue;
    anyFolder = true;
    if (!valueFileHolds(*folder, valueName, data)) return false;
  }
  return anyFolder;
}

// True when the registry value is of `type` and holds exactly these bytes.
bool registryValueHolds(win32::HKEY root, const std::string& subKey, const std::string& valueName, win32::DWORD type,
                        const std::string& bytes) {
  win32::HKEY key = 0;
  if (win32::RegOpenKeyA(root, subKey, key) != 0) return false;
  win32::DWORD storedType = 0;
  win32::DWORD size = 0;
  bool holds = false;
  if (win32::RegQueryValueExA(key, valueName, &storedType, nullptr, &size) == 0 && storedType == type &&
      size == bytes.size()) {
    std::string stored(size, '\0');
    holds = win32::RegQueryValueExA(key, valueName, &storedType, stored.data(), &size) == 0 && stored == bytes;
  }
  win32::RegCloseKey(key);
  return holds;
}

std::string dwordBytes(std::int32_t data) {
  const auto bits = static_cast<std::uint32_t>(data);
  return {static_cast<char>(bits & 0xFF), static_cast<char>(bits >> 8 & 0xFF), static_cast<char>(bits >> 16 & 0xFF),
          static_cast<char>(bits >> 24 & 0xFF)};
}

std::string registryString(win32::HKEY root, const std::string& subKey, const std::string& valueName,
                           const std::string& defaultValue) {
  std::string result = defaultValue;
  win32::HKEY key = 0;
  win32::RegOpenKeyA(root, subKey, key);
  win32::DWORD type = 0;
  win32::DWORD size = 0;
  if (win32::RegQueryValueExA(key, valueName, &type, nullptr, &size) == 0 && type == win32::REG_SZ) {
    std::string data(size, ' ');
    if (win32::RegQueryValueExA(key, valueName, &type, data.data(), &size) == 0) {
      data.resize(size);
      result = text::fromAnsi(data.substr(0, data.find('\0')), codePage());
    }
  }
  win32::RegCloseKey(key);
  return result;
}

std::int32_t registryNumber(win32::HKEY root, const std::string& subKey, const std::string& valueName,
                            std::int32_t defaultValue) {
  std::int32_t result = defaultValue;
  win32::HKEY key = 0;
  win32::RegOpenKeyA(root, subKey, key);
  win32::DWORD type = 0;
  std::array<std::uint8_t, 4> data{};
  win32::DWORD size = static_cast<win32::DWORD>(data.size());
  if (win32::RegQueryValueExA(key, valueName, &type, data.data(), &size) == 0 && type == win32::REG_DWORD) {
    result = static_cast<std::int32_t>(static_cast<std::uint32_t>(data[0]) | static_cast<std::uint32_t>(data[1]) << 8 |
                                       static_cast<std::uint32_t>(data[2]) << 16 |
                                       static_cast<std::uint32_t>(data[3]) << 24);
  }
  win32::RegCloseKey(key);
  return result;
}

void setRegistryValue(win32::HKEY root, const std::string& subKey, const std::string& valueName, win32::DWORD type,
                      const void* data, win32::DWORD size) {
  win32::HKEY key = 0;
  win32::RegCreateKeyA(root, subKey, key);
  win32::RegSetValueExA(key, valueName, type, data, size);
  win32::RegCloseKey(key);
}

// Deletes every file of one settings folder, hidden and system ones too,
// then the folder. Once the first deletion has been tried, run-time errors
// are ignored (`ignoring`), for this folder and the next. A file that cannot
// be deleted is passed over, so the listing moves on instead of finding it
// again for ever.
void deleteSettingsFolder(const std::string& folder, bool& ignoring) {
  auto run = [&](auto&& statement) {
    if (ignoring) runtime::IgnoreErrors(statement);
    else statement();
  };
  bool present = false;
  run([&] { present = folderPresent(folder); });
  if (!present) return;
  const std::string dir = Trim(folder);
  const std::string pattern = dir + "\\*.*";
  std::set<std::string> undeletable;
  std::string file;
  run([&] { file = runtime::Dir(pattern); });
  while (!file.empty()) {
    const std::string path = dir + "\\" + file;
    clearFileAttributes(dir, path);
    ignoring = true;
    if (!runtime::IgnoreErrors([&] { runtime::Kill(path); })) undeletable.insert(file);
    file.clear();
    runtime::IgnoreErrors([&] {
      file = runtime::Dir(pattern, kAnyFile);
      while (undeletable.count(file)) file = runtime::Dir();
    });
  }
  run([&] { runtime::RmDir(dir); });
}

}  // namespace

void CreateRegKey(win32::HKEY root, const std::string& subKey, std::int32_t flag) {
  if (usesSettingsFolders(flag)) return;
  win32::HKEY key = 0;
  win32::RegCreateKeyA(root, subKey, key);
  win32::RegCloseKey(key);
}

void DeleteRegKey(win32::HKEY root, const std::string& subKey, std::int32_t flag) {
  if (!usesSettingsFolders(flag)) {
    win32::RegDeleteKeyA(root, subKey);
    return;
  }
  bool ignoring = false;
  deleteSettingsFolder(AppDataDir, ignoring);
  deleteSettingsFolder(DomainAppDataDir, ignoring);
}

void DeleteRegValue(win32::HKEY root, const std::string& subKey, const std::string& valueName, std::int32_t flag) {
  if (!usesSettingsFolders(flag)) {
    win32::HKEY key = 0;
    win32::RegOpenKeyA(root, subKey, key);
    win32::RegDeleteValueA(key, valueName);
    win32::RegCloseKey(key);
    return;
  }
  for (const std::string* folder : {&AppDataDir, &DomainAppDataDir}) {
    if (folderPresent(*folder)) DeleteConf(*folder, valueName);
  }
}

std::string GetRegString(win32::HKEY root, const std::string& subKey, const std::string& valueName,
                         const std::string& defaultValue, std::int32_t flag) {
  std::string result = defaultValue;
  try {
    if (!usesSettingsFolders(flag)) return registryString(root, subKey, valueName, defaultValue);
    result.clear();
    if (folderPresent(AppDataDir)) result = ReadConf(AppDataDir, valueName, defaultValue);
    if (folderPresent(DomainAppDataDir) && Trim(result).empty()) result = ReadConf(DomainAppDataDir, valueName, defaultValue);
  } catch (const RuntimeError& e) {
    ui::MsgBox("Error : 8-" + errorText(e), 0);
  }
  return result;
}

void SetRegString(win32::HKEY root, const std::string& subKey, const std::string& valueName, const std::string& data,
                  std::int32_t flag) {
  if (!usesSettingsFolders(flag)) {
    const std::string ansi = text::toAnsi(data, codePage());
    setRegistryValue(root, subKey, valueName, win32::REG_SZ, ansi.data(), static_cast<win32::DWORD>(ansi.size()));
    return;
  }
  for (const std::string* folder : {&AppDataDir, &DomainAppDataDir}) {
    if (folderPresent(*folder)) WriteConf(*folder, valueName, data);
  }
}

std::int32_t GetRegDWord(win32::HKEY root, const std::string& subKey, const std::string& valueName,
                         std::int32_t defaultValue, std::int32_t flag) {
  std::int32_t result = defaultValue;
  try {
    if (!usesSettingsFolders(flag)) return registryNumber(root, subKey, valueName, defaultValue);
    result = 0;
    const std::string fallback = std::to_string(defaultValue);
    // Folder 2, when present, decides: its missing file gives the default even over folder 1's value.
    if (folderPresent(AppDataDir)) result = numberOf(ReadConf(AppDataDir, valueName, fallback));
    if (folderPresent(DomainAppDataDir)) result = numberOf(ReadConf(DomainAppDataDir, valueName, fallback));
  } catch (const RuntimeError& e) {
    ui::MsgBox("Error : 5-" + errorText(e), 0);
  }
  return result;
}

void SetRegDWord(win32::HKEY root, const std::string& subKey, const std::string& valueName, std::int32_t data,
                 std::int32_t flag) {
  try {
    if (!usesSettingsFolders(flag)) {
      const std::string bytes = dwordBytes(data);
      setRegistryValue(root, subKey, valueName, win32::REG_DWORD, bytes.data(), static_cast<win32::DWORD>(bytes.size()));
      return;
    }
    for (const std::string* folder : {&AppDataDir, &DomainAppDataDir}) {
      if (folderPresent(*folder)) WriteConf(*folder, valueName, std::to_string(data));
    }
  } catch (const RuntimeError& e) {
    ui::MsgBox("Error : 6-" + errorText(e), 0);
  }
}

bool RegStringHolds(win32::HKEY root, const std::string& subKey, const std::string& valueName, const std::string& data,
                    std::int32_t flag) {
  if (usesSettingsFolders(flag)) return settingsFoldersHold(valueName, data);
  return registryValueHolds(root, subKey, valueName, win32::REG_SZ, text::toAnsi(data, codePage()));
}

bool RegDWordHolds(win32::HKEY root, const std::string& subKey, const std::string& valueName, std::int32_t data,
                   std::int32_t flag) {
  if (usesSettingsFolders(flag)) return settingsFoldersHold(valueName, std::to_string(data));
  return registryValueHolds(root, subKey, valueName, win32::REG_DWORD, dwordBytes(data));
}

SubkeyList EnumRegKeys(win32::HKEY root, const std::string& subKey) {
  try {
    win32::HKEY key = 0;
    win32::RegOpenKeyA(root, subKey, key);
    std::vector<std::string> names;
    for (win32::DWORD index = 0;; ++index) {
      std::string buffer(kSubkeyBufferSize, '\0');
      if (win32::RegEnumKeyA(key, index, buffer, kSubkeyBufferSize) != 0) {
        win32::RegCloseKey(key);
        if (index == 0) return kNoSubkeyList;
        return names;
      }
      names.push_back(buffer.substr(0, buffer.find('\0')));
      if (names.size() > kMaxSubkeys) {
        win32::RegCloseKey(key);
        return kNoSubkeyList;
      }
    }
  } catch (const RuntimeError& e) {
    ui::MsgBox("Error : 7-" + errorText(e), 0);
    return std::monostate{};
  }
}

std::string ReadConf(const std::string& folder, const std::string& name, const std::string& defaultValue) {
  int fileNumber = 0;
  try {
    fileNumber = runtime::FreeFile();
    const std::string dir = Trim(folder);
    const std::string file = Trim(name);
    if (file.empty() || dir.empty()) return defaultValue;
    const std::string path = dir + "\\" + file;
    if (runtime::Dir(path, kAnyFile).empty()) return defaultValue;
    clearFileAttributes(dir, path);
    runtime::Open(path, runtime::OpenMode::Input, fileNumber);
    const std::string value = readItems(fileNumber);
    runtime::Close(fileNumber);
    return value;
  } catch (const RuntimeError& e) {
    runtime::Close(fileNumber);
    ui::MsgBox("Error in ReadConf : " + std::to_string(e.number()) + ": " + e.description() + runtime::vbCrLf +
                   runtime::vbCrLf + supportLine(),
               kExclamation);
    return {};
  }
}

bool WriteConf(const std::string& folder, const std::string& name, const std::string& data) {
  int fileNumber = 0;
  std::string written;  // the new file, until it has taken the value file's place
  try {
    fileNumber = runtime::FreeFile();
    const std::string dir = Trim(folder);
    const std::string file = Trim(name);
    if (dir.empty() || file.empty()) return false;
    const std::string path = dir + "\\" + file;
    clearFileAttributes(dir, path);
    // The value goes whole into a new file beside the value file, which then
    // takes its place in one step: a reader (another installer too), a kill
    // or a full disk meets the old value or the new one, never a part.
    written = NewFileBeside(path);
    if (written.empty()) raiseLastError();
    runtime::Open(written, runtime::OpenMode::Output, fileNumber);
    runtime::PrintLine(fileNumber, data);
    runtime::Close(fileNumber);
    if (!win32::MoveFileExA(written, path, win32::MOVEFILE_REPLACE_EXISTING | win32::MOVEFILE_WRITE_THROUGH)) {
      raiseLastError();
    }
    return true;
  } catch (const RuntimeError& e) {
    runtime::Close(fileNumber);
    if (!written.empty()) runtime::IgnoreErrors([&] { runtime::Kill(written); });
    ui::MsgBox("Error in WriteConf : " + std::to_string(e.number()) + ": " + e.description() + runtime::vbCrLf +
                   runtime::vbCrLf + Trim(folder) + " - " + Trim(name) + " - " + Trim(data) + runtime::vbCrLf +
                   runtime::vbCrLf + supportLine(),
               kExclamation);
    return false;
  }
}

void DeleteConf(const std::string& folder, const std::string& name) {
  try {
    const std::string dir = Trim(folder);
    const std::string file = Trim(name);
    if (file.empty() || dir.empty()) return;
    const std::string path = dir + "\\" + file;
    if (runtime::Dir(path, kAnyFile).empty()) return;
    clearFileAttributes(dir, path);
    runtime::Kill(path);
  } catch (const RuntimeError& e) {
    ui::MsgBox("Error in DeleteConf : " + std::to_string(e.number()) + ": " + e.description() + runtime::vbCrLf +
                   runtime::vbCrLf + supportLine(),
               kExclamation);
  }
}

}  // namespace zov
