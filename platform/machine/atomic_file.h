// Writing a file so that it is never left half-written: a temporary file in
// the same folder, flushed to disk, then renamed over the target.
#pragma once

#include <filesystem>
#include <string_view>

namespace zov::machine {

// Throws std::runtime_error naming the file when it cannot be written.
void writeFileAtomically(const std::filesystem::path& file, std::string_view content);

}  // namespace zov::machine
