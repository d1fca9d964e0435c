#include "platform/win32/lz_expand.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>

#include "platform/machine/machine.h"
#include "platform/machine/windows_errors.h"
#include "platform/win32/ansi_buffer.h"

namespace zov::win32 {

namespace m = zov::machine;

namespace {

// One open handle: the file and where the next read or write goes.
struct LzFile {
  std::unique_ptr<m::OpenFile> file;
  std::uint64_t position = 0;
};

std::map<std::int32_t, LzFile>& handles() {
  static std::map<std::int32_t, LzFile> open;
  return open;
}

constexpr std::int32_t kFirstHandle = 0x400;

std::int32_t freeHandle() {
  std::int32_t handle = kFirstHandle;
  for (const auto& entry : handles()) {
    if (entry.first != handle) break;
    ++handle;
  }
  return handle;
}

LzFile* find(std::int32_t handle) {
  const auto it = handles().find(handle);
  return it == handles().end() ? nullptr : &it->second;
}

// The DOS error code of a failed open. DOS knows the Windows codes the file
// system gives, except the bad name, which DOS reports as a path that does
// not exist.
std::uint16_t dosErrorOf(std::uint32_t windowsError) {
  if (windowsError == m::kErrorInvalidName) return m::kErrorPathNotFound;
  return static_cast<std::uint16_t>(windowsError);
}

class HandleReader : public lz::ByteReader {
 public:
  explicit HandleReader(LzFile& source) : source_(source) {}
  std::ptrdiff_t read(std::uint8_t* buffer, std::size_t size) override {
    std::size_t done = 0;
    if (source_.file->read(source_.position, buffer, size, done) != m::kErrorSuccess) return -1;
    source_.position += done;
    return static_cast<std::ptrdiff_t>(done);
  }

 private:
  LzFile& source_;
};

class HandleWriter : public lz::ByteWriter {
 public:
  explicit HandleWriter(LzFile& destination) : destination_(destination) {}
  bool write(const std::uint8_t* data, std::size_t size) override {
    if (destination_.file->write(destination_.position, data, size) != m::kErrorSuccess) return false;
    destination_.position += size;
    return true;
  }

 private:
  LzFile& destination_;
};

}  // namespace

std::int32_t LZOpenFileA(const std::string& path, OFSTRUCT& record, std::uint16_t style) {
  record.cBytes = sizeof(OFSTRUCT);
  record.nErrCode = 0;
  m::FileAccess access = m::FileAccess::Read;
  m::FileDisposition disposition = m::FileDisposition::OpenExisting;
  if (style == OF_CREATE) {
    access = m::FileAccess::Write;
    disposition = m::FileDisposition::CreateAlways;
  } else if (style != OF_READ) {
    record.nErrCode = m::kErrorInvalidParameter;
    return lz::LZERROR_BADINHANDLE;
  }
  m::FileSystem& files = m::currentMachine().files();
  std::unique_ptr<m::OpenFile> file;
  if (const auto error = files.openFile(textOf(ansiOf(path)), access, disposition, m::FileShare::DenyWrite, file)) {
    record.nErrCode = dosErrorOf(error);
    return lz::LZERROR_BADINHANDLE;
  }
  const std::string fullPath = ansiOf(file->windowsPath());
  record.fFixedDisk = files.driveType(fullPath[0]) == 3 ? 1 : 0;
  const std::size_t length = std::min(fullPath.size(), OFS_MAXPATHNAME - 1);
  std::memcpy(record.szPathName, fullPath.data(), length);
  record.szPathName[length] = '\0';
  const std::int32_t handle = freeHandle();
  handles()[handle] = LzFile{std::move(file), 0};
  return handle;
}

LONG LZCopy(std::int32_t source, std::int32_t destination) {
  LzFile* in = find(source);
  if (!in) return lz::LZERROR_BADINHANDLE;
  LzFile* out = find(destination);
  if (!out) return lz::LZERROR_BADOUTHANDLE;
  HandleReader reader(*in);
  HandleWriter writer(*out);
  return lz::copyExpanded(reader, writer);
}

void LZClose(std::int32_t handle) { handles().erase(handle); }

}  // namespace zov::win32
