#include "windows_path.h"

#include <cctype>

#include "platform/text/case_map.h"
#include "platform/text/utf8.h"

namespace zov::machine {

std::string WindowsPath::text() const {
  std::string s(1, drive);
  s += ":\\";
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i) s += '\\';
    s += parts[i];
  }
  return s;
}

WindowsPath WindowsPath::parent() const {
  WindowsPath p = *this;
  if (!p.parts.empty()) p.parts.pop_back();
  return p;
}

std::vector<std::string> CurrentFolders::folderOf(char d) const {
  for (const auto& [letter, parts] : folders) {
    if (letter == d) return parts;
  }
  return {};
}

void CurrentFolders::set(const WindowsPath& folder) {
  drive = folder.drive;
  for (auto& [letter, parts] : folders) {
    if (letter == folder.drive) {
      parts = folder.parts;
      return;
    }
  }
  folders.emplace_back(folder.drive, folder.parts);
}

namespace {

bool invalidNameChar(char32_t c, bool allowWildcards) {
  if (c < 32) return true;
  switch (c) {
    case '<': case '>': case ':': case '"': case '/': case '|':
      return true;
    case '*': case '?':
      return !allowWildcards;
    default:
      return false;
  }
}

}  // namespace

std::optional<WindowsPath> parseWindowsPath(std::string_view text, const CurrentFolders& current, PathProblem& problem,
                                            bool allowWildcards) {
  problem = PathProblem::None;
  WindowsPath path;
  std::string_view rest = text;
  bool absolute = false;
  if (rest.size() >= 2 && rest[1] == ':' && std::isalpha(static_cast<unsigned char>(rest[0]))) {
    path.drive = static_cast<char>(std::toupper(static_cast<unsigned char>(rest[0])));
    rest.remove_prefix(2);
  } else {
    path.drive = current.drive;
  }
  if (rest.size() >= 2 && rest[0] == '\\' && rest[1] == '\\' && text.size() == rest.size()) {
    problem = PathProblem::NotSupported;  // network (UNC) paths: no network on this machine
    return std::nullopt;
  }
  if (!rest.empty() && rest[0] == '\\') {
    absolute = true;
    rest.remove_prefix(1);
  }
  if (!absolute) path.parts = current.folderOf(path.drive);

  std::vector<std::string_view> raw;
  std::size_t start = 0;
  while (start <= rest.size()) {
    const auto end = rest.find('\\', start);
    raw.push_back(rest.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  for (std::size_t i = 0; i < raw.size(); ++i) {
    std::string part(raw[i]);
    const bool last = (i + 1 == raw.size());
    if (part.empty()) continue;  // "a\\b" and a trailing "\" add nothing
    if (part == ".") continue;
    if (part == "..") {
      if (!path.parts.empty()) path.parts.pop_back();
      continue;
    }
    while (!part.empty() && (part.back() == '.' || part.back() == ' ')) part.pop_back();
    if (part.empty()) {
      problem = PathProblem::InvalidName;
      return std::nullopt;
    }
    for (char32_t c : text::decode(part)) {
      if (invalidNameChar(c, allowWildcards && last)) {
        problem = PathProblem::InvalidName;
        return std::nullopt;
      }
    }
    path.parts.push_back(std::move(part));
  }
  return path;
}

bool hasWildcards(std::string_view t) { return t.find_first_of("*?") != std::string_view::npos; }

namespace {

bool match(const std::u32string& n, std::size_t ni, const std::u32string& p, std::size_t pi) {
  while (pi < p.size()) {
    if (p[pi] == '*') {
      while (pi < p.size() && p[pi] == '*') ++pi;
      if (pi == p.size()) return true;
      for (std::size_t k = ni; k <= n.size(); ++k) {
        if (match(n, k, p, pi)) return true;
      }
      return false;
    }
    if (ni == n.size()) {
      // A trailing ".", "?" or ".*" still matches a name that has ended.
      if (p[pi] == '.' || p[pi] == '?') {
        ++pi;
        continue;
      }
      return false;
    }
    if (p[pi] != '?' && text::toUpper(p[pi]) != text::toUpper(n[ni])) return false;
    ++ni, ++pi;
  }
  return ni == n.size();
}

}  // namespace

bool matchesWildcard(std::string_view name, std::string_view pattern) {
  if (pattern == "*.*" || pattern == "*") return true;
  return match(text::decode(name), 0, text::decode(pattern), 0);
}

}  // namespace zov::machine
