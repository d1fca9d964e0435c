// Our codec against Debian's mscompress package, both ways, byte for byte.
// The peers must be installed: a missing one fails these tests.
#include <gtest/gtest.h>

#include "packaging/szdd_compressor.h"
#include "platform/win32/lz/szdd.h"
#include "tests/lz/support/corpus.h"
#include "tests/lz/support/memory_io.h"
#include "tests/lz/support/peer_tools.h"
#include "tests/lz/support/random_member.h"

namespace zov::lz {
namespace {

using testing::Bytes;

class SzddPeers : public ::testing::Test {
 protected:
  void SetUp() override {
    msexpand_ = testing::findOnPath("msexpand").value_or("");
    mscompress_ = testing::findOnPath("mscompress").value_or("");
    ASSERT_FALSE(msexpand_.empty() || mscompress_.empty())
        << "msexpand and mscompress must be on PATH: install the Debian package mscompress";
  }

  Bytes msexpand(const Bytes& member) {
    const auto in = dir_.path() / "member.bi_";
    const auto out = dir_.path() / "expanded.bin";
    testing::writeFile(in, member);
    EXPECT_EQ(testing::runProgram(msexpand_, {}, in, out), 0) << "msexpand failed";
    return testing::readFile(out);
  }

  Bytes mscompress(const Bytes& data) { return testing::mscompressBytes(mscompress_, data, dir_); }

  static std::pair<std::int32_t, Bytes> ourExpansion(const Bytes& member) {
    testing::MemoryReader reader(member);
    testing::MemoryWriter writer;
    const std::int32_t result = copyExpanded(reader, writer);
    return {result, std::move(writer.bytes)};
  }

  testing::TempDir dir_;
  std::filesystem::path msexpand_;
  std::filesystem::path mscompress_;
};

class SzddPeersOnCorpus : public SzddPeers, public ::testing::WithParamInterface<std::string> {};

TEST_P(SzddPeersOnCorpus, MsexpandExpandsOurMembers) {
  const Bytes& data = testing::corpusFile(GetParam());
  EXPECT_TRUE(msexpand(packaging::compressSzdd(data)) == data);
}

TEST_P(SzddPeersOnCorpus, WeExpandMscompressMembers) {
  const Bytes& data = testing::corpusFile(GetParam());
  const Bytes member = mscompress(data);
  const auto [result, expanded] = ourExpansion(member);
  ASSERT_EQ(result, static_cast<std::int32_t>(data.size()));
  if (!data.empty() && data.size() < 16) {
    // mscompress stores the bytes of inputs shorter than 16 bytes as zeros:
    // there the two peers must agree on what the member holds.
    EXPECT_TRUE(expanded == msexpand(member));
  } else {
    EXPECT_TRUE(expanded == data);
  }
}

TEST_P(SzddPeersOnCorpus, OurMembersAreNoLargerThanMscompressOnes) {
  const Bytes& data = testing::corpusFile(GetParam());
  EXPECT_LE(packaging::compressSzdd(data).size(), mscompress(data).size());
}

INSTANTIATE_TEST_SUITE_P(Corpus, SzddPeersOnCorpus, ::testing::ValuesIn(testing::kCorpusNames));

// Random streams use every window position, overlapping matches and
// distance 4096, across many output blocks.
TEST_F(SzddPeers, RandomMembersExpandAlikeInMsexpandAndUs) {
  for (const std::uint32_t size : {1000u, 1500000u}) {
    const Bytes member = testing::randomMember(size, size);
    const auto [result, expanded] = ourExpansion(member);
    ASSERT_EQ(result, static_cast<std::int32_t>(size));
    EXPECT_TRUE(expanded == msexpand(member)) << "size " << size;
  }
}

}  // namespace
}  // namespace zov::lz
