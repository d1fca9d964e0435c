#include "atomic_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

namespace zov::machine {

void writeFileAtomically(const std::filesystem::path& file, std::string_view content) {
  const std::filesystem::path temp = file.string() + ".tmp";
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) throw std::runtime_error(file.string() + ": cannot be written: " + std::strerror(errno));
  std::size_t done = 0;
  while (done < content.size()) {
    const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      const int err = errno;
      ::close(fd);
      ::unlink(temp.c_str());
      throw std::runtime_error(file.string() + ": cannot be written: " + std::strerror(err));
    }
    done += static_cast<std::size_t>(n);
  }
  if (::fsync(fd) != 0 || ::close(fd) != 0) {
    const int err = errno;
    ::unlink(temp.c_str());
    throw std::runtime_error(file.string() + ": cannot be written: " + std::strerror(err));
  }
  if (::rename(temp.c_str(), file.c_str()) != 0) {
    const int err = errno;
    ::unlink(temp.c_str());
    throw std::runtime_error(file.string() + ": cannot be replaced: " + std::strerror(err));
  }
  // Make the rename itself durable.
  std::filesystem::path folder = file.parent_path();
  if (folder.empty()) folder = ".";
  if (const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
}

}  // namespace zov::machine
