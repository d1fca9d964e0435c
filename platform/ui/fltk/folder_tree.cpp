#include "platform/ui/fltk/folder_tree.h"

#include <cctype>

namespace zov::ui::fltk {

std::vector<FolderRow> folderRows(const std::string& path, const std::vector<std::string>& below) {
  std::vector<FolderRow> rows;
  if (path.empty()) return rows;
  // The root: "C:\" (shown "c:\"), or the part before the first backslash.
  const std::size_t rootEnd = path.find('\\');
  std::string root = path.substr(0, rootEnd == std::string::npos ? path.size() : rootEnd) + "\\";
  std::string rootText = root;
  if (root.size() == 3 && root[1] == ':') rootText[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(root[0])));
  rows.push_back({rootText, root, 0, true});

  std::string current = root;
  std::size_t start = rootEnd == std::string::npos ? path.size() : rootEnd + 1;
  while (start < path.size()) {
    std::size_t end = path.find('\\', start);
    if (end == std::string::npos) end = path.size();
    if (end > start) {
      const std::string name = path.substr(start, end - start);
      current += (current.back() == '\\' ? "" : "\\") + name;
      rows.push_back({name, current, static_cast<int>(rows.size()), true});
    }
    start = end + 1;
  }
  const int depth = static_cast<int>(rows.size());
  for (const std::string& name : below) {
    rows.push_back({name, current + (current.back() == '\\' ? "" : "\\") + name, depth, false});
  }
  return rows;
}

int currentFolderRow(const std::vector<FolderRow>& rows) {
  int current = -1;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].open) current = static_cast<int>(i);
  }
  return current;
}

}  // namespace zov::ui::fltk
