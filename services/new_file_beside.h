// A file that is there is replaced only by a whole new one: the new content
// goes into a new file beside it, which then takes its place in one step
// (MoveFileExA with MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH), so
// that a reader, a kill or a full disk meets the old content or the new one.
#pragma once

#include <string>

namespace zov {

// A new empty file in the folder of `path`, of a name that no file there has
// ("ZOV", four hex digits, ".tmp"); empty when it cannot be made, with
// GetLastError saying why. Leftovers in that folder go first (below).
std::string NewFileBeside(const std::string& path);

// Removes from `folder` the new files that a killed installation left beside
// the files it was replacing: the installer's own ("ZOV", four hex digits,
// ".tmp") and those of the shell object's shortcuts ("lnk", four hex digits,
// ".tmp"). Only while this run holds the installer mutex, under which no
// other installer can be writing one; this run's own never outlive the
// replacement that made them. Failures are passed over.
void ClearLeftoverNewFiles(const std::string& folder);

}  // namespace zov
