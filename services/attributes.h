// Clearing the hidden or the read-only attribute of a file or folder before
// the installer replaces or deletes it.
#pragma once

#include <string_view>

namespace zov {

// Both work on the trimmed path, never raise an error and never show a
// message. The result is a failure flag: true when the path still has the
// attribute afterwards; false when it is clear or the path does not exist.
bool ClearHiddenAttr(std::string_view path);
bool ClearReadOnlyAttr(std::string_view path);

}  // namespace zov
