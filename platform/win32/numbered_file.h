// New empty files of names that no file has yet, "<prefix><4 hex digits>.tmp"
// in a folder: what GetTempFileNameA makes, and where the shell object writes
// a shortcut before it takes the old one's place.
#pragma once

#include <cstdint>
#include <string>

namespace zov::win32 {

// The file of `number` (its low 16 bits) in `folder`, which is empty or ends in "\".
std::string NumberedFileName(const std::string& folder, const std::string& prefix, unsigned number);

// Creates the next free one and sets `path` to it; returns its number, or 0
// with `error` the error of its creation. Each program starts its numbers
// elsewhere, so that programs making such files in one folder at once seldom
// meet; a number taken is passed over.
unsigned CreateNumberedFile(const std::string& folder, const std::string& prefix, std::string& path,
                            std::uint32_t& error);

}  // namespace zov::win32
