// Expansion: plain sources, the window's rules, and every kind of bad input.
#include <gtest/gtest.h>

#include <cstring>

#include "packaging/szdd_compressor.h"
#include "platform/win32/lz/szdd.h"
#include "tests/lz/support/corpus.h"
#include "tests/lz/support/memory_io.h"

namespace zov::lz {
namespace {

using testing::Bytes;
using testing::MemoryReader;
using testing::MemoryWriter;

struct Outcome {
  std::int32_t result;
  Bytes written;
};

Outcome expand(const Bytes& source, std::size_t chunk = 1 << 20) {
  MemoryReader reader(source, chunk);
  MemoryWriter writer;
  const std::int32_t result = copyExpanded(reader, writer);
  return {result, std::move(writer.bytes)};
}

// A header with the given size and mode, followed by raw LZSS data.
Bytes member(std::uint32_t size, const Bytes& data, std::uint8_t mode = szdd::kModeLzss) {
  Bytes bytes(szdd::kMagic.begin(), szdd::kMagic.end());
  bytes.push_back(mode);
  bytes.push_back('t');
  for (unsigned shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<std::uint8_t>(size >> shift));
  bytes.insert(bytes.end(), data.begin(), data.end());
  return bytes;
}

Bytes asBytes(const char* text) { return Bytes(text, text + std::strlen(text)); }

TEST(SzddPlainSource, IsCopiedUnchangedWithItsLength) {
  Bytes wrongMagic = packaging::compressSzdd(testing::text(5000, 1));
  wrongMagic[7] ^= 0x01;
  const Bytes partialMagic(szdd::kMagic.begin(), szdd::kMagic.begin() + 7);
  for (const Bytes& plain : {Bytes{}, Bytes{'x'}, partialMagic, wrongMagic, testing::randomBytes(300000, 2)}) {
    const Outcome outcome = expand(plain, 1000);
    EXPECT_EQ(outcome.result, static_cast<std::int32_t>(plain.size()));
    EXPECT_EQ(outcome.written, plain);
  }
}

TEST(SzddPlainSource, LongerThanAByteCountCanHoldIsRefused) {
  struct Endless : ByteReader {
    std::ptrdiff_t read(std::uint8_t* buffer, std::size_t size) override {
      std::memset(buffer, 'x', size);
      return static_cast<std::ptrdiff_t>(size);
    }
  } reader;
  testing::CountingWriter writer;
  EXPECT_EQ(copyExpanded(reader, writer), LZERROR_BADVALUE);
  EXPECT_LE(writer.count, szdd::kMaxUnpackedSize);
  EXPECT_GT(writer.count, szdd::kMaxUnpackedSize - (1u << 20));
}

TEST(SzddWindow, FollowsTheFormatsRules) {
  // Never-written window bytes are blanks; position 4080 is the first written.
  EXPECT_EQ(expand(member(5, {0x00, 0x00, 0x02})).written, asBytes("     "));
  // A match overlapping what it writes repeats it.
  EXPECT_EQ(expand(member(8, {0x03, 'A', 'B', 0xF0, 0xF3})).written, asBytes("ABABABAB"));
  // The position being written still holds its old byte (distance 4096).
  EXPECT_EQ(expand(member(4, {0x01, 'Q', 0xF1, 0xF0})).written, asBytes("Q   "));
  // Positions wrap from 4095 to 0: the 17th literal lands at 0, a match from 4094 reads 4094, 4095, 0.
  const Bytes wrapped = expand(member(20, {0xFF, 'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 0xFF, 'i', 'j', 'k', 'l', 'm',
                                           'n', 'o', 'p', 0x01, 'q', 0xFE, 0xF0}))
                            .written;
  EXPECT_EQ(wrapped, asBytes("abcdefghijklmnopqopq"));
}

TEST(SzddBadInput, HeaderProblemsWriteNothing) {
  const Bytes good = packaging::compressSzdd(testing::text(3000, 3));
  for (std::size_t cut = szdd::kMagic.size(); cut < szdd::kHeaderSize; ++cut) {
    const Outcome outcome = expand(Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(cut)));
    EXPECT_EQ(outcome.result, LZERROR_READ) << "header cut at " << cut;
    EXPECT_TRUE(outcome.written.empty());
  }
  for (const std::uint8_t mode : {0x00, 0x42, 0x51, 0xC1}) {
    Bytes other = good;
    other[8] = mode;
    EXPECT_EQ(expand(other).result, LZERROR_UNKNOWNALG) << "mode " << int{mode};
  }
  const Outcome huge = expand(member(0x80000000u, {0xFF, 'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h'}));
  EXPECT_EQ(huge.result, LZERROR_BADVALUE);
  EXPECT_TRUE(huge.written.empty());
}

TEST(SzddBadInput, SizeThatLiesEitherWayIsAReadError) {
  const Bytes data = testing::text(100000, 4);
  const Bytes good = packaging::compressSzdd(data);
  for (const std::int64_t lie : {-100000 + 1, -5000, -18, -1, 1, 17, 5000, 1000000}) {
    Bytes lying = good;
    const auto size = static_cast<std::uint32_t>(static_cast<std::int64_t>(data.size()) + lie);
    for (unsigned i = 0; i < 4; ++i) lying[10 + i] = static_cast<std::uint8_t>(size >> (8 * i));
    const Outcome outcome = expand(lying);
    EXPECT_EQ(outcome.result, LZERROR_READ) << "size off by " << lie;
    EXPECT_LE(outcome.written.size(), std::min<std::size_t>(size, data.size()));
  }
  // A match running past the size.
  EXPECT_EQ(expand(member(4, {0x01, 'A', 0xF0, 0xF3})).result, LZERROR_READ);
  // Size 0 ends the member whatever follows (mscompress writes a stray literal there).
  EXPECT_EQ(expand(member(0, {0x01, 0x00})).result, 0);
}

TEST(SzddBadInput, TruncatedMemberIsAReadErrorAtEveryCut) {
  const Bytes data = testing::text(6000, 5);
  const Bytes good = packaging::compressSzdd(data);
  for (std::size_t cut = szdd::kHeaderSize; cut < good.size(); ++cut) {
    const Outcome outcome = expand(Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(cut)), 64);
    ASSERT_EQ(outcome.result, LZERROR_READ) << "cut at " << cut;
    ASSERT_TRUE(std::equal(outcome.written.begin(), outcome.written.end(), data.begin()));
  }
}

