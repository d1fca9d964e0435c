#include "machine_log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <stdexcept>
#include <string_view>

#include "platform/text/utf8.h"

namespace zov::machine {

namespace {

// The log opened for appending, not through a link and not blocking on a
// pipe; -1 when it cannot be, or is no plain file, or has another hard link.
int openLog(const std::filesystem::path& file) {
  const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
  struct stat st {};
  if (fd < 0 || (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_nlink == 1)) return fd;
  ::close(fd);
  return -1;
}

// The length of the UTF-8 sequence at `at`, 0 when the byte starts none.
std::size_t sequenceAt(std::string_view text, std::size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  const std::size_t n = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
  return n && at + n <= text.size() && text::isValid(text.substr(at, n)) ? n : 0;
}

// An event as its line holds it.
std::string escaped(std::string_view event) {
  std::string out;
  out.reserve(event.size());
  for (std::size_t i = 0; i < event.size();) {
    const auto c = static_cast<unsigned char>(event[i]);
    const std::size_t n = c < 0x80 ? 1 : sequenceAt(event, i);
    // C0 and C1 controls, DEL, the escape's own sign and stray bytes.
    const bool control = c < 0x20 || c == 0x7F || c == '%' || (c == 0xC2 && n == 2 && static_cast<unsigned char>(event[i + 1]) < 0xA0);
    const std::size_t bytes = n == 0 ? 1 : n;
    if (n == 0 || control) {
      for (std::size_t k = 0; k < bytes; ++k) {
        static constexpr char kHex[] = "0123456789ABCDEF";
        const auto b = static_cast<unsigned char>(event[i + k]);
        out += {'%', kHex[b >> 4], kHex[b & 15]};
      }
    } else {
      out.append(event.substr(i, n));
    }
    i += bytes;
  }
  return out;
}

}  // namespace

MachineLog::MachineLog(std::filesystem::path file, const MachineClock& clock) : file_(std::move(file)), clock_(clock) {
  struct stat st {};
  if (::lstat(file_.c_str(), &st) != 0) return;  // made at the first event
  const char* problem = S_ISLNK(st.st_mode)    ? "is a symbolic link"
                        : !S_ISREG(st.st_mode) ? "is not a plain file"
                        : st.st_nlink > 1      ? "has another hard link, which may be a file outside the machine folder"
                                               : nullptr;
  if (problem) {
    throw std::runtime_error(file_.string() + ": the machine's log " + problem +
                             "; the machine writes its log only to a plain file of its own");
  }
}

void MachineLog::write(const std::string& event) {
  thisRun_.push_back(event);
  const auto moment = std::chrono::time_point_cast<std::chrono::milliseconds>(clock_.timeOfDay());
  const std::time_t seconds = std::chrono::system_clock::to_time_t(moment);
  const auto millis = moment.time_since_epoch().count() % 1000;
  std::tm tm{};
  gmtime_r(&seconds, &tm);
  char stamp[40];
  const std::size_t used = std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%S", &tm);
  std::snprintf(stamp + used, sizeof stamp - used, ".%03dZ ", static_cast<int>(millis));
  const std::string line = stamp + escaped(event) + "\n";
  // One write of the whole line in append mode: lines never interleave or tear.
  const int fd = openLog(file_);
  if (fd < 0) return;
  [[maybe_unused]] const ssize_t n = ::write(fd, line.data(), line.size());
  ::close(fd);
}

}  // namespace zov::machine
