// Files whose SZDD member has an exact length. A file is made of content and
// a tail of bytes 0x80-0xFF that the compressor cannot shorten: a short run
// of 0x80 (one literal and one or two matches, whatever the run's length)
// and then bytes in which no three repeat (literals only). With the
// content's items known, the tail that makes the member as long as wanted
// follows from the group arithmetic: 14 bytes of header, one byte per
// literal, two per match, one control byte per eight items.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace zov::packaging {

// Makes a file from a content size and a tail: the content, then the tail.
// The content's bytes stay below 0x80 (a few header fields aside).
using FileMaker = std::function<std::vector<std::uint8_t>(std::size_t contentSize, std::span<const std::uint8_t> tail)>;

struct FittedFile {
  std::vector<std::uint8_t> file;
  std::vector<std::uint8_t> member;
};

// The file of `make` (and its member) whose member is exactly `memberLength`
// bytes and whose length is a multiple of `multiple` (1 or 2), starting from
// `contentSize` and making the content smaller where it alone is too long.
// Throws std::logic_error when no file fits.
FittedFile FitToMemberLength(std::size_t memberLength, std::size_t multiple, std::size_t contentSize,
                             const FileMaker& make);

}  // namespace zov::packaging
