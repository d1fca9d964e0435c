#include "files.h"

#include <map>
#include <memory>

#include "platform/machine/machine.h"
#include "platform/machine/windows_errors.h"
#include "platform/runtime/runtime_error.h"
#include "platform/runtime/strings.h"
#include "platform/text/ansi.h"

namespace zov::runtime {

namespace m = zov::machine;

namespace {

m::FileSystem& files() { return m::currentMachine().files(); }
int codePage() { return m::currentMachine().config().codePage; }

void check(std::uint32_t error) {
  if (error != m::kErrorSuccess) Raise(ErrorNumberOf(error));
}

struct Listing {
  std::vector<std::string> names;
  std::size_t next = 0;
};
Listing& listing() {
  static Listing l;
  return l;
}

struct OpenNumber {
  std::unique_ptr<m::OpenFile> file;
  OpenMode mode;
  std::uint64_t position = 0;  // 0-based, for text access
};
std::map<int, OpenNumber>& numbers() {
  static std::map<int, OpenNumber> n;
  return n;
}

OpenNumber& opened(int fileNumber) {
  const auto it = numbers().find(fileNumber);
  if (it == numbers().end()) Raise(kBadFileNameOrNumber);
  return it->second;
}

bool included(std::uint32_t entryAttributes, int mask) {
  const std::uint32_t special = entryAttributes & (vbHidden | vbSystem | vbDirectory);
  return (special & ~static_cast<std::uint32_t>(mask)) == 0;
}

// Reads one byte of a text file; -1 at the end.
int readByte(OpenNumber& f) {
  unsigned char c = 0;
  std::size_t got = 0;
  check(f.file->read(f.position, &c, 1, got));
  if (got == 0) return -1;
  ++f.position;
  return c;
}

int peekByte(OpenNumber& f) {
  const int c = readByte(f);
  if (c >= 0) --f.position;
  return c;
}

}  // namespace

int ErrorNumberOf(std::uint32_t e) {
  switch (e) {
    case m::kErrorFileNotFound: return kFileNotFound;
    case m::kErrorPathNotFound: return kPathNotFound;
    case m::kErrorTooManyOpenFiles: return kTooManyFiles;
    case m::kErrorInvalidDrive: return kDeviceUnavailable;
    case m::kErrorNotReady: return kDiskNotReady;
    case m::kErrorSharingViolation: return kPermissionDenied;
    case m::kErrorDiskFull: return kDiskFull;
    case m::kErrorInvalidName: return kBadFileNameOrNumber;
    case m::kErrorNotEnoughMemory: return kOutOfMemory;
    default: return kPathFileAccessError;
  }
}

std::string Dir(std::string_view path, int attributes) {
  Listing& l = listing();
  l = {};
  if (path.empty()) return {};
  std::vector<m::FoundEntry> found;
  const std::uint32_t e = files().find(path, found);
  if (e == m::kErrorInvalidName || e == m::kErrorNotReady || e == m::kErrorInvalidDrive) check(e);
  for (const auto& entry : found) {
    if (included(entry.attributes, attributes)) l.names.push_back(entry.name);
  }
  return Dir();
}

std::string Dir() {
  Listing& l = listing();
  return l.next < l.names.size() ? l.names[l.next++] : std::string();
}

void Kill(std::string_view pattern) {
  std::vector<m::FoundEntry> found;
  const std::uint32_t e = files().find(pattern, found);
  if (e == m::kErrorPathNotFound) Raise(kFileNotFound);
  if (e != m::kErrorFileNotFound) check(e);
  m::WindowsPath parsed;
  check(files().parse(pattern, parsed, true));
  const bool listsFolder = !pattern.empty() && pattern.back() == '\\';
  const std::string folder = (listsFolder ? parsed : parsed.parent()).text();
  bool deleted = false;
  for (const auto& entry : found) {
    if (!included(entry.attributes, vbNormal)) continue;
    check(files().deleteFile(folder.back() == '\\' ? folder + entry.name : folder + "\\" + entry.name));
    deleted = true;
  }
  if (!deleted) Raise(kFileNotFound);
}

void MkDir(std::string_view path) { check(files().createDirectory(path)); }

void RmDir(std::string_view path) {
  const std::uint32_t e = files().removeDirectory(path);
  check(e == m::kErrorFileNotFound ? m::kErrorPathNotFound : e);
}

std::int64_t FileLen(std::string_view path) {
  std::vector<m::FoundEntry> found;
  check(files().find(path, found));
  return static_cast<std::int64_t>(found.front().size);
}

int GetAttr(std::string_view path) {
  std::uint32_t attrs = 0;
  const std::uint32_t e = files().attributes(path, attrs);
  check(e == m::kErrorPathNotFound ? m::kErrorFileNotFound : e);
  return static_cast<int>(attrs);
}

void SetAttr(std::string_view path, int attributes) {
  const std::uint32_t e = files().setAttributes(path, static_cast<std::uint32_t>(attributes));
  check(e == m::kErrorPathNotFound ? m::kErrorFileNotFound : e);
}

int FreeFile() {
  for (int n = 1; n <= 255; ++n) {
    if (!numbers().count(n)) return n;
  }
  Raise(kTooManyFiles);
}

void Open(std::string_view path, OpenMode mode, int fileNumber, OpenAccess access, OpenLock lock) {
  if (fileNumber < 1 || fileNumber > 511) Raise(kBadFileNameOrNumber);
  if (numbers().count(fileNumber)) Raise(kFileAlreadyOpen);
  const m::FileShare share = lock == OpenLock::LockReadWrite ? m::FileShare::DenyAll
                             : lock == OpenLock::Shared       ? m::FileShare::All
                                                              : m::FileShare::DenyWrite;
  std::unique_ptr<m::OpenFile> file;
  std::uint32_t e = m::kErrorSuccess;
  switch (mode) {
    case OpenMode::Input:
      e = files().openFile(path, m::FileAccess::Read, m::FileDisposition::OpenExisting, share, file);
      break;
    case OpenMode::Output:
      e = files().openFile(path, m::FileAccess::Write, m::FileDisposition::CreateAlways, share, file);
      break;
    case OpenMode::Append:
      e = files().openFile(path, m::FileAccess::Write, m::FileDisposition::OpenAlways, share, file);
      break;
    case OpenMode::Binary:
      if (access == OpenAccess::Read) {
        e = files().openFile(path, m::FileAccess::Read, m::FileDisposition::OpenExisting, share, file);
      } else if (access == OpenAccess::Write) {
        e = files().openFile(path, m::FileAccess::Write, m::FileDisposition::OpenAlways, share, file);
      } else {
        e = files().openFile(path, m::FileAccess::ReadWrite, m::FileDisposition::OpenAlways, share, file);
        // Without a named access the runtime falls back to reading alone.
        if (e == m::kErrorAccessDenied && access == OpenAccess::Default) {
          e = files().openFile(path, m::FileAccess::Read, m::FileDisposition::OpenExisting, share, file);
        }
      }
      break;
  }
  check(e);
  OpenNumber n{std::move(file), mode, 0};
  if (mode == OpenMode::Append) n.position = n.file->size();
  numbers().emplace(fileNumber, std::move(n));
}

void Close(int fileNumber) { numbers().erase(fileNumber); }
void CloseAll() { numbers().clear(); }

void Get(int fileNumber, std::int64_t position, std::vector<std::uint8_t>& buffer) {
  OpenNumber& f = opened(fileNumber);
  if (f.mode != OpenMode::Binary) Raise(kBadFileMode);
  if (position < 1) Raise(kBadRecordNumber);
  std::size_t got = 0;
  check(f.file->read(static_cast<std::uint64_t>(position - 1), buffer.data(), buffer.size(), got));
  f.position = static_cast<std::uint64_t>(position - 1) + got;
}

void Put(int fileNumber, std::int64_t position, std::string_view ansiBytes) {
  OpenNumber& f = opened(fileNumber);
  if (f.mode != OpenMode::Binary) Raise(kBadFileMode);
  if (position < 1) Raise(kBadRecordNumber);
  check(f.file->write(static_cast<std::uint64_t>(position - 1), ansiBytes.data(), ansiBytes.size()));
  f.position = static_cast<std::uint64_t>(position - 1) + ansiBytes.size();
}

void Put(int fileNumber, std::int64_t position, const std::vector<std::uint8_t>& bytes) {
  Put(fileNumber, position, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

void PrintLine(int fileNumber, std::string_view text) {
  OpenNumber& f = opened(fileNumber);
  if (f.mode != OpenMode::Output && f.mode != OpenMode::Append) Raise(kBadFileMode);
  const std::string line = text::toAnsi(text, codePage()) + "\r\n";
  check(f.file->write(f.position, line.data(), line.size()));
  f.position += line.size();
}

std::string LineInput(int fileNumber) {
  OpenNumber& f = opened(fileNumber);
  if (f.mode != OpenMode::Input) Raise(kBadFileMode);
  if (peekByte(f) < 0) Raise(kInputPastEndOfFile);
  std::string line;
  for (int c = readByte(f); c >= 0; c = readByte(f)) {
    if (c == '\r') {
      if (peekByte(f) == '\n') readByte(f);
      break;
    }
    if (c == '\n') break;
    line += static_cast<char>(c);
  }
  return text::fromAnsi(line, codePage());
}

std::string InputItem(int fileNumber) {
  OpenNumber& f = opened(fileNumber);
  if (f.mode != OpenMode::Input) Raise(kBadFileMode);
  int c = readByte(f);
  while (c == ' ') c = readByte(f);
  if (c < 0) Raise(kInputPastEndOfFile);
  std::string item;
  if (c == '"') {
    for (c = readByte(f); c >= 0 && c != '"'; c = readByte(f)) item += static_cast<char>(c);
    // Skip to the item's end: blanks, then a comma or a line end.
    for (c = peekByte(f); c == ' '; c = peekByte(f)) readByte(f);
    c = readByte(f);
  } else {
    for (; c >= 0 && c != ',' && c != '\r' && c != '\n'; c = readByte(f)) item += static_cast<char>(c);
    item = Trim(item);
  }
  if (c == '\r' && peekByte(f) == '\n') readByte(f);
  return text::fromAnsi(item, codePage());
}

bool Eof(int fileNumber) {
  OpenNumber& f = opened(fileNumber);
  return f.position >= f.file->size();
}

std::int64_t Lof(int fileNumber) { return static_cast<std::int64_t>(opened(fileNumber).file->size()); }

}  // namespace zov::runtime
