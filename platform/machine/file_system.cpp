#include "file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <system_error>
#include <utility>

#include "platform/machine/fd.h"
#include "platform/machine/kill_at_change.h"
#include "platform/machine/windows_errors.h"
#include "platform/text/case_map.h"

namespace zov::machine {

namespace fs = std::filesystem;

namespace {

// A folder on the way to an entry: opened only when it is a real folder, not
// through a link, and only to look up or change names in it.
constexpr int kFolderFlags = O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

// The folder `path` below `base`, reached in one step that follows no link on the way.
Fd openBeneath(int base, const std::string& path) {
  open_how how{};
  how.flags = O_PATH | O_DIRECTORY | O_CLOEXEC;
  how.resolve = RESOLVE_NO_SYMLINKS | RESOLVE_BENEATH;
  Fd folder(static_cast<int>(::syscall(SYS_openat2, base, path.c_str(), &how, sizeof how)));
  if (folder || (errno != ENOSYS && errno != EPERM)) return folder;
  // A kernel without that call, or a filter refusing it: one folder at a
  // time, none of them through a link.
  folder = Fd(::fcntl(base, F_DUPFD_CLOEXEC, 0));
  for (std::size_t start = 0; folder && start <= path.size();) {
    const std::size_t end = std::min(path.find('/', start), path.size());
    folder = Fd(::openat(folder.get(), path.substr(start, end - start).c_str(), kFolderFlags));
    start = end + 1;
  }
  return folder;
}

using Listing = std::unique_ptr<DIR, int (*)(DIR*)>;

// The entries of `name` in `folder` ("." for the folder itself), not through a link.
Listing list(int folder, const std::string& name) {
  const int fd = ::openat(folder, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  DIR* dir = fd < 0 ? nullptr : ::fdopendir(fd);
  if (fd >= 0 && !dir) ::close(fd);
  return Listing(dir, &::closedir);
}

bool isDots(const char* name) { return name[0] == '.' && (!name[1] || (name[1] == '.' && !name[2])); }

// What `name` is in `folder` (S_IFDIR, S_IFLNK, ...; 0 when missing), found
// without case when the exact spelling is not there; `name` becomes the stored spelling.
mode_t lookUp(int folder, std::string& name) {
  struct stat st {};
  if (::fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) return st.st_mode & S_IFMT;
  const Listing dir = list(folder, ".");
  while (const dirent* entry = dir ? ::readdir(dir.get()) : nullptr) {
    if (!isDots(entry->d_name) && text::equalsNoCase(entry->d_name, name)) {
      name = entry->d_name;
      return ::fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 ? st.st_mode & S_IFMT : 0;
    }
  }
  return 0;
}

}  // namespace

struct FileSystem::Location {
  fs::path host;         // of the entry, or of the place where it would be created
  std::string canonical;  // the path with the stored spelling of each existing component
  Fd folder;              // the folder holding the entry, once the walk reached it
  std::string name = ".";  // the entry's name in `folder` ("." for a drive's root)
  bool exists = false;
  bool parentExists = false;  // everything above the last component exists
  bool parentIsFolder = false;
  bool isFolder = false;
};

// ---- OpenFile ----

OpenFile::OpenFile(FileSystem& fsys, int fd, std::string path, FileAccess access, bool full, HostDisk* disk)
    : fs_(fsys), fd_(fd), path_(std::move(path)), access_(access), driveFull_(full), disk_(disk) {}

OpenFile::~OpenFile() {
  ::close(fd_);
  const std::string key = text::upper(path_);
  const auto it = fs_.open_.find(key);
  if (it != fs_.open_.end()) fs_.open_.erase(it);
}

std::uint32_t OpenFile::read(std::uint64_t offset, void* buffer, std::size_t size, std::size_t& done) {
  done = 0;
  if (access_ == FileAccess::Write) return kErrorAccessDenied;
  auto* out = static_cast<char*>(buffer);
  while (done < size) {
    const ssize_t n = ::pread(fd_, out + done, size - done, static_cast<off_t>(offset + done));
    if (n < 0) {
      if (errno == EINTR) continue;
      return kErrorAccessDenied;
    }
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  return kErrorSuccess;
}

std::uint32_t OpenFile::write(std::uint64_t offset, const void* data, std::size_t size) {
  if (access_ == FileAccess::Read) return kErrorAccessDenied;
  if (size == 0) return kErrorSuccess;
  if (driveFull_) return kErrorDiskFull;
  if (disk_ && !disk_->take(size)) return kErrorDiskFull;
  const auto* in = static_cast<const char*>(data);
  auto put = [&](std::size_t count) {
    std::size_t done = 0;
    while (done < count) {
      const ssize_t n = ::pwrite(fd_, in + done, count - done, static_cast<off_t>(offset + done));
      if (n < 0) {
        if (errno == EINTR) continue;
        return errno == ENOSPC || errno == EDQUOT ? kErrorDiskFull : kErrorAccessDenied;
      }
      done += static_cast<std::size_t>(n);
    }
    return kErrorSuccess;
  };
  beforeChange([&] { put(size / 2); });
  return put(size);
}

std::uint64_t OpenFile::size() const {
  struct stat st {};
  return ::fstat(fd_, &st) == 0 ? static_cast<std::uint64_t>(st.st_size) : 0;
}

// ---- FileSystem ----

FileSystem::FileSystem(const MachineConfig& config, fs::path machineFolder, AttributeStore& attributes, HostDisk* disk)
    : config_(config), machineFolder_(std::move(machineFolder)), attributes_(attributes), disk_(disk) {
  for (const auto& [letter, d] : config.drives) {
    drives_[letter] = makeDrive(d, d.host.empty() ? machineFolder_ / "drives" / std::string(1, letter) : d.host);
  }
  if (!config.windowsFolder.empty()) current_.drive = static_cast<char>(std::toupper(static_cast<unsigned char>(config.windowsFolder[0])));
}

FileSystem::Drive FileSystem::makeDrive(const DriveConfig& config, const fs::path& host) const {
  const fs::path inside = host.lexically_normal().lexically_relative(machineFolder_.lexically_normal());
  if (inside.empty() || inside == "." || *inside.begin() == "..") return Drive{config, host, host, "."};
  return Drive{config, host, machineFolder_, inside.generic_string()};
}

const FileSystem::Drive* FileSystem::driveOf(char letter) const {
  const auto it = drives_.find(static_cast<char>(std::toupper(static_cast<unsigned char>(letter))));
  return it == drives_.end() ? nullptr : &it->second;
}

std::uint32_t FileSystem::parse(std::string_view path, WindowsPath& out, bool allowWildcards) const {
  PathProblem problem = PathProblem::None;
  const auto parsed = parseWindowsPath(path, current_, problem, allowWildcards);
  if (!parsed) return problem == PathProblem::NotSupported ? kErrorPathNotFound : kErrorInvalidName;
  out = *parsed;
  return kErrorSuccess;
}

std::uint32_t FileSystem::locate(const WindowsPath& path, Location& where) const {
  const Drive* drive = driveOf(path.drive);
  where = Location{};
  where.host = drive->host;
  where.exists = where.parentExists = where.parentIsFolder = where.isFolder = true;
  // Links are followed up to the drive's folder only where the machine's owner
  // chose it (a Host= folder outside the machine folder); a drive kept in the
  // machine folder must be a real folder there, and so must every folder on
  // the way to it: no link leads out of the machine.
  const Fd base(::open(drive->base.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
  const std::string& driveFolder = drive->beneath;
  // The folders on the way spelled as stored are passed in one step; otherwise
  // the walk goes one component at a time. A drive folder that is gone leaves the drive empty.
  std::string way = driveFolder;
  for (std::size_t i = 0; i + 1 < path.parts.size(); ++i) way += "/" + path.parts[i];
  Fd folder = openBeneath(base.get(), way);
  std::size_t passed = path.parts.empty() ? 0 : path.parts.size() - 1;
  if (!folder) {
    if (errno == ELOOP) return kErrorAccessDenied;
    folder = openBeneath(base.get(), driveFolder);
    if (!folder && errno != ENOENT) return kErrorAccessDenied;
    passed = 0;
  }
  WindowsPath stored;
  stored.drive = path.drive;
  stored.parts.assign(path.parts.begin(), path.parts.begin() + static_cast<std::ptrdiff_t>(passed));
  for (const auto& part : stored.parts) where.host /= part;
  for (std::size_t i = passed; i < path.parts.size(); ++i) {
    const bool last = i + 1 == path.parts.size();
    std::string name = path.parts[i];
    if (where.exists) {
      where.parentIsFolder = where.isFolder;
      const mode_t type = where.isFolder ? lookUp(folder.get(), name) : 0;
      // Symbolic links may point anywhere on the host: they are not followed.
      if (type == S_IFLNK) return kErrorAccessDenied;
      where.exists = type != 0;
      where.isFolder = type == S_IFDIR;
      if (!where.exists) where.parentExists = last;
      if (last) {
        where.folder = std::move(folder);
        where.name = name;
      } else if (where.isFolder) {
        folder = Fd(::openat(folder.get(), name.c_str(), kFolderFlags));
        if (!folder) return kErrorAccessDenied;  // replaced by a link since the look-up
      }
    }
    where.host /= name;
    stored.parts.push_back(std::move(name));
  }
  if (path.parts.empty()) where.folder = std::move(folder);
  where.canonical = stored.text();
  return kErrorSuccess;
}

std::string FileSystem::canonical(const WindowsPath& path) const {
  Location where;
  if (!driveOf(path.drive) || locate(path, where)) return path.text();
  return where.canonical;
}

std::uint32_t FileSystem::checkDrive(const WindowsPath& path) const {
  const Drive* drive = driveOf(path.drive);
  if (!drive || drive->config.type == 1) return kErrorInvalidDrive;
  if (!drive->config.medium) return kErrorNotReady;
  return kErrorSuccess;
}

bool FileSystem::underAny(const std::string& path, const std::vector<std::string>& list) const {
  for (const auto& entry : list) {
    std::string e = entry;
    while (e.size() > 3 && e.back() == '\\') e.pop_back();
    if (text::equalsNoCase(path, e)) return true;
    const std::string prefix = e.back() == '\\' ? e : e + "\\";
    if (path.size() > prefix.size() && text::equalsNoCase(path.substr(0, prefix.size()), prefix)) return true;
  }
  return false;
}

std::uint32_t FileSystem::checkChange(const WindowsPath& path, const std::string& canonicalPath) const {
  const Drive* drive = driveOf(path.drive);
  if (drive->config.readOnly) return kErrorAccessDenied;
  if (underAny(canonicalPath, config_.faults.refuseWrites)) return kErrorAccessDenied;
  return kErrorSuccess;
}

std::uint32_t FileSystem::attributes(std::string_view p, std::uint32_t& attrs) const {
  attrs = 0;
  WindowsPath path;
  if (auto e = parse(p, path)) return e;
  if (auto e = checkDrive(path)) return e;
  Location where;
  if (auto e = locate(path, where)) return e;
  if (!where.exists) return where.parentExists ? kErrorFileNotFound : kErrorPathNotFound;
  attrs = (where.isFolder ? kAttrDirectory : 0) | (path.isRoot() ? 0 : attributes_.get(where.canonical));
  return kErrorSuccess;
}

std::uint32_t FileSystem::setAttributes(std::string_view p, std::uint32_t attrs) {
  WindowsPath path;
  if (auto e = parse(p, path)) return e;
  if (auto e = checkDrive(path)) return e;
  Location where;
  if (auto e = locate(path, where)) return e;
  if (!where.exists) return where.parentExists ? kErrorFileNotFound : kErrorPathNotFound;
  const std::string& canon = where.canonical;
  if (auto e = checkChange(path, canon)) return e;
  if (underAny(canon, config_.faults.lockedAttributes)) return kErrorAccessDenied;
  if (path.isRoot()) return kErrorAccessDenied;
  return attributes_.set(canon, attrs);
}

std::uint32_t FileSystem::find(std::string_view pattern, std::vector<FoundEntry>& found) const {
  found.clear();
  WindowsPath path;
  if (auto e = parse(pattern, path, true)) return e;
  if (auto e = checkDrive(path)) return e;
  // "C:", "C:\", "folder\" list a folder's entries; anything else names entries.
  const std::string_view tail = pattern.size() >= 2 && pattern[1] == ':' ? pattern.substr(2) : pattern;
  const bool listContents = tail.empty() || tail.back() == '\\' || (path.isRoot() && !hasWildcards(tail));
  WindowsPath folder = listContents ? path : path.parent();
  const std::string namePattern = listContents ? std::string("*") : path.name();

  Location where;
  if (auto e = locate(folder, where)) return e;
  if (!where.exists || !where.isFolder) return kErrorPathNotFound;

  const std::string& folderText = where.canonical;
  auto entryPath = [&](const std::string& name) {
    return folderText.back() == '\\' ? folderText + name : folderText + "\\" + name;
  };
  if (!folder.isRoot()) {
    for (const char* dot : {".", ".."}) {
      if (matchesWildcard(dot, namePattern) && (namePattern == "*" || namePattern == "*.*" || namePattern == dot)) {
        found.push_back({dot, kAttrDirectory, 0});
      }
    }
  }
  std::vector<FoundEntry> entries;
  const Listing dir = list(where.folder.get(), where.name);
  while (const dirent* item = dir ? ::readdir(dir.get()) : nullptr) {
    const std::string name = item->d_name;
    struct stat st {};
    if (isDots(item->d_name) || !matchesWildcard(name, namePattern) ||
        ::fstatat(::dirfd(dir.get()), item->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || S_ISLNK(st.st_mode)) {
      continue;
    }
    const bool isDir = S_ISDIR(st.st_mode);
    entries.push_back({name, (isDir ? kAttrDirectory : 0u) | attributes_.get(entryPath(name)),
                       isDir ? 0 : static_cast<std::uint64_t>(st.st_size)});
  }
  std::sort(entries.begin(), entries.end(),
            [](const FoundEntry& a, const FoundEntry& b) { return text::compareNoCase(a.name, b.name) < 0; });
  found.insert(found.end(), entries.begin(), entries.end());
  return found.empty() ? kErrorFileNotFound : kErrorSuccess;
}

std::uint32_t FileSystem::createDirectory(std::string_view p) {
  WindowsPath path;
  if (auto e = parse(p, path)) return e;
  if (auto e = checkDrive(path)) return e;
  if (path.isRoot()) return kErrorAccessDenied;
  Location where;
  if (auto e = locate(path, where)) return e;
  if (where.exists) return kErrorAlreadyExists;
  if (!where.parentExists || !where.parentIsFolder) return kErrorPathNotFound;
  if (auto e = checkChange(path, where.canonical)) return e;
  beforeChange();
  if (::mkdirat(where.folder.get(), where.name.c_str(), 0777) != 0) {
    return errno == ENOSPC ? kErrorDiskFull : kErrorAccessDenied;
  }
  return kErrorSuccess;
}

std::uint32_t FileSystem::removeDirectory(std::string_view p) {
  WindowsPath path;
  if (auto e = parse(p, path)) return e;
  if (auto e = checkDrive(path)) return e;
  if (path.isRoot()) return kErrorAccessDenied;
  Location where;
  if (auto e = locate(path, where)) return e;
  if (!where.exists) return where.parentExists ? kErrorFileNotFound : kErrorPathNotFound;
  if (!where.isFolder) return kErrorInvalidName;
  const std::string& canon = where.canonical;
  if (auto e = checkChange(path, canon)) return e;
  if (attributes_.get(canon) & kAttrReadOnly) return kErrorAccessDenied;
  // A folder that cannot be listed counts as not empty.
  const Listing dir = list(where.folder.get(), where.name);
  const dirent* item = nullptr;
  while (dir && (item = ::readdir(dir.get())) && isDots(item->d_name)) {
  }
  if (!dir || item) return kErrorDirNotEmpty;
  return removeWithAttributes(where);
}

std::uint32_t FileSystem::removeWithAttributes(const Location& where) {
  // The attributes go first, so that a failed save leaves the entry and its
  // attributes as they were; a failed removal gives the attributes back.
  const std::string& canon = where.canonical;
  const std::uint32_t attrs = attributes_.get(canon);
  if (auto e = attributes_.forget(canon)) return e;
  beforeChange();
  if (::unlinkat(where.folder.get(), where.name.c_str(), where.isFolder ? AT_REMOVEDIR : 0) != 0) {
    attributes_.set(canon, attrs);
    return kErrorAccessDenied;
  }
  return kErrorSuccess;
}

std::uint32_t FileSystem::deleteFile(std::string_view p) {
  WindowsPath path;
  if (auto e = parse(p, path)) return e;
  if (auto e = checkDrive(path)) return e;
  Location where;
  if (auto e = locate(path, where)) return e;
  if (!where.exists) return where.parentExists ? kErrorFileNotFound : kErrorPathNotFound;
  if (where.isFolder) return kErrorAccessDenied;
  const std::string& canon = where.canonical;
  if (auto e = checkChange(path, canon)) return e;
  if (underAny(canon, config_.faults.lockedFiles) || open_.count(text::upper(canon)) || (inUse_ && inUse_(canon))) {
    return kErrorSharingViolation;
  }
  if (attributes_.get(canon) & kAttrReadOnly) return kErrorAccessDenied;
  return removeWithAttributes(where);
}

std::uint32_t FileSystem::openFile(std::string_view p, FileAccess access, FileDisposition disposition, FileShare share,
                                   std::unique_ptr<OpenFile>& file) {
  file.reset();
  WindowsPath path;
  if (auto e = parse(p, path)) return e;
  if (auto e = checkDrive(path)) return e;
  if (path.isRoot()) return kErrorAccessDenied;
  Location where;
  if (auto e = locate(path, where)) return e;
  const bool exists = where.exists;
  if (!exists && (disposition == FileDisposition::OpenExisting)) {
    return where.parentExists ? kErrorFileNotFound : kErrorPathNotFound;
  }
  if (exists && disposition == FileDisposition::CreateNew) return kErrorFileExists;
  if (!exists && (!where.parentExists || !where.parentIsFolder)) return kErrorPathNotFound;
  if (exists && where.isFolder) return kErrorAccessDenied;

  const std::string& canon = where.canonical;
  const bool writes = access != FileAccess::Read || disposition == FileDisposition::CreateAlways || !exists;
  const std::uint32_t attrs = exists ? attributes_.get(canon) : 0;
  if (writes) {
    if (auto e = checkChange(path, canon)) return e;
    if (underAny(canon, config_.faults.lockedFiles) || (inUse_ && inUse_(canon))) return kErrorSharingViolation;
    if (attrs & kAttrReadOnly) return kErrorAccessDenied;
    // Replacing a hidden or system file needs those attributes named; plain
    // programs do not name them, so Windows refuses.
    if (exists && disposition == FileDisposition::CreateAlways && (attrs & (kAttrHidden | kAttrSystem))) {
      return kErrorAccessDenied;
    }
  }
  const std::string key = text::upper(canon);
  for (auto [it, end] = open_.equal_range(key); it != end; ++it) {
    if (it->second == FileShare::DenyAll || share == FileShare::DenyAll) return kErrorSharingViolation;
    if (it->second == FileShare::DenyWrite && access != FileAccess::Read) return kErrorSharingViolation;
  }

  // Not truncated on opening: the file is checked first. Not blocking, so
  // that a pipe standing in a drive is refused instead of waited for (on a
  // plain file the flag changes nothing).
  int flags = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;
  flags |= access == FileAccess::Read ? O_RDONLY : access == FileAccess::Write ? O_WRONLY : O_RDWR;
  if (disposition != FileDisposition::OpenExisting) flags |= O_CREAT;
  if (disposition == FileDisposition::CreateNew) flags |= O_EXCL;
  if (access == FileAccess::Read && (flags & O_CREAT)) flags = (flags & ~O_RDONLY) | O_RDWR;
  if (!exists || disposition == FileDisposition::CreateAlways) beforeChange();
  Fd fd(::openat(where.folder.get(), where.name.c_str(), flags, 0644));
  if (!fd) {
    if (errno == EEXIST) return kErrorFileExists;  // made by another program since the look-up
    return errno == ENOSPC || errno == EDQUOT ? kErrorDiskFull : errno == ENOENT ? kErrorPathNotFound : kErrorAccessDenied;
  }
  // Only plain files: a device or a pipe leads out of the machine. A file
  // with another hard link may be that of a file outside the machine folder:
  // it is not changed in place, but refused as Windows refuses a file that
  // another program holds open.
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return kErrorAccessDenied;
  if (writes && st.st_nlink > 1) return kErrorSharingViolation;
  if (disposition == FileDisposition::CreateAlways && st.st_size > 0 && ::ftruncate(fd.get(), 0) != 0) {
    return kErrorAccessDenied;
  }
  open_.emplace(key, share);
  const Drive* drive = driveOf(path.drive);
  file.reset(new OpenFile(*this, fd.release(), canon, access, drive->config.full, drive->config.host.empty() ? disk_ : nullptr));
  return kErrorSuccess;
}

std::uint32_t FileSystem::moveFile(std::string_view f, std::string_view t) {
  WindowsPath from, to;
  if (auto e = parse(f, from)) return e;
  if (auto e = parse(t, to)) return e;
  if (auto e = checkDrive(from)) return e;
  if (auto e = checkDrive(to)) return e;
  if (driveOf(from.drive) != driveOf(to.drive)) return kErrorNotSameDevice;
  if (from.isRoot() || to.isRoot()) return kErrorAccessDenied;
  Location source, target;
  if (auto e = locate(from, source)) return e;
  if (!source.exists) return source.parentExists ? kErrorFileNotFound : kErrorPathNotFound;
  if (auto e = locate(to, target)) return e;
  if (!target.exists && (!target.parentExists || !target.parentIsFolder)) return kErrorPathNotFound;
  if (source.isFolder || (target.exists && target.isFolder)) return kErrorAccessDenied;
  const std::string& src = source.canonical;
  const std::string& dst = target.canonical;
  if (auto e = checkChange(from, src)) return e;
  if (auto e = checkChange(to, dst)) return e;
  auto held = [&](const std::string& canon) {
    return underAny(canon, config_.faults.lockedFiles) || open_.count(text::upper(canon)) || (inUse_ && inUse_(canon));
  };
  if (held(src) || (target.exists && held(dst))) return kErrorSharingViolation;
  const std::uint32_t moved = attributes_.get(src);
  const std::uint32_t replaced = target.exists ? attributes_.get(dst) : 0;
  // As an open that empties a file: a read-only, hidden or system file is not replaced.
  if (replaced & (kAttrReadOnly | kAttrHidden | kAttrSystem)) return kErrorAccessDenied;
  if (text::equalsNoCase(src, dst)) return kErrorSuccess;
  // The content is on disk before the new name leads to it. A rename needs
  // no room on the drive, so a full one does not refuse it.
  {
    const Fd file(::openat(source.folder.get(), source.name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (!file || ::fsync(file.get()) != 0) return kErrorAccessDenied;
  }
  // The attributes go first, so that a failed save changes nothing; a failed
  // rename gives them back.
  if (moved != replaced) {
    if (auto e = attributes_.set(dst, moved)) return e;
  }
  if (moved) {
    if (auto e = attributes_.forget(src)) {
      attributes_.set(dst, replaced);
      return e;
    }
  }
  beforeChange();
  if (::renameat(source.folder.get(), source.name.c_str(), target.folder.get(), target.name.c_str()) != 0) {
    if (moved) attributes_.set(src, moved);
    if (moved != replaced) attributes_.set(dst, replaced);
    return kErrorAccessDenied;
  }
  // The folders are flushed, so that the new name stays after a crash of the host.
  for (const Fd* folder : {&target.folder, &source.folder}) {
    const Fd readable(::openat(folder->get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (readable) ::fsync(readable.get());
    if (source.host.parent_path() == target.host.parent_path()) break;
  }
  return kErrorSuccess;
}

int FileSystem::driveType(char letter) const {
  const Drive* drive = driveOf(letter);
  return drive ? drive->config.type : 1;
}

std::uint32_t FileSystem::freeSpace(char letter, std::uint64_t& freeBytes, std::uint64_t& totalBytes) const {
  freeBytes = totalBytes = 0;
  const Drive* drive = driveOf(letter);
  if (!drive || drive->config.type == 1) return kErrorInvalidDrive;
  if (!drive->config.medium) return kErrorNotReady;
  struct statvfs st {};
  if (::statvfs(drive->host.c_str(), &st) == 0) {
    freeBytes = static_cast<std::uint64_t>(st.f_bavail) * st.f_frsize;
    totalBytes = static_cast<std::uint64_t>(st.f_blocks) * st.f_frsize;
  }
  if (drive->config.full) freeBytes = 0;
  if (drive->config.freeBytes) {
    freeBytes = *drive->config.freeBytes;
    totalBytes = std::max(totalBytes, freeBytes);
  }
  return kErrorSuccess;
}

std::string FileSystem::volumeLabel(char letter) const {
  const Drive* drive = driveOf(letter);
  return drive ? drive->config.label : std::string();
}

std::vector<char> FileSystem::driveLetters() const {
  std::vector<char> letters;
  for (const auto& [letter, d] : drives_) letters.push_back(letter);
  return letters;
}

std::string FileSystem::mountHostFolder(const fs::path& hostFolder) {
  for (char letter = 'Z'; letter > 'C'; --letter) {
    if (drives_.count(letter)) continue;
    DriveConfig d;
    d.letter = letter, d.type = 4, d.readOnly = true, d.label = "host", d.host = hostFolder;
    drives_[letter] = makeDrive(d, hostFolder);
    return std::string(1, letter) + ":\\";
  }
  return {};
}

std::string FileSystem::windowsPathOfHost(const fs::path& hostPath) const {
  std::error_code ec;
  const fs::path target = fs::weakly_canonical(hostPath, ec);
  for (const auto& [letter, drive] : drives_) {
    const fs::path root = fs::weakly_canonical(drive.host, ec);
    const fs::path rel = target.lexically_relative(root);
    if (rel.empty() || *rel.begin() == "..") continue;
    WindowsPath w;
    w.drive = letter;
    for (const auto& part : rel) {
      if (part != ".") w.parts.push_back(part.string());
    }
    return w.text();
  }
  return {};
}

fs::path FileSystem::hostPath(std::string_view windowsPath) const {
  WindowsPath path;
  if (parse(windowsPath, path) || !driveOf(path.drive)) return {};
  Location where;
  return locate(path, where) ? fs::path() : where.host;
}

}  // namespace zov::machine
