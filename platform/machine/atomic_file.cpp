#include "atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

// Flushes the folder that holds `file`, so that a rename in it is on disk.
void flushFolderOf(const std::filesystem::path& file) {
  const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
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
  std::string temp = file.string() + ".XXXXXX";
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

}  // namespace zov::machine
