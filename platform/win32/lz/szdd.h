// Expansion of SZDD files ("compress", mode 'A'): the codec under the LZ
// expansion functions. A streaming decoder whose memory is a few fixed-size
// buffers (the 4096-byte window, 64 KiB of input, 64 KiB of output), whatever
// the size of the file.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace zov::lz {

// Error codes of the LZ expansion library.
enum : std::int32_t {
  LZERROR_BADINHANDLE = -1,
  LZERROR_BADOUTHANDLE = -2,
  LZERROR_READ = -3,
  LZERROR_WRITE = -4,
  LZERROR_GLOBALLOC = -5,
  LZERROR_GLOBLOCK = -6,
  LZERROR_BADVALUE = -7,
  LZERROR_UNKNOWNALG = -8
};

struct ByteReader {
  virtual ~ByteReader() = default;
  // Bytes read (at most size), 0 at the end, negative on a read failure.
  virtual std::ptrdiff_t read(std::uint8_t* buffer, std::size_t size) = 0;
};

struct ByteWriter {
  virtual ~ByteWriter() = default;
  // False when the write failed (e.g. disk full).
  virtual bool write(const std::uint8_t* data, std::size_t size) = 0;
};

// The format, shared with the compressor.
namespace szdd {
// Header: magic, mode, last character of the original name, unpacked size (32-bit little-endian).
inline constexpr std::array<std::uint8_t, 8> kMagic{0x53, 0x5A, 0x44, 0x44, 0x88, 0xF0, 0x27, 0x33};
inline constexpr std::size_t kHeaderSize = 14;
inline constexpr std::uint8_t kModeLzss = 0x41;  // 'A'
// LZSS data: groups of a control byte (bits lowest first, 1 = literal byte,
// 0 = match) and up to eight items. A match is two bytes b0 b1: window
// position b0 | (b1 & 0xF0) << 4, length (b1 & 0x0F) + 3. Matches copy byte
// by byte, so they may overlap the bytes they write.
inline constexpr std::size_t kWindowSize = 4096;
inline constexpr std::uint8_t kWindowFill = 0x20;
inline constexpr std::size_t kFirstWritePosition = kWindowSize - 16;
inline constexpr std::size_t kMinMatch = 3;
inline constexpr std::size_t kMaxMatch = 18;
// The largest unpacked size whose byte count fits the result of copyExpanded.
inline constexpr std::uint32_t kMaxUnpackedSize = 0x7FFFFFFF;
}  // namespace szdd

// What LZCopy does: a source that starts with the SZDD magic is expanded, any
// other source is copied unchanged. Returns the number of bytes written (0 for
// an empty plain source) or a negative LZERROR code:
// - source shorter than the 8-byte magic, or not starting with it: plain,
//   copied unchanged (also a file holding only the first bytes of the magic);
// - magic followed by less than the rest of the 14-byte header: LZERROR_READ;
// - mode other than 'A': LZERROR_UNKNOWNALG, nothing written;
// - unpacked size above kMaxUnpackedSize: LZERROR_BADVALUE, nothing written
//   (the byte count could not be returned); a plain source longer than that
//   gives LZERROR_BADVALUE too, after its first bytes were copied;
// - unpacked size 0: result 0, nothing written, the data is not read (some
//   compressors write a stray item after such a header);
// - the output is exactly the unpacked size. Data ending before it
//   (truncated member, cut header or group) and data going on after it (a
//   match running past it or any byte after the item that completes it, the
//   unused bits of the last control byte aside) are LZERROR_READ: a member
//   whose header does not match its data is corrupt;
// - a match reaching window bytes not written yet reads the fill byte 0x20:
//   legal, that is how runs of blanks are coded;
// - a read failure of the source (or a source reporting more bytes than
//   asked): LZERROR_READ; a failed write: LZERROR_WRITE; no memory for the
//   buffers: LZERROR_GLOBALLOC.
// On a failure the destination holds a prefix of the output (written in
// blocks), never more than the unpacked size.
std::int32_t copyExpanded(ByteReader& source, ByteWriter& destination);

}  // namespace zov::lz
