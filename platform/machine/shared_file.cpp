#include "shared_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace zov::machine {

SharedFile::SharedFile(std::filesystem::path file, HostDisk* disk) : file_(std::move(file)), disk_(disk) {}

SharedFile::Lock::Lock(const SharedFile& file) {
  const std::string name = file.file_.string() + ".lock";
  fd_ = ::open(name.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
  if (fd_ < 0) {
    error_ = errno;
    return;
  }
  while (::flock(fd_, LOCK_EX) != 0) {
    if (errno == EINTR) continue;
    error_ = errno;
    return;
  }
}

SharedFile::Lock::~Lock() {
  if (fd_ >= 0) ::close(fd_);  // closing releases the lock
}

bool SharedFile::changed() const { return identityOf(file_) != seen_; }

bool SharedFile::read(std::string& text, int& error) {
  error = 0;
  text.clear();
  read_ = {};
  const int fd = ::open(file_.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    if (errno != ENOENT) error = errno;
    return false;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    error = ::fstat(fd, &st) != 0 ? errno : S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
    ::close(fd);
    return false;
  }
  const FileIdentity identity = identityOf(fd);
  // A byte more than the file holds, to see its end without growing the text.
  text.resize(static_cast<std::size_t>(st.st_size) + 1);
  std::size_t done = 0;
  for (;;) {
    if (done == text.size()) text.resize(text.size() + 65536);  // a file that grew
    const ssize_t n = ::read(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      error = errno;
      ::close(fd);
      text.clear();
      return false;
    }
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  ::close(fd);
  text.resize(done);
  read_ = identity;
  return true;
}

void SharedFile::removeLeftovers() const {
  const Lock lock(*this);
  if (!lock.error()) removeLeftoverTemporaries(file_);
}

int SharedFile::write(std::string_view content) {
  removeLeftoverTemporaries(file_);
  FileIdentity written;
  const int err = replaceFile(file_, content, disk_, &written);
  if (err == 0) seen_ = written;
  return err;
}

}  // namespace zov::machine
