// The simulated machine's file system. Windows paths map to host folders
// (one per drive); names are found without case and keep their case. Every
// operation answers with a Windows error code, never an exception. The
// attributes, the drive states and the machine's fault settings are enforced
// here, so every caller meets them through the same code path.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/machine/attribute_store.h"
#include "platform/machine/machine_config.h"
#include "platform/machine/windows_path.h"

namespace zov::machine {

struct FoundEntry {
  std::string name;  // as stored
  std::uint32_t attributes = 0;
  std::uint64_t size = 0;
};

enum class FileAccess { Read, Write, ReadWrite };
enum class FileDisposition {
  OpenExisting,  // fails when missing
  OpenAlways,    // created when missing, kept when there
  CreateAlways,  // created, or emptied when there
  CreateNew,     // created; fails (80) when there
};
enum class FileShare { All, DenyWrite, DenyAll };

class FileSystem;

// One open file. Closing happens when the object goes away.
class OpenFile {
 public:
  ~OpenFile();
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;

  std::uint32_t read(std::uint64_t offset, void* buffer, std::size_t size, std::size_t& done);
  std::uint32_t write(std::uint64_t offset, const void* data, std::size_t size);
  std::uint64_t size() const;
  const std::string& windowsPath() const { return path_; }

 private:
  friend class FileSystem;
  OpenFile(FileSystem& fs, int fd, std::string path, FileAccess access, bool full, HostDisk* disk);
  FileSystem& fs_;
  int fd_;
  std::string path_;
  FileAccess access_;
  bool driveFull_;
  HostDisk* disk_;  // the host disk's room, for a drive kept in the machine folder
};

class FileSystem {
 public:
  // `disk`, when given, is the room left on the host disk of the machine folder.
  FileSystem(const MachineConfig& config, std::filesystem::path machineFolder, AttributeStore& attributes,
             HostDisk* disk = nullptr);

  // Parses a path against the current folders. Error 123 for a bad name,
  // 3 for a form the machine does not have (network paths).
  std::uint32_t parse(std::string_view path, WindowsPath& out, bool allowWildcards = false) const;
  // The stored spelling of an existing path (its case as on disk).
  std::string canonical(const WindowsPath& path) const;

  std::uint32_t attributes(std::string_view path, std::uint32_t& attributes) const;
  std::uint32_t setAttributes(std::string_view path, std::uint32_t attributes);
  // Lists what a path or pattern names, as a directory search does: a folder
  // path finds the folder itself; "folder\" or "folder\*.*" lists its
  // entries ("." and ".." first, except in a drive's root). Hidden and
  // system entries are included; callers filter them.
  std::uint32_t find(std::string_view pattern, std::vector<FoundEntry>& found) const;
  std::uint32_t createDirectory(std::string_view path);
  std::uint32_t removeDirectory(std::string_view path);
  std::uint32_t deleteFile(std::string_view path);
  std::uint32_t openFile(std::string_view path, FileAccess access, FileDisposition disposition, FileShare share,
                         std::unique_ptr<OpenFile>& file);
  // Gives a file a new name on the same drive (17 otherwise) in one step,
  // replacing a file of that name whole, and flushes the file and its folder
  // to disk first and after. The file takes its attributes along. It is
  // refused as a deletion is (32 in use or locked), the file it replaces as
  // an open that empties it is (5 read-only, hidden or system; 32 in use or
  // locked), and both paths as every change is (5 refused writes, a
  // read-only drive). A folder is neither moved nor replaced (5).
  std::uint32_t moveFile(std::string_view from, std::string_view to);

  // 0 unknown .. 6 RAM disk; 1 for a letter without a drive.
  int driveType(char letter) const;
  std::uint32_t freeSpace(char letter, std::uint64_t& freeBytes, std::uint64_t& totalBytes) const;
  std::string volumeLabel(char letter) const;
  std::vector<char> driveLetters() const;

  CurrentFolders& currentFolders() { return current_; }
  const CurrentFolders& currentFolders() const { return current_; }

  // Makes a host folder reachable as a read-only network drive (the first
  // free letter from Z: down) and returns its Windows path. The program's
  // own folder is mounted this way when it lies outside the machine.
  std::string mountHostFolder(const std::filesystem::path& hostFolder);
  // The Windows path of a host path inside a drive, or empty.
  std::string windowsPathOfHost(const std::filesystem::path& hostPath) const;

  // Tells whether a file (by its stored spelling) is in use by a program of
  // the machine: such a file cannot be written, replaced or deleted.
  void setInUseCheck(std::function<bool(const std::string&)> inUse) { inUse_ = std::move(inUse); }

  // The host path for a Windows path (for tools and tests).
  std::filesystem::path hostPath(std::string_view windowsPath) const;

 private:
  friend class OpenFile;
  struct Drive {
    DriveConfig config;
    std::filesystem::path host;
    // Where walks start: a drive inside the machine folder (drives/X, or a
    // Host= folder there) is reached from the machine folder through no
    // link; any other Host= folder is the owner's choice and the walk starts in it.
    std::filesystem::path base;
    std::string beneath;
  };
  Drive makeDrive(const DriveConfig& config, const std::filesystem::path& host) const;
  // Where a Windows path lies on the host, found by one walk, with the folder
  // that holds it kept open for the operation.
  struct Location;
  const Drive* driveOf(char letter) const;
  // Walks the path's folders, in one step when they are spelled as stored,
  // else one component at a time, each name found without case. The folder
  // that holds the entry stays open, so that the operation acts in the very
  // folder the walk checked. Error 5 when the way there goes through a
  // symbolic link.
  std::uint32_t locate(const WindowsPath& path, Location& where) const;
  std::uint32_t checkDrive(const WindowsPath& path) const;
  std::uint32_t checkChange(const WindowsPath& path, const std::string& canonicalPath) const;
  bool underAny(const std::string& path, const std::vector<std::string>& list) const;
  std::uint32_t removeWithAttributes(const Location& where);

  const MachineConfig& config_;
  std::filesystem::path machineFolder_;
  AttributeStore& attributes_;
  HostDisk* disk_;
  std::map<char, Drive> drives_;
  CurrentFolders current_;
  // Our own open files: path (upper case) -> share mode of each open handle.
  std::multimap<std::string, FileShare> open_;
  std::function<bool(const std::string&)> inUse_;
};

}  // namespace zov::machine
