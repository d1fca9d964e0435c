#include "services/new_file_beside.h"

#include <cctype>
#include <vector>

#include "platform/runtime/files.h"
#include "platform/runtime/runtime_error.h"
#include "platform/text/case_map.h"
#include "platform/win32/kernel.h"
#include "services/installer_mutex.h"

namespace zov {

namespace {

// "ZOV" or "lnk" (any case), four hex digits, ".tmp" (any case).
bool isLeftoverNewFile(const std::string& name) {
  if (name.size() != 11) return false;
  const std::string prefix = text::lower(name.substr(0, 3));
  if (prefix != "zov" && prefix != "lnk") return false;
  for (std::size_t i = 3; i < 7; ++i) {
    if (!std::isxdigit(static_cast<unsigned char>(name[i]))) return false;
  }
  return text::lower(name.substr(7)) == ".tmp";
}

}  // namespace

void ClearLeftoverNewFiles(const std::string& folder) {
  if (folder.empty() || !HoldsInstallerMutex()) return;
  std::vector<std::string> leftovers;
  runtime::IgnoreErrors([&] {
    for (std::string name = runtime::Dir(folder + "\\*.tmp"); !name.empty(); name = runtime::Dir()) {
      if (isLeftoverNewFile(name)) leftovers.push_back(name);
    }
  });
  for (const std::string& name : leftovers) runtime::IgnoreErrors([&] { runtime::Kill(folder + "\\" + name); });
}

std::string NewFileBeside(const std::string& path) {
  const std::size_t slash = path.rfind('\\');
  const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash);
  ClearLeftoverNewFiles(folder);
  std::string buffer(260, '\0');
  if (win32::GetTempFileNameA(folder, "ZOV", 0, buffer) == 0) return {};
  return buffer.substr(0, buffer.find('\0'));
}

}  // namespace zov
