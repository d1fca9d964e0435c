#include "services/new_file_beside.h"

#include "platform/win32/kernel.h"

namespace zov {

std::string NewFileBeside(const std::string& path) {
  const std::size_t slash = path.rfind('\\');
  std::string buffer(260, '\0');
  if (win32::GetTempFileNameA(slash == std::string::npos ? "" : path.substr(0, slash), "ZOV", 0, buffer) == 0) return {};
  return buffer.substr(0, buffer.find('\0'));
}

}  // namespace zov
