// The SZDD compressor (mode 'A') that packs the installer's members.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace zov::packaging {

// A whole SZDD file: the 14-byte header (last name character 0x00) and the
// LZSS data, found with hash chains and lazy matching. Matches may reach into
// the window's initial blanks. Throws std::length_error for data longer than
// the expansion can report (szdd::kMaxUnpackedSize).
std::vector<std::uint8_t> compressSzdd(std::span<const std::uint8_t> data);

}  // namespace zov::packaging
