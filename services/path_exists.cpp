#include "services/path_exists.h"

#include <string>

#include "platform/runtime/files.h"
#include "platform/runtime/runtime_error.h"
#include "platform/runtime/strings.h"

namespace zov {

bool PathExists(std::string_view path, int attributes) {
  const std::string p = runtime::Trim(path);
  if (p.empty()) return false;
  std::string found;
  runtime::IgnoreErrors([&] { found = runtime::Dir(p, attributes); });
  return !found.empty();
}

}  // namespace zov
