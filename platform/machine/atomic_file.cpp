#include "atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

#include "platform/machine/kill_at_change.h"

namespace zov::machine {

bool HostDisk::take(std::uint64_t bytes) {
  if (!freeBytes) return true;
  if (bytes > *freeBytes) return false;
  *freeBytes -= bytes;
  return true;
}

namespace {

// What a temporary file's name adds to its file's name, before the six
// letters or digits that make it unique.
constexpr std::string_view kTemporaryMark = ".~zovsave-";
constexpr std::size_t kUniqueLength = 6;

FileIdentity identityFrom(const struct stat& st) {
  return {true,
          static_cast<std::uint64_t>(st.st_dev),
          static_cast<std::uint64_t>(st.st_ino),
          static_cast<std::uint64_t>(st.st_size),
          static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

// Writes all of `content` from the file's current position; 0 or the errno.
int writeAll(int fd, std::string_view content) {
  std::size_t done = 0;
  while (done < content.size()) {
    const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    done += static_cast<std::size_t>(n);
  }
  return 0;
}

std::filesystem::path folderOf(const std::filesystem::path& file) {
  return file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
}

// Flushes the folder that holds `file`, so that a rename in it is on disk.
void flushFolderOf(const std::filesystem::path& file) {
  const int fd = ::open(folderOf(file).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  // The rename has been made and others already see it: a flush that fails
  // cannot take it back, so the change stands as made.
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

FileIdentity identityOf(const std::filesystem::path& file) {
  struct stat st {};
  return ::stat(file.c_str(), &st) == 0 ? identityFrom(st) : FileIdentity{};
}

FileIdentity identityOf(int fd) {
  struct stat st {};
  return ::fstat(fd, &st) == 0 ? identityFrom(st) : FileIdentity{};
}

int replaceFile(const std::filesystem::path& file, std::string_view content, HostDisk* disk, FileIdentity* written) {
  std::string temp = file.string() + std::string(kTemporaryMark) + std::string(kUniqueLength, 'X');
  beforeChange();
  const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) return errno;
  auto fail = [&](int err) {
    ::close(fd);
    ::unlink(temp.c_str());
    return err;
  };
  if (::fchmod(fd, 0644) != 0) return fail(errno);
  if (disk && !disk->take(content.size())) return fail(ENOSPC);
  beforeChange([&] { (void)writeAll(fd, content.substr(0, content.size() / 2)); });
  if (const int err = writeAll(fd, content)) return fail(err);
  if (::fsync(fd) != 0) return fail(errno);
  if (::close(fd) != 0) {
    const int err = errno;
    ::unlink(temp.c_str());
    return err;
  }
  // The identity after the last write and before the rename, which keeps it.
  if (written) *written = identityOf(std::filesystem::path(temp));
  beforeChange();
  if (::rename(temp.c_str(), file.c_str()) != 0) {
    const int err = errno;
    ::unlink(temp.c_str());
    return err;
  }
  flushFolderOf(file);
  return 0;
}

void writeFileAtomically(const std::filesystem::path& file, std::string_view content) {
  if (const int err = replaceFile(file, content)) {
    throw std::runtime_error(file.string() + ": cannot be written: " + std::strerror(err));
  }
}

void removeLeftoverTemporaries(const std::filesystem::path& file) {
  const std::string prefix = file.filename().string() + std::string(kTemporaryMark);
  DIR* dir = ::opendir(folderOf(file).c_str());
  if (!dir) return;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (name.size() == prefix.size() + kUniqueLength && name.starts_with(prefix) &&
        std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                    [](char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); })) {
      ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
  }
  ::closedir(dir);
}

}  // namespace zov::machine
