// Windows classification, for every version a machine can declare.
#include <gtest/gtest.h>

#include "services/os_version.h"
#include "tests/support/test_machine.h"

namespace zov {
namespace {

struct Version {
  std::uint32_t platform, major, minor;
  std::uint8_t code;
};

class OsCodeOf : public ::testing::TestWithParam<Version> {};

TEST_P(OsCodeOf, Version) {
  const Version v = GetParam();
  test::TestMachine m([&](machine::MachineConfig& c) {
    c.platformId = v.platform, c.majorVersion = v.major, c.minorVersion = v.minor;
  });
  EXPECT_EQ(GetOsCode(), v.code) << v.platform << " " << v.major << "." << v.minor;
}

std::string versionName(const ::testing::TestParamInfo<Version>& info) {
  return "Platform" + std::to_string(info.param.platform) + "_" + std::to_string(info.param.major) + "_" +
         std::to_string(info.param.minor);
}

INSTANTIATE_TEST_SUITE_P(Windows, OsCodeOf,
                         ::testing::Values(Version{2, 6, 0, 4}, Version{2, 6, 1, 4}, Version{2, 6, 2, 4},
                                           Version{2, 5, 0, 3}, Version{2, 5, 1, 3}, Version{2, 5, 2, 3},
                                           Version{2, 10, 0, 3}, Version{2, 7, 0, 3}, Version{2, 4, 0, 2},
                                           Version{2, 3, 51, 2}, Version{1, 4, 10, 1}, Version{1, 4, 90, 1},
                                           Version{0, 3, 11, 0}, Version{3, 6, 1, 0}),
                         versionName);

TEST(OsCode, AFailedQueryClassifiesAsZeroWithoutABox) {
  test::TestMachine m([](machine::MachineConfig& c) { c.faults.versionQuery = machine::VersionQuery::Fails; });
  EXPECT_EQ(GetOsCode(), 0);
  EXPECT_EQ(m.transcript().find("?? box"), std::string::npos);
}

TEST(OsCode, ARunTimeErrorShowsTheNumberedBoxAndGivesZero) {
  test::TestMachine m([](machine::MachineConfig& c) { c.faults.versionQuery = machine::VersionQuery::EntryPointMissing; });
  m.script("answer OK\n");
  EXPECT_EQ(GetOsCode(), 0);
  EXPECT_NE(m.transcript().find("?? box \"ZOV Rededi Dirirozo\" [OK, no icon, default OK]\n"
                                "   Error : 4-453 Specified DLL function not found"),
            std::string::npos)
      << m.transcript();
}

}  // namespace
}  // namespace zov
