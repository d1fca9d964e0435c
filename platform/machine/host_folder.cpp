#include "host_folder.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/machine/fd.h"

namespace zov::machine {

namespace fs = std::filesystem;

namespace {

const std::string kRelativeHost = " (a relative Host= names a folder inside the machine folder, reached through no link)";

// Why the folder `reached` could not be opened (errno `err`) from the folder `from`.
std::string unreachable(int from, const fs::path& reached, const std::string& value, int err) {
  struct stat st {};
  if (::fstatat(from, reached.filename().c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode)) {
    return "Host=" + value + " goes through the symbolic link " + reached.string() + kRelativeHost;
  }
  if (err == ENOENT) return "the host folder " + reached.string() + " does not exist";
  if (err == ENOTDIR) return "the host folder " + reached.string() + " is not a folder";
  return "the host folder " + reached.string() + " cannot be opened: " + std::strerror(err);
}

// Walks a relative value that does not lead out from the machine folder as
// written; "" or why it is refused. `inside` receives the folder it reaches,
// relative to the machine folder.
std::string walk(const fs::path& machineFolder, const fs::path& written, const std::string& value, fs::path& inside) {
  // The folders of the walk: ".." goes back to the one it came from.
  std::vector<Fd> way;
  way.emplace_back(::open(machineFolder.empty() ? "." : machineFolder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
  if (!way.back()) return "the machine folder " + machineFolder.string() + " cannot be opened: " + std::strerror(errno);
  fs::path reached = machineFolder;
  for (const auto& part : written) {
    if (part.empty() || part == ".") continue;  // "a//b", "a/./b" and the end of "a/"
    reached /= part;
    if (part == "..") {
      way.pop_back();
      inside = inside.parent_path();
      continue;
    }
    Fd next(::openat(way.back().get(), part.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!next) return unreachable(way.back().get(), reached, value, errno);
    way.push_back(std::move(next));
    inside /= part;
  }
  if (way.size() == 1) return "Host=" + value + " names the machine folder itself" + kRelativeHost;
  return {};
}

// True when a prefix of the value, read as text, lies above the machine folder.
bool leadsOut(const fs::path& written) {
  int depth = 0;
  for (const auto& part : written) {
    if (part == "..") {
      if (--depth < 0) return true;
    } else if (!part.empty() && part != ".") {
      ++depth;
    }
  }
  return false;
}

}  // namespace

std::string readHostFolder(const fs::path& machineFolder, const std::string& value, fs::path& folder) {
  if (value.empty()) return "Host= needs a folder";
  const fs::path written(value);
  if (written.is_absolute()) {
    const fs::path normal = written.lexically_normal();
    std::error_code ec;
    if (!fs::is_directory(normal, ec)) return "the host folder " + normal.string() + " does not exist";
    folder = normal;
    return {};
  }
  // Leading out is refused as such, whatever the folders on the way are.
  if (leadsOut(written)) return "Host=" + value + " leads out of the machine folder" + kRelativeHost;
  fs::path inside;
  if (std::string why = walk(machineFolder, written, value, inside); !why.empty()) return why;
  folder = machineFolder / inside;
  return {};
}

}  // namespace zov::machine
