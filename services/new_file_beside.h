// A file that is there is replaced only by a whole new one: the new content
// goes into a new file beside it, which then takes its place in one step
// (MoveFileExA with MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH), so
// that a reader, a kill or a full disk meets the old content or the new one.
#pragma once

#include <string>

namespace zov {

// A new empty file in the folder of `path`, of a name that no file there has
// ("ZOV", four hex digits, ".tmp"); empty when it cannot be made, with
// GetLastError saying why.
std::string NewFileBeside(const std::string& path);

}  // namespace zov
