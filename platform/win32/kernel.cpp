#include "kernel.h"

#include <cstring>
#include <map>
#include <memory>

#include "platform/machine/machine.h"
#include "platform/machine/named_mutex.h"
#include "platform/machine/windows_errors.h"
#include "platform/runtime/runtime_error.h"
#include "platform/text/case_map.h"
#include "platform/win32/ansi_buffer.h"
#include "platform/win32/last_error.h"
#include "platform/win32/numbered_file.h"

namespace zov::win32 {

namespace {

thread_local DWORD lastError = 0;

machine::Machine& host() { return machine::currentMachine(); }

// Puts a folder path into a caller's buffer the way the folder functions do.
DWORD folderInto(const std::string& folder, std::string& buffer, DWORD size) {
  if (folder.empty()) {
    SetLastError(machine::kErrorPathNotFound);
    return 0;
  }
  const std::string ansi = ansiOf(folder);
  if (ansi.size() + 1 > size) return static_cast<DWORD>(ansi.size() + 1);
  writeAnsi(buffer, ansi);
  return static_cast<DWORD>(ansi.size());
}

struct ProcessHandle {
  DWORD processId;
};
std::map<HANDLE, ProcessHandle>& handles() {
  static std::map<HANDLE, ProcessHandle> h;
  return h;
}
std::map<HANDLE, std::unique_ptr<machine::NamedMutex>>& mutexes() {
  static std::map<HANDLE, std::unique_ptr<machine::NamedMutex>> m;
  return m;
}
HANDLE nextHandle = 0x1A4;
HANDLE newHandle() {
  const HANDLE h = nextHandle;
  nextHandle += 4;
  return h;
}

}  // namespace

void SetLastError(DWORD error) { lastError = error; }
DWORD GetLastError() { return lastError; }

DWORD GetTempPathA(DWORD bufferLength, std::string& buffer) {
  std::string temp = host().config().tempFolder;
  if (!temp.empty() && temp.back() != '\\') temp += '\\';
  return folderInto(temp, buffer, bufferLength);
}

DWORD GetWindowsDirectoryA(std::string& buffer, DWORD size) {
  return folderInto(host().config().windowsFolder, buffer, size);
}

DWORD GetSystemDirectoryA(std::string& buffer, DWORD size) {
  return folderInto(host().config().systemFolder, buffer, size);
}

unsigned GetDriveTypeA(const std::string& rootPath) {
  if (rootPath.size() < 3 || rootPath[1] != ':' || rootPath[2] != '\\' ||
      !std::isalpha(static_cast<unsigned char>(rootPath[0]))) {
    return DRIVE_NO_ROOT_DIR;
  }
  return static_cast<unsigned>(host().files().driveType(rootPath[0]));
}

BOOL GetDiskFreeSpaceA(const std::string& rootPath, DWORD& sectorsPerCluster, DWORD& bytesPerSector,
                       DWORD& freeClusters, DWORD& totalClusters) {
  if (rootPath.size() < 2 || rootPath[1] != ':') {
    SetLastError(machine::kErrorInvalidName);
    return FALSE;
  }
  std::uint64_t freeBytes = 0, totalBytes = 0;
  if (const auto e = host().files().freeSpace(rootPath[0], freeBytes, totalBytes)) {
    SetLastError(e);
    return FALSE;
  }
  // Clusters of 4 KiB, or smaller ones that the free space fills exactly, so
  // that clusters times their size gives the free bytes back to the byte.
  sectorsPerCluster = 8;
  bytesPerSector = 512;
  while (sectorsPerCluster > 1 && freeBytes % (sectorsPerCluster * bytesPerSector) != 0) sectorsPerCluster /= 2;
  if (freeBytes % bytesPerSector != 0 && freeBytes <= 0xFFFFFFFFu) bytesPerSector = 1;
  const std::uint64_t cluster = std::uint64_t{sectorsPerCluster} * bytesPerSector;
  freeClusters = static_cast<DWORD>(std::min<std::uint64_t>(freeBytes / cluster, 0xFFFFFFFFu));
  totalClusters = static_cast<DWORD>(std::min<std::uint64_t>(totalBytes / cluster, 0xFFFFFFFFu));
  return TRUE;
}

BOOL GetVersionExA(OSVERSIONINFO& info) {
  const auto& c = host().config();
  if (c.faults.versionQuery == machine::VersionQuery::EntryPointMissing) runtime::Raise(runtime::kDllEntryPointNotFound);
  if (c.faults.versionQuery == machine::VersionQuery::Fails || info.dwOSVersionInfoSize != sizeof(OSVERSIONINFO)) {
    SetLastError(machine::kErrorInsufficientBuffer);
    return FALSE;
  }
  info.dwMajorVersion = c.majorVersion;
  info.dwMinorVersion = c.minorVersion;
  info.dwBuildNumber = c.buildNumber;
  info.dwPlatformId = c.platformId;
  std::memset(info.szCSDVersion, 0, sizeof info.szCSDVersion);
  const std::string sp = ansiOf(c.servicePack).substr(0, sizeof info.szCSDVersion - 1);
  std::memcpy(info.szCSDVersion, sp.data(), sp.size());
  return TRUE;
}

std::uint16_t GetSystemDefaultUILanguage() { return host().config().uiLanguage; }

BOOL SetFileAttributesA(const std::string& path, DWORD attributes) {
  if (const auto e = host().files().setAttributes(textOf(ansiOf(path)), attributes)) {
    SetLastError(e);
    return FALSE;
  }
  return TRUE;
}

unsigned GetTempFileNameA(const std::string& pathName, const std::string& prefix, unsigned unique,
                          std::string& tempFileName) {
  std::string folder = textOf(ansiOf(pathName));
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  const std::string start = textOf(ansiOf(prefix)).substr(0, 3);
  // Every name is as long as the first one.
  if (ansiOf(NumberedFileName(folder, start, 1)).size() + 1 > tempFileName.size()) {
    SetLastError(machine::kErrorBufferOverflow);
    return 0;
  }
  std::string path = NumberedFileName(folder, start, unique);
  if (unique == 0) {
    std::uint32_t error = 0;
    unique = CreateNumberedFile(folder, start, path, error);
    if (unique == 0) {
      SetLastError(error);
      return 0;
    }
  }
  writeAnsi(tempFileName, ansiOf(path));
  return unique;
}

BOOL MoveFileExA(const std::string& existingFileName, const std::string& newFileName, DWORD flags) {
  if (flags != (MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    SetLastError(machine::kErrorInvalidParameter);
    return FALSE;
  }
  if (const auto e = host().files().moveFile(textOf(ansiOf(existingFileName)), textOf(ansiOf(newFileName)))) {
    SetLastError(e);
    return FALSE;
  }
  return TRUE;
}

BOOL GetUserNameA(std::string& buffer, DWORD& size) {
  const auto& c = host().config();
  if (c.faults.userNameFails) {
    SetLastError(machine::kErrorAccessDenied);
    return FALSE;
  }
  const std::string ansi = ansiOf(c.userName);
  if (ansi.size() + 1 > size) {
    size = static_cast<DWORD>(ansi.size() + 1);
    SetLastError(machine::kErrorInsufficientBuffer);
    return FALSE;
  }
  writeAnsi(buffer, ansi);
  size = static_cast<DWORD>(ansi.size() + 1);
  return TRUE;
}

BOOL LookupAccountNameA(const std::string& systemName, const std::string& accountName, std::string& sid, DWORD& sidSize,
                        std::string& domain, DWORD& domainSize, DWORD& use) {
  const auto& c = host().config();
  if (c.faults.accountLookupFails || !text::equalsNoCase(textOf(ansiOf(accountName)), c.userName)) {
    SetLastError(machine::kErrorNoneMapped);
    return FALSE;
  }
  const std::string domainAnsi = ansiOf(c.domain.empty() ? c.computerName : c.domain);
  // A security identifier of the form S-1-5-21-...: 28 bytes.
  constexpr DWORD kSidSize = 28;
  if (sidSize < kSidSize || domainSize < domainAnsi.size() + 1) {
    sidSize = kSidSize;
    domainSize = static_cast<DWORD>(domainAnsi.size() + 1);
    SetLastError(machine::kErrorInsufficientBuffer);
    return FALSE;
  }
  writeAnsi(sid, std::string("\x01\x05\x00\x00\x00\x00\x00\x05\x15\x00\x00\x00", 12));
  sidSize = kSidSize;
  writeAnsi(domain, domainAnsi);
  domainSize = static_cast<DWORD>(domainAnsi.size());
  use = 1;  // a user account
  return TRUE;
}

HANDLE CreateMutexA(const void* /*securityAttributes*/, BOOL /*initialOwner*/, const std::string& name) {
  auto mutex = std::make_unique<machine::NamedMutex>(host().folder(), name);
  if (!mutex->held() && !mutex->heldElsewhere()) {
    SetLastError(machine::kErrorAccessDenied);
    return 0;
  }
  SetLastError(mutex->heldElsewhere() ? machine::kErrorAlreadyExists : machine::kErrorSuccess);
  const HANDLE h = newHandle();
  mutexes()[h] = std::move(mutex);
  return h;
}

void Sleep(DWORD milliseconds) { host().clock().wait(milliseconds); }

HANDLE OpenProcess(DWORD access, BOOL inherit, DWORD processId) {
  const machine::Process* process = host().process(processId);
  if (!process) {
    SetLastError(machine::kErrorInvalidParameter);
    return 0;
  }
  if (!process->opens) {
    SetLastError(machine::kErrorAccessDenied);
    return 0;
  }
  const HANDLE h = newHandle();
  handles()[h] = {processId};
  return h;
}

DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
  if (!handles().count(handle)) {
    SetLastError(machine::kErrorInvalidHandle);
    return WAIT_FAILED;
  }
  // A process handle is signalled when the program has ended; the wait
  // passes on the machine's clock.
  const machine::Process& process = *host().process(handles()[handle].processId);
  if (milliseconds != INFINITE && host().running(process) && process.endsAt - host().clock().now() > milliseconds) {
    host().clock().wait(milliseconds);
    return WAIT_TIMEOUT;
  }
  host().waitForEnd(process);
  return WAIT_OBJECT_0;
}

BOOL CloseHandle(HANDLE handle) {
  if (handles().erase(handle) == 0 && mutexes().erase(handle) == 0) {
    SetLastError(machine::kErrorInvalidHandle);
    return FALSE;
  }
  return TRUE;
}

}  // namespace zov::win32
