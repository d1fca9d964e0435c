#include "script_host.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

#include "platform/machine/machine.h"
#include "platform/machine/windows_errors.h"
#include "platform/text/case_map.h"
#include "platform/win32/numbered_file.h"
#include "platform/win32/shell_link.h"

namespace zov::win32 {

namespace {

machine::Machine& host() { return machine::currentMachine(); }

constexpr const char* kShellClassId = "{72C24DD5-D70A-438B-8A42-98424B88AFB8}";

[[noreturn]] void automationError(const std::string& description) {
  throw runtime::RuntimeError(kAutomationException, description);
}

// The class id that the registry holds for a ProgID, or the empty text.
std::string classIdOf(const std::string& progId) {
  const auto* v = host().registry().value("HKEY_CLASSES_ROOT\\" + progId + "\\CLSID", "");
  if (!v || v->type != machine::kRegSz) return {};
  std::string id(v->data.begin(), v->data.end());
  return id.substr(0, id.find('\0'));
}

// "C:\Icons\App.exe, 2" -> "C:\Icons\App.exe" and 2; a text without a
// numeric tail after its last comma is a bare path with index 0.
void splitIconLocation(const std::string& location, std::string& path, std::int32_t& index) {
  path = location;
  index = 0;
  const auto comma = location.rfind(',');
  if (comma == std::string::npos) return;
  std::string tail = location.substr(comma + 1);
  tail.erase(0, tail.find_first_not_of(' '));
  tail.erase(tail.find_last_not_of(' ') + 1);
  const std::size_t digitsFrom = !tail.empty() && tail[0] == '-' ? 1 : 0;
  if (tail.size() == digitsFrom || tail.size() > 10 ||
      !std::all_of(tail.begin() + static_cast<std::ptrdiff_t>(digitsFrom), tail.end(),
                   [](char c) { return std::isdigit(static_cast<unsigned char>(c)); })) {
    return;
  }
  const long long n = std::stoll(tail);
  if (n < INT32_MIN || n > INT32_MAX) return;
  index = static_cast<std::int32_t>(n);
  path = location.substr(0, comma);
  path.erase(path.find_last_not_of(' ') + 1);
}

// The target as a full path, and what the link records of it and its volume.
void describeTarget(const std::string& target, ShellLink& link) {
  if (target.empty()) return;
  machine::WindowsPath path;
  if (host().files().parse(target, path) != machine::kErrorSuccess) return;
  link.targetPath = path.text();
  link.driveType = static_cast<std::uint32_t>(host().files().driveType(path.drive));
  link.volumeLabel = host().files().volumeLabel(path.drive);
  std::vector<machine::FoundEntry> found;
  if (host().files().find(link.targetPath, found) == machine::kErrorSuccess && found.size() == 1) {
    link.targetAttributes = found[0].attributes;
    link.targetSize = static_cast<std::uint32_t>(std::min<std::uint64_t>(found[0].size, UINT32_MAX));
  }
}

}  // namespace

std::shared_ptr<AutomationObject> CreateObject(const std::string& progId) {
  if (text::equalsNoCase(classIdOf(progId), kShellClassId)) return std::make_shared<WshShell>();
  runtime::Raise(runtime::kCannotCreateObject);
}

std::shared_ptr<WshShortcut> WshShell::CreateShortcut(const std::string& path) const {
  if (path.size() < 4 || !text::equalsNoCase(path.substr(path.size() - 4), ".lnk")) {
    automationError("The shortcut pathname must end with .lnk or .url.");
  }
  return std::make_shared<WshShortcut>(path);
}

std::string WshShell::SpecialFolders(const std::string& name) const {
  const auto& c = host().config();
  std::string folder;
  if (text::equalsNoCase(name, "Desktop")) folder = c.desktopFolder;
  else if (text::equalsNoCase(name, "Programs")) folder = c.programsFolder;
  else if (text::equalsNoCase(name, "MyDocuments")) folder = c.documentsFolder;
  if (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
  return folder;
}

void WshShortcut::Save() const {
  const std::string failed = "Unable to save shortcut \"" + fullName_ + "\".";
  ShellLink link;
  describeTarget(TargetPath, link);
  if (!TargetPath.empty() && link.targetPath.empty()) automationError(failed);
  link.arguments = Arguments;
  link.workingDirectory = WorkingDirectory;
  link.description = Description;
  splitIconLocation(IconLocation, link.iconLocation, link.iconIndex);
  link.showCommand = static_cast<std::uint32_t>(WindowStyle);
  const auto bytes = ShellLinkBytes(link, host().config().codePage);
  // The shortcut is written whole into a new file beside it, which then takes
  // its place in one step: a shortcut that is there holds its old content or
  // the new one, whatever cuts the save short (a kill, a full disk).
  const std::size_t slash = fullName_.rfind('\\');
  std::string written;
  std::uint32_t error = 0;
  if (!bytes || slash == std::string::npos ||
      CreateNumberedFile(fullName_.substr(0, slash + 1), "lnk", written, error) == 0) {
    automationError(failed);
  }
  auto& files = host().files();
  std::unique_ptr<machine::OpenFile> file;
  bool saved = files.openFile(written, machine::FileAccess::Write, machine::FileDisposition::OpenExisting,
                              machine::FileShare::DenyAll, file) == machine::kErrorSuccess &&
               file->write(0, bytes->data(), bytes->size()) == machine::kErrorSuccess;
  file.reset();
  saved = saved && files.moveFile(written, fullName_) == machine::kErrorSuccess;
  if (!saved) {
    files.deleteFile(written);
    automationError(failed);
  }
}

}  // namespace zov::win32
