#include "engine/member_check.h"

#include <algorithm>
#include <array>

namespace zov {

namespace {

// The SZDD signature and compression mode 'A' that begin every member, and
// where the header keeps the expanded length (32 bits, little-endian).
constexpr std::array<std::uint8_t, 9> kMemberStart = {0x53, 0x5A, 0x44, 0x44, 0x88, 0xF0, 0x27, 0x33, 0x41};
constexpr std::size_t kExpandedLengthAt = 10;
constexpr std::size_t kHeaderSize = 14;

constexpr std::uint32_t kPolynomial = 0xEDB88320;

// Eight tables, so that the loop takes eight bytes a step: table s holds the
// CRC of a byte followed by s zero bytes.
using CrcTables = std::array<std::array<std::uint32_t, 256>, 8>;

constexpr CrcTables makeCrcTables() {
  CrcTables t{};
  for (std::uint32_t b = 0; b < 256; ++b) {
    std::uint32_t c = b;
    for (int bit = 0; bit < 8; ++bit) c = (c & 1) ? kPolynomial ^ (c >> 1) : c >> 1;
    t[0][b] = c;
  }
  for (std::size_t s = 1; s < t.size(); ++s) {
    for (std::uint32_t b = 0; b < 256; ++b) t[s][b] = (t[s - 1][b] >> 8) ^ t[0][t[s - 1][b] & 0xFF];
  }
  return t;
}

constexpr CrcTables kCrcTables = makeCrcTables();

std::uint32_t le32(const std::uint8_t* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

}  // namespace

std::uint32_t Crc32(std::span<const std::uint8_t> bytes) {
  const CrcTables& t = kCrcTables;
  std::uint32_t c = 0xFFFFFFFF;
  const std::uint8_t* p = bytes.data();
  std::size_t n = bytes.size();
  for (; n >= 8; p += 8, n -= 8) {
    const std::uint32_t low = c ^ le32(p);
    const std::uint32_t high = le32(p + 4);
    c = t[7][low & 0xFF] ^ t[6][(low >> 8) & 0xFF] ^ t[5][(low >> 16) & 0xFF] ^ t[4][low >> 24] ^ t[3][high & 0xFF] ^
        t[2][(high >> 8) & 0xFF] ^ t[1][(high >> 16) & 0xFF] ^ t[0][high >> 24];
  }
  for (; n > 0; ++p, --n) c = t[0][(c ^ *p) & 0xFF] ^ (c >> 8);
  return ~c;
}

MemberFault CheckMember(std::span<const std::uint8_t> member, const PayloadSlot& slot) {
  if (slot.Length < 0 || member.size() != static_cast<std::size_t>(slot.Length)) return MemberFault::Length;
  if (member.size() < kHeaderSize || !std::equal(kMemberStart.begin(), kMemberStart.end(), member.begin())) {
    return MemberFault::Header;
  }
  if (le32(member.data() + kExpandedLengthAt) != slot.ExpandedLength) return MemberFault::ExpandedLength;
  if (Crc32(member) != slot.Crc32) return MemberFault::Checksum;
  return MemberFault::None;
}

}  // namespace zov
