// A stream of a valid SZDD member with random content: random control bits,
// literals and matches (any window position is valid), made on the fly so
// that members of any size cost no memory. It expands to exactly `size` bytes.
#pragma once

#include <algorithm>
#include <cstring>

#include "platform/win32/lz/szdd.h"
#include "tests/lz/support/corpus.h"

namespace zov::lz::testing {

class RandomMemberReader : public ByteReader {
 public:
  RandomMemberReader(std::uint32_t size, std::uint64_t seed) : random_(seed), remaining_(size) {
    pending_.assign(szdd::kMagic.begin(), szdd::kMagic.end());
    pending_.push_back(szdd::kModeLzss);
    pending_.push_back(0);
    for (unsigned shift = 0; shift < 32; shift += 8) pending_.push_back(static_cast<std::uint8_t>(size >> shift));
  }

  std::ptrdiff_t read(std::uint8_t* buffer, std::size_t size) override {
    std::size_t done = 0;
    while (done < size) {
      if (pos_ == pending_.size() && !nextGroup()) break;
      const std::size_t count = std::min(size - done, pending_.size() - pos_);
      std::memcpy(buffer + done, pending_.data() + pos_, count);
      pos_ += count;
      done += count;
    }
    return static_cast<std::ptrdiff_t>(done);
  }

 private:
  bool nextGroup() {
    if (remaining_ == 0) return false;
    pending_.assign(1, 0);
    pos_ = 0;
    for (unsigned item = 0; item < 8 && remaining_ > 0; ++item) {
      const std::uint64_t bits = random_.next();
      const std::size_t length = szdd::kMinMatch + (bits >> 8 & 0x0F);
      if ((bits & 1) || length > remaining_) {
        pending_[0] = static_cast<std::uint8_t>(pending_[0] | 1u << item);
        pending_.push_back(static_cast<std::uint8_t>(bits >> 16));
        --remaining_;
      } else {
        pending_.push_back(static_cast<std::uint8_t>(bits >> 24));
        pending_.push_back(static_cast<std::uint8_t>((bits >> 32 & 0xF0) | (length - szdd::kMinMatch)));
        remaining_ -= static_cast<std::uint32_t>(length);
      }
    }
    return true;
  }

  Random random_;
  std::uint32_t remaining_;
  Bytes pending_;
  std::size_t pos_ = 0;
};

// The whole stream of a RandomMemberReader.
inline Bytes randomMember(std::uint32_t size, std::uint64_t seed) {
  RandomMemberReader reader(size, seed);
  Bytes member;
  std::uint8_t buffer[4096];
  for (std::ptrdiff_t got; (got = reader.read(buffer, sizeof buffer)) > 0;) member.insert(member.end(), buffer, buffer + got);
  return member;
}

}  // namespace zov::lz::testing
