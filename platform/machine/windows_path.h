// Windows path texts: parsing into drive and components, as Windows reads
// them. "\" is the only separator; "/" and the other characters Windows
// refuses in names make a path invalid.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zov::machine {

struct WindowsPath {
  char drive = 'C';                // upper-case letter
  std::vector<std::string> parts;  // components below the drive's root; empty for the root

  std::string text() const;  // "C:\A\B", or "C:\" for the root
  bool isRoot() const { return parts.empty(); }
  WindowsPath parent() const;
  std::string name() const { return parts.empty() ? std::string() : parts.back(); }
};

enum class PathProblem { None, InvalidName, NotSupported };

// The process's current folder on each drive, and its current drive.
struct CurrentFolders {
  char drive = 'C';
  // Folder per drive letter; a drive without an entry is at its root.
  std::vector<std::pair<char, std::vector<std::string>>> folders;
  std::vector<std::string> folderOf(char drive) const;
  void set(const WindowsPath& folder);
};

// Parses an absolute ("C:\a"), drive-relative ("C:a", "C:"), root-relative
// ("\a") or relative ("a\b") path. "." and ".." are applied; trailing dots
// and blanks of each component are dropped, as Windows does. With
// `allowWildcards`, '*' and '?' may stand in the last component.
std::optional<WindowsPath> parseWindowsPath(std::string_view text, const CurrentFolders& current, PathProblem& problem,
                                            bool allowWildcards = false);

// True when `name` matches the Windows wildcard pattern ('*', '?'; "*.*"
// matches every name, also one without a dot), compared without case.
bool matchesWildcard(std::string_view name, std::string_view pattern);

bool hasWildcards(std::string_view text);

}  // namespace zov::machine
