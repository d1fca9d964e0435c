// The machine's clock: virtual time moves only when someone waits, real time
// passes by itself; machine.ini chooses which.
#include <gtest/gtest.h>

#include "platform/machine/machine.h"
#include "platform/machine/ini_file.h"
#include "platform/machine/machine_config.h"
#include "tests/support/test_machine.h"

namespace zov {
namespace {

using machine::ClockMode;
using machine::MachineClock;
using machine::MachineConfig;

TEST(MachineClock, VirtualTimeMovesOnlyByWaitsAndAtOnce) {
  MachineClock clock(ClockMode::Virtual);
  EXPECT_EQ(clock.now(), 0u);
  clock.wait(3'600'000);  // an hour, without sleeping
  EXPECT_EQ(clock.now(), 3'600'000u);
  clock.waitUntil(3'600'500);
  EXPECT_EQ(clock.now(), 3'600'500u);
  clock.waitUntil(10);  // a moment that has passed: no wait, time never goes back
  EXPECT_EQ(clock.now(), 3'600'500u);
  clock.wait(0);
  EXPECT_EQ(clock.now(), 3'600'500u);
}

TEST(MachineClock, RealTimePassesByItselfAndAWaitLastsAtLeastItsLength) {
  MachineClock clock(ClockMode::Real);
  const auto before = clock.now();
  clock.wait(3);
  const auto after = clock.now();
  EXPECT_GE(after, before + 3);
  clock.waitUntil(after + 2);
  EXPECT_GE(clock.now(), after + 2);
}

TEST(MachineClock, MachineIniChoosesItAndAPersonGetsRealTime) {
  EXPECT_EQ(MachineConfig::windows7().clock, ClockMode::Real);
  EXPECT_EQ(MachineConfig::parse(MachineConfig::windows7().toIniText(), "m.ini").clock, ClockMode::Real);
  MachineConfig c = MachineConfig::windows7();
  c.clock = ClockMode::Virtual;
  EXPECT_EQ(MachineConfig::parse(c.toIniText(), "m.ini").clock, ClockMode::Virtual);
  EXPECT_EQ(MachineConfig::parse("[Windows]\nClock=Virtual\n[Drive C]\nType=3\n", "m.ini").clock, ClockMode::Virtual);
  try {
    MachineConfig::parse("[Windows]\nClock=fast\n[Drive C]\nType=3\n", "m.ini");
    FAIL() << "a clock of no known kind was taken";
  } catch (const machine::MachineFileError& e) {
    EXPECT_NE(std::string(e.what()).find("m.ini:2"), std::string::npos) << e.what();
  }
}

TEST(MachineClock, TestMachinesRunOnVirtualTime) {
  test::TestMachine m;
  EXPECT_EQ(m.machine().clock().mode(), ClockMode::Virtual);
  m.machine().clock().wait(60'000);
  EXPECT_EQ(m.machine().clock().now(), 60'000u);
  m.reopen();  // a new run starts its clock anew
  EXPECT_EQ(m.machine().clock().now(), 0u);
}

}  // namespace
}  // namespace zov
