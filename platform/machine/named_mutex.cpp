#include "platform/machine/named_mutex.h"

#include <fcntl.h>
#include <sys/file.h>

#include <cctype>
#include <cerrno>

namespace zov::machine {

namespace {

std::string fileNameOf(const std::string& name) {
  std::string file = name;
  for (char& c : file) {
    const bool plain = std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '_';
    if (!plain) c = '_';
  }
  return file + ".mutex";
}

}  // namespace

NamedMutex::NamedMutex(const std::filesystem::path& machineFolder, const std::string& name) {
  const std::filesystem::path file = machineFolder / fileNameOf(name);
  Fd fd(::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644));
  if (!fd) return;
  while (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
    if (errno == EINTR) continue;
    heldElsewhere_ = errno == EWOULDBLOCK;
    return;
  }
  lock_ = std::move(fd);
}

}  // namespace zov::machine
