#include "ini_file.h"

#include <algorithm>

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
      const auto same = std::find_if(sections.begin(), sections.end(),
                                     [&](const IniSection& s) { return text::equalsNoCase(s.name, name); });
      if (same != sections.end()) {
        throw MachineFileError(file, lineNo, "[" + name + "] stands twice (also at line " + std::to_string(same->line) + ")");
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

}  // namespace zov::machine
