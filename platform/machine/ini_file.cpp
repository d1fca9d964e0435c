#include "ini_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unordered_map>

#include "platform/text/case_map.h"
#include "platform/text/utf8.h"

namespace zov::machine {

MachineFileError::MachineFileError(const std::filesystem::path& f, int l, const std::string& reason)
    : std::runtime_error(f.string() + ":" + std::to_string(l) + ": " + reason), file(f), line(l) {}

namespace {

std::string trimmed(const std::string& s) {
  const auto first = s.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  const auto last = s.find_last_not_of(" \t\r");
  return s.substr(first, last - first + 1);
}

}  // namespace

std::vector<IniSection> parseIni(const std::string& text, const std::filesystem::path& file) {
  std::vector<IniSection> sections;
  // Each section's name in upper case -> its index, to find one that stands twice.
  std::unordered_map<std::string, std::size_t> names;
  if (text.starts_with("\xEF\xBB\xBF")) throw MachineFileError(file, 1, "a byte order mark: save the file as UTF-8 without it");
  int lineNo = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const auto end = text.find('\n', pos);
    std::string raw = text.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
    pos = (end == std::string::npos) ? text.size() : end + 1;
    ++lineNo;
    if (!raw.empty() && raw.back() == '\r') raw.pop_back();
    if (raw.find('\0') != std::string::npos) throw MachineFileError(file, lineNo, "a NUL character in the line");
    if (raw.find('\r') != std::string::npos) throw MachineFileError(file, lineNo, "a carriage return inside the line");
    if (!text::isValid(raw)) throw MachineFileError(file, lineNo, "the line is not UTF-8 text");
    const std::string line = trimmed(raw);
    if (line.empty() || line[0] == ';' || line[0] == '#') continue;
    if (line[0] == '[') {
      if (line.back() != ']') throw MachineFileError(file, lineNo, "a section name must end with ']'");
      const std::string name = trimmed(line.substr(1, line.size() - 2));
      if (name.empty()) throw MachineFileError(file, lineNo, "empty section name");
      const auto [same, added] = names.emplace(text::upper(name), sections.size());
      if (!added) {
        throw MachineFileError(file, lineNo,
                               "[" + name + "] stands twice (also at line " + std::to_string(sections[same->second].line) + ")");
      }
      sections.push_back({name, lineNo, {}});
      continue;
    }
    const auto eq = line.find('=');
    if (eq == std::string::npos) throw MachineFileError(file, lineNo, "expected 'key=value' or '[section]'");
    if (sections.empty()) throw MachineFileError(file, lineNo, "a value before the first [section]");
    const std::string key = trimmed(line.substr(0, eq));
    if (key.empty()) throw MachineFileError(file, lineNo, "a value without a key");
    sections.back().entries.push_back({key, trimmed(line.substr(eq + 1)), lineNo});
  }
  if (sections.empty()) throw MachineFileError(file, std::max(lineNo, 1), "no [section]: the file is empty");
  return sections;
}

bool readIniFile(const std::filesystem::path& file, std::string& text) {
  text.clear();
  const int fd = ::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0 && errno == ENOENT) return false;
  struct stat st {};
  std::string problem = fd < 0 && errno == ELOOP ? "it is a symbolic link"
                        : fd < 0                 ? std::strerror(errno)
                        : ::fstat(fd, &st) != 0  ? std::strerror(errno)
                        : !S_ISREG(st.st_mode)   ? "it is not a plain file"
                                                 : "";
  for (char buffer[65536]; problem.empty();) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n == 0) break;
    if (n > 0) text.append(buffer, static_cast<std::size_t>(n));
    else if (errno != EINTR) problem = std::strerror(errno);
  }
  if (fd >= 0) ::close(fd);
  if (!problem.empty()) throw MachineFileError(file, 1, "cannot be read: " + problem);
  return true;
}

}  // namespace zov::machine
