// The compressor: its header, round trips through the expansion, and how well
// it codes blanks and random data.
#include <gtest/gtest.h>

#include "packaging/szdd_compressor.h"
#include "platform/win32/lz/szdd.h"
#include "tests/lz/support/corpus.h"
#include "tests/lz/support/memory_io.h"

namespace zov::packaging {
namespace {

using lz::testing::Bytes;

TEST(SzddCompressor, WritesTheHeader) {
  const Bytes packed = compressSzdd(Bytes(300, 'z'));
  const Bytes header{0x53, 0x5A, 0x44, 0x44, 0x88, 0xF0, 0x27, 0x33, 0x41, 0x00, 0x2C, 0x01, 0x00, 0x00};
  EXPECT_EQ(Bytes(packed.begin(), packed.begin() + 14), header);
}

TEST(SzddCompressor, CodesBlanksAsMatchesIntoTheWindowFill) {
  // 18 blanks: one control byte and one match into the initial blanks.
  EXPECT_EQ(compressSzdd(lz::testing::blanks(18)).size(), lz::szdd::kHeaderSize + 3);
  const std::size_t matches = (100000 + 17) / 18;
  EXPECT_EQ(compressSzdd(lz::testing::blanks(100000)).size(), lz::szdd::kHeaderSize + matches * 2 + (matches + 7) / 8);
}

TEST(SzddCompressor, RandomDataGrowsByNoMoreThanItsControlBytes) {
  const Bytes data = lz::testing::randomBytes(100000, 21);
  EXPECT_LE(compressSzdd(data).size(), lz::szdd::kHeaderSize + data.size() + (data.size() + 7) / 8);
}

class SzddRoundTrip : public ::testing::TestWithParam<std::string> {};

TEST_P(SzddRoundTrip, ExpandsToTheSameBytesWhateverTheReadSize) {
  const Bytes& data = lz::testing::corpusFile(GetParam());
  const Bytes packed = compressSzdd(data);
  for (const std::size_t chunk : {std::size_t{1}, std::size_t{7}, std::size_t{1} << 20}) {
    if (chunk == 1 && data.size() > 500000) continue;
    lz::testing::MemoryReader reader(packed, chunk);
    lz::testing::MemoryWriter writer;
    ASSERT_EQ(lz::copyExpanded(reader, writer), static_cast<std::int32_t>(data.size())) << "reads of " << chunk;
    ASSERT_TRUE(writer.bytes == data) << "reads of " << chunk;
  }
}

INSTANTIATE_TEST_SUITE_P(Corpus, SzddRoundTrip, ::testing::ValuesIn(lz::testing::kCorpusNames));

}  // namespace
}  // namespace zov::packaging
