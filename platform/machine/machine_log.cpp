#include "machine_log.h"

#include <fcntl.h>
#include <unistd.h>

#include <ctime>

namespace zov::machine {

void MachineLog::write(const std::string& event) {
  thisRun_.push_back(event);
  char stamp[32];
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  gmtime_r(&now, &tm);
  std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%SZ ", &tm);
  const std::string line = stamp + event + "\n";
  // One write of the whole line in append mode: lines never interleave or tear.
  const int fd = ::open(file_.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0) return;
  [[maybe_unused]] const ssize_t n = ::write(fd, line.data(), line.size());
  ::close(fd);
}

}  // namespace zov::machine