TEST(SzddBadInput, CorruptBytesNeverGiveMoreThanTheSize) {
  const Bytes data = testing::text(3000, 6);
  const Bytes good = packaging::compressSzdd(data);
  for (std::size_t at = szdd::kHeaderSize; at < good.size(); ++at) {
    for (const std::uint8_t flip : {0x01, 0x10, 0xFF}) {
      Bytes corrupt = good;
      corrupt[at] ^= flip;
      const Outcome outcome = expand(corrupt);
      ASSERT_TRUE(outcome.result == LZERROR_READ || outcome.result == static_cast<std::int32_t>(data.size()))
          << "byte " << at << " result " << outcome.result;
      ASSERT_LE(outcome.written.size(), data.size());
      if (outcome.result >= 0) {
        ASSERT_EQ(outcome.written.size(), data.size());
      }
    }
  }
}

// Serves `first` on the first read, then gives `answer`.
class FailingReader : public ByteReader {
 public:
  FailingReader(const Bytes& first, std::ptrdiff_t answer) : first_(first), answer_(answer) {}
  std::ptrdiff_t read(std::uint8_t* buffer, std::size_t size) override {
    if (served_) return answer_;
    served_ = true;
    const std::size_t count = std::min(size, first_.size());
    std::memcpy(buffer, first_.data(), count);
    return static_cast<std::ptrdiff_t>(count);
  }

 private:
  const Bytes& first_;
  std::ptrdiff_t answer_;
  bool served_ = false;
};

TEST(SzddBadInput, FailingSourceOrDestination) {
  const Bytes good = packaging::compressSzdd(testing::text(300000, 7));
  for (const std::ptrdiff_t answer : {std::ptrdiff_t{-1}, std::ptrdiff_t{1} << 40}) {
    FailingReader reader(good, answer);
    MemoryWriter writer;
    EXPECT_EQ(copyExpanded(reader, writer), LZERROR_READ) << "read answering " << answer;
  }
  for (const Bytes& source : {good, testing::randomBytes(300000, 8)}) {
    MemoryReader reader(source);
    MemoryWriter full(100000);
    EXPECT_EQ(copyExpanded(reader, full), LZERROR_WRITE);
    EXPECT_LE(full.bytes.size(), 100000u);
  }
}

}  // namespace
}  // namespace zov::lz
