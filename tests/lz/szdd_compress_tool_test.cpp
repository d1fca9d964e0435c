// The szdd-compress command the packing step runs.
#include <gtest/gtest.h>

#include "packaging/szdd_compressor.h"
#include "tests/lz/support/corpus.h"
#include "tests/lz/support/peer_tools.h"

namespace zov::packaging {
namespace {

namespace t = lz::testing;

TEST(SzddCompressTool, WritesTheCompressorsOutput) {
  t::TempDir dir;
  const t::Bytes& data = t::corpusFile("text");
  t::writeFile(dir.path() / "in.txt", data);
  ASSERT_EQ(t::runProgram(SZDD_COMPRESS_TOOL, {(dir.path() / "in.txt").string(), (dir.path() / "in.tx_").string()}), 0);
  EXPECT_TRUE(t::readFile(dir.path() / "in.tx_") == compressSzdd(data));
}

TEST(SzddCompressTool, FailsOnBadArgumentsOrFiles) {
  t::TempDir dir;
  EXPECT_EQ(t::runProgram(SZDD_COMPRESS_TOOL, {"only-one"}), 2);
  EXPECT_EQ(t::runProgram(SZDD_COMPRESS_TOOL, {(dir.path() / "missing").string(), (dir.path() / "out").string()}), 1);
  t::writeFile(dir.path() / "in", {1, 2, 3});
  EXPECT_EQ(t::runProgram(SZDD_COMPRESS_TOOL, {(dir.path() / "in").string(), (dir.path() / "no" / "out").string()}), 1);
}

}  // namespace
}  // namespace zov::packaging
