#include "ini_file.h"

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
  int lineNo = 0;
  std::size_t pos = 0;
  while (pos <= text.size()) {
    const auto end = text.find('\n', pos);
    const std::string raw = text.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
    pos = (end == std::string::npos) ? text.size() + 1 : end + 1;
    ++lineNo;
    const std::string line = trimmed(raw);
    if (line.empty() || line[0] == ';' || line[0] == '#') continue;
    if (line[0] == '[') {
      if (line.back() != ']') throw MachineFileError(file, lineNo, "a section name must end with ']'");
      const std::string name = trimmed(line.substr(1, line.size() - 2));
      if (name.empty()) throw MachineFileError(file, lineNo, "empty section name");
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
  return sections;
}

}  // namespace zov::machine
