// The rows of a folder list: the folders from the drive's root down to the
// current folder, each open and one step further in, then the folders
// below the current one, closed.
#pragma once

#include <string>
#include <vector>

namespace zov::ui::fltk {

struct FolderRow {
  std::string text;  // "c:\" for a drive's root, otherwise the folder's name
  std::string path;  // the folder's full path ("C:\", "C:\Program Files")
  int depth = 0;
  bool open = false;
};

// `path` is the folder shown ("C:\" or "C:\A\B"), `below` the names of its subfolders.
std::vector<FolderRow> folderRows(const std::string& path, const std::vector<std::string>& below);
// The row of the current folder: the last open one; -1 when there is none.
int currentFolderRow(const std::vector<FolderRow>& rows);

}  // namespace zov::ui::fltk
