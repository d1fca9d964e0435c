#include "platform/win32/lz/szdd.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

namespace zov::lz {
namespace {

using namespace szdd;

constexpr std::size_t kInputSize = 64 * 1024;
constexpr std::size_t kOutputBlock = 64 * 1024;
constexpr std::uint32_t kWindowMask = kWindowSize - 1;
// The most one group (control byte and eight items) reads and writes.
constexpr std::size_t kGroupInput = 1 + 8 * 2;
constexpr std::size_t kGroupOutput = 8 * kMaxMatch;

struct Buffers {
  std::uint8_t input[kInputSize];
  // The last kWindowSize bytes of output (the fill before the first byte),
  // the block being decoded, then room for a full-length match copy that
  // starts near the end of the block.
  std::uint8_t output[kWindowSize + kOutputBlock + kMaxMatch];
};

class Expander {
 public:
  Expander(ByteReader& source, ByteWriter& destination, Buffers& buffers)
      : source_(source), destination_(destination), in_(buffers.input), out_(buffers.output) {}

  std::int32_t run() {
    if (!fillInput(kHeaderSize)) return LZERROR_READ;
    const std::uint8_t* header = in_ + inPos_;
    if (available() < kMagic.size() || !std::equal(kMagic.begin(), kMagic.end(), header)) return copyPlain();
    if (available() < kHeaderSize) return LZERROR_READ;
    if (header[8] != kModeLzss) return LZERROR_UNKNOWNALG;
    const std::uint32_t size = header[10] | header[11] << 8 | header[12] << 16 | std::uint32_t{header[13]} << 24;
    inPos_ += kHeaderSize;
    if (size > kMaxUnpackedSize) return LZERROR_BADVALUE;
    if (size == 0) return 0;
    return expand(size);
  }

 private:
  std::size_t available() const { return inEnd_ - inPos_; }

  // Tops the input up to at least `wanted` unread bytes, unless the source
  // ends first. False on a read failure.
  bool fillInput(std::size_t wanted) {
    if (available() >= wanted || ended_) return true;
    std::memmove(in_, in_ + inPos_, available());
    inEnd_ -= inPos_;
    inPos_ = 0;
    while (inEnd_ < wanted && !ended_) {
      const std::size_t room = kInputSize - inEnd_;
      const std::ptrdiff_t got = source_.read(in_ + inEnd_, room);
      if (got < 0 || static_cast<std::size_t>(got) > room) return false;
      ended_ = got == 0;
      inEnd_ += static_cast<std::size_t>(got);
    }
    return true;
  }

  std::int32_t copyPlain() {
    std::int64_t total = 0;
    for (;;) {
      const std::size_t count = available();
      if (count > 0) {
        if (total + static_cast<std::int64_t>(count) > kMaxUnpackedSize) return LZERROR_BADVALUE;
        if (!destination_.write(in_ + inPos_, count)) return LZERROR_WRITE;
        total += static_cast<std::int64_t>(count);
        inPos_ = inEnd_;
      }
      if (ended_) return static_cast<std::int32_t>(total);
      if (!fillInput(kInputSize)) return LZERROR_READ;
    }
  }

  // Writes the decoded block and keeps its last kWindowSize bytes as history.
  bool flushOutput() {
    if (outPos_ == kWindowSize) return true;
    if (!destination_.write(out_ + kWindowSize, outPos_ - kWindowSize)) return false;
    const std::size_t shift = outPos_ - kWindowSize;
    std::memmove(out_, out_ + shift, kWindowSize);
    windowBase_ += static_cast<std::uint32_t>(shift);
    outPos_ = kWindowSize;
    return true;
  }

