// Whether a path is present: a directory listing of it with an attribute
// mask finds an entry. The listing also finds a plain file of that name, and
// hidden or system entries only when the mask names them.
#pragma once

#include <string_view>

namespace zov {

// The mask that lists an entry whatever its attributes: read-only, hidden,
// system, directory and archive.
inline constexpr int kAnyAttribute = 55;

// Works on the trimmed path. A blank path, and one that cannot be listed at
// all (a bad name, a drive without a medium), is not present.
bool PathExists(std::string_view path, int attributes);

}  // namespace zov
