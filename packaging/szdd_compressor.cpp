#include "packaging/szdd_compressor.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <stdexcept>

#include "platform/win32/lz/szdd.h"

namespace zov::packaging {
namespace {

using namespace zov::lz::szdd;

// Matches reach back at most this far. Distance 4096 would name the window
// position about to be written; it is never needed.
constexpr std::size_t kMaxDistance = kWindowSize - 1;
constexpr std::size_t kWindowMask = kWindowSize - 1;
constexpr unsigned kHashBits = 15;
// Candidates tried per position: bounds the work on long chains.
constexpr std::size_t kMaxChain = 128;
constexpr std::uint32_t kNone = 0xFFFFFFFF;
// Bytes readable past the data, so that comparisons can read whole words.
constexpr std::size_t kCompareSlack = 8;

struct Match {
  std::size_t length = 0;
  std::size_t from = 0;
};

// Hash chains over the 3-byte prefixes of `text`: the window's initial blanks
// followed by the data, so that matches can reach into the blanks.
class MatchFinder {
 public:
  // text holds kCompareSlack readable bytes past end.
  MatchFinder(std::span<const std::uint8_t> text, std::size_t end)
      : text_(text), end_(end), head_(std::size_t{1} << kHashBits, kNone) {
    prev_.fill(kNone);
  }

  void insert(std::size_t pos) {
    if (pos + kMinMatch > end_) return;
    std::uint32_t& head = head_[hash(pos)];
    prev_[pos & kWindowMask] = head;
    head = static_cast<std::uint32_t>(pos);
  }

  // The longest match for `pos` among the positions inserted before it.
  Match longest(std::size_t pos) const {
    Match best;
    if (pos + kMinMatch > end_) return best;
    const std::size_t limit = std::min(kMaxMatch, end_ - pos);
    const std::uint8_t* here = text_.data() + pos;
    std::uint32_t candidate = head_[hash(pos)];
    for (std::size_t tries = kMaxChain; tries > 0 && candidate != kNone && pos - candidate <= kMaxDistance; --tries) {
      const std::uint8_t* there = text_.data() + candidate;
      // A candidate can only beat the best match if it also matches the byte
      // where that one stopped; checking the 4 bytes ending there rejects most.
      const bool promising = best.length < kMinMatch
                                 ? there[0] == here[0] && there[1] == here[1] && there[2] == here[2]
                                 : load32(there + best.length - kMinMatch) == load32(here + best.length - kMinMatch);
      if (promising) {
        const std::size_t length = commonPrefix(there, here, limit);
        if (length > best.length) {
          best = {length, candidate};
          if (length == limit) break;
        }
      }
      candidate = prev_[candidate & kWindowMask];
    }
    return best;
  }

 private:
  std::size_t hash(std::size_t pos) const {
    const std::uint32_t key = text_[pos] | text_[pos + 1] << 8 | text_[pos + 2] << 16;
    return (key * 2654435761u) >> (32 - kHashBits);
  }

  static std::uint32_t load32(const std::uint8_t* p) {
    std::uint32_t value;
    std::memcpy(&value, p, sizeof value);
    return value;
  }

  // Length of the common prefix of a and b, at most limit (<= 24), 8 bytes at a time.
  static std::size_t commonPrefix(const std::uint8_t* a, const std::uint8_t* b, std::size_t limit) {
    for (std::size_t k = 0; k < limit; k += 8) {
      std::uint64_t x, y;
      std::memcpy(&x, a + k, sizeof x);
      std::memcpy(&y, b + k, sizeof y);
      if (x != y) {
        const std::uint64_t diff = x ^ y;
        const int bits = std::endian::native == std::endian::little ? std::countr_zero(diff) : std::countl_zero(diff);
        return std::min(limit, k + static_cast<std::size_t>(bits) / 8);
      }
    }
    return limit;
  }

  std::span<const std::uint8_t> text_;
  std::size_t end_;
  std::vector<std::uint32_t> head_;
  // Entries older than the window are stale; the distance test stops a walk before them.
  std::array<std::uint32_t, kWindowSize> prev_;
};

// Appends items, opening a control byte for every eight.
class GroupWriter {
 public:
  explicit GroupWriter(std::vector<std::uint8_t>& out) : out_(out) {}

  void literal(std::uint8_t byte) {
    startItem(true);
    out_.push_back(byte);
  }

  void match(std::size_t position, std::size_t length) {
    startItem(false);
    out_.push_back(static_cast<std::uint8_t>(position & 0xFF));
    out_.push_back(static_cast<std::uint8_t>((position >> 4 & 0xF0) | (length - kMinMatch)));
  }

 private:
  void startItem(bool literal) {
    if (bit_ == 8) {
      control_ = out_.size();
      out_.push_back(0);
      bit_ = 0;
    }
    if (literal) out_[control_] = static_cast<std::uint8_t>(out_[control_] | 1u << bit_);
    ++bit_;
  }

  std::vector<std::uint8_t>& out_;
  std::size_t control_ = 0;
  unsigned bit_ = 8;
};

}  // namespace

std::vector<std::uint8_t> compressSzdd(std::span<const std::uint8_t> data) {
  if (data.size() > kMaxUnpackedSize) throw std::length_error("SZDD: data too long for the unpacked size field");
  const auto size = static_cast<std::uint32_t>(data.size());
  std::vector<std::uint8_t> out;
  out.reserve(kHeaderSize + data.size() + data.size() / 8 + 1);
  out.assign(kMagic.begin(), kMagic.end());
  out.push_back(kModeLzss);
  out.push_back(0x00);
  for (unsigned shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>(size >> shift));

  std::vector<std::uint8_t> text(kMaxDistance, kWindowFill);
  text.insert(text.end(), data.begin(), data.end());
  const std::size_t end = text.size();
  text.resize(end + kCompareSlack);
  // text[t] is written at window position (t - kMaxDistance + kFirstWritePosition) mod 4096.
  const auto windowPosition = [](std::size_t t) { return (t + kWindowSize - kMaxDistance + kFirstWritePosition) & kWindowMask; };

  MatchFinder finder(text, end);
  for (std::size_t pos = 0; pos < kMaxDistance; ++pos) finder.insert(pos);
  GroupWriter groups(out);
  std::size_t pos = kMaxDistance;
  Match current = finder.longest(pos);
  while (pos < end) {
    if (current.length < kMinMatch) {
      groups.literal(text[pos]);
      finder.insert(pos);
      current = finder.longest(++pos);
      continue;
    }
    finder.insert(pos);
    // Lazy matching: a longer match one byte on is worth a literal first.
    if (current.length < kMaxMatch) {
      const Match next = finder.longest(pos + 1);
      if (next.length > current.length) {
        groups.literal(text[pos]);
        ++pos;
        current = next;
        continue;
      }
    }
    groups.match(windowPosition(current.from), current.length);
    for (std::size_t k = 1; k < current.length; ++k) finder.insert(pos + k);
    pos += current.length;
    current = finder.longest(pos);
  }
  return out;
}

}  // namespace zov::packaging