  std::int32_t expand(std::uint32_t size) {
    std::memset(out_, kWindowFill, kWindowSize);
    outPos_ = kWindowSize;
    // out_[i] is window position (i + windowBase_) & kWindowMask.
    windowBase_ = static_cast<std::uint32_t>(kFirstWritePosition - kWindowSize);
    std::uint32_t remaining = size;
    while (remaining > 0) {
      if (outPos_ + kGroupOutput > kWindowSize + kOutputBlock && !flushOutput()) return LZERROR_WRITE;
      if (!fillInput(kGroupInput)) return LZERROR_READ;
      if (available() >= kGroupInput && remaining >= kGroupOutput) {
        decodeGroupFast(remaining);
      } else if (!decodeGroupChecked(remaining)) {
        return LZERROR_READ;
      }
    }
    if (available() > 0 || !fillInput(1) || available() > 0) return LZERROR_READ;
    if (!flushOutput()) return LZERROR_WRITE;
    return static_cast<std::int32_t>(size);
  }

  // Distance back from out_[index] to the byte at window `position`, 1..4096
  // (4096: the position being written, which still holds the oldest byte).
  std::size_t distanceTo(std::size_t index, std::uint32_t position) const {
    return ((static_cast<std::uint32_t>(index) + windowBase_ - position - 1) & kWindowMask) + 1;
  }

  // One whole group, when its input is buffered and its output fits both the
  // block and the unpacked size.
  void decodeGroupFast(std::uint32_t& remaining) {
    const std::uint8_t* p = in_ + inPos_;
    std::uint8_t* const start = out_ + outPos_;
    std::uint8_t* d = start;
    unsigned control = *p++;
    if (control == 0xFF) {
      std::memcpy(d, p, 8);
      d += 8;
      p += 8;
    } else {
      for (int item = 0; item < 8; ++item, control >>= 1) {
        if (control & 1u) {
          *d++ = *p++;
          continue;
        }
        const std::uint32_t position = p[0] | (p[1] & 0xF0u) << 4;
        const std::size_t length = (p[1] & 0x0Fu) + kMinMatch;
        p += 2;
        const std::uint8_t* s = d - distanceTo(static_cast<std::size_t>(d - out_), position);
        if (d - s >= static_cast<std::ptrdiff_t>(kMaxMatch)) {
          std::memcpy(d, s, 16);
          std::memcpy(d + 16, s + 16, 2);
        } else {
          for (std::size_t k = 0; k < length; ++k) d[k] = s[k];
        }
        d += length;
      }
    }
    inPos_ = static_cast<std::size_t>(p - in_);
    outPos_ = static_cast<std::size_t>(d - out_);
    remaining -= static_cast<std::uint32_t>(d - start);
  }

  // One group item by item, near the end of the input or of the unpacked
  // size. False when the data ends early or a match runs past the size.
  bool decodeGroupChecked(std::uint32_t& remaining) {
    if (!fillInput(1) || available() == 0) return false;
    unsigned control = in_[inPos_++];
    for (int item = 0; item < 8 && remaining > 0; ++item, control >>= 1) {
      if (control & 1u) {
        if (!fillInput(1) || available() == 0) return false;
        out_[outPos_++] = in_[inPos_++];
        --remaining;
        continue;
      }
      if (!fillInput(2) || available() < 2) return false;
      const std::uint32_t position = in_[inPos_] | (in_[inPos_ + 1] & 0xF0u) << 4;
      const std::size_t length = (in_[inPos_ + 1] & 0x0Fu) + kMinMatch;
      inPos_ += 2;
      if (length > remaining) return false;
      const std::size_t from = outPos_ - distanceTo(outPos_, position);
      for (std::size_t k = 0; k < length; ++k) out_[outPos_ + k] = out_[from + k];
      outPos_ += length;
      remaining -= static_cast<std::uint32_t>(length);
    }
    return true;
  }

  ByteReader& source_;
  ByteWriter& destination_;
  std::uint8_t* const in_;
  std::uint8_t* const out_;
  std::size_t inPos_ = 0;
  std::size_t inEnd_ = 0;
  bool ended_ = false;
  std::size_t outPos_ = kWindowSize;
  std::uint32_t windowBase_ = 0;
};

}  // namespace

std::int32_t copyExpanded(ByteReader& source, ByteWriter& destination) {
  const std::unique_ptr<Buffers> buffers(new (std::nothrow) Buffers);
  if (!buffers) return LZERROR_GLOBALLOC;
  return Expander(source, destination, *buffers).run();
}

}  // namespace zov::lz
