// Programs started on the machine: how long they run on the machine's clock,
// whether they start and can be opened, and when their file is in use.
#include <gtest/gtest.h>

#include "platform/machine/ini_file.h"
#include "platform/machine/machine.h"
#include "platform/machine/windows_errors.h"
#include "platform/win32/kernel.h"
#include "tests/support/test_machine.h"

namespace zov {
namespace {

using namespace zov::win32;
using machine::MachineConfig;
using machine::ProgramConfig;

constexpr const char* kPackage = "C:\\Program Files\\ZOV\\vcredist_x86.exe";

test::TestMachine machineWith(const ProgramConfig& program) {
  return test::TestMachine([&](MachineConfig& c) { c.addProgram(program); });
}

std::uint32_t start(test::TestMachine& m, const std::string& commandLine = kPackage) {
  std::uint32_t error = 0;
  return m.machine().startProgram(commandLine, 1, error);
}

TEST(MachinePrograms, APlainProgramEndsAtOnceAndItsFileIsFreeAgain) {
  test::TestMachine m;
  m.writeFile(kPackage, "MZ");
  const auto id = start(m);
  ASSERT_NE(id, 0u);
  const HANDLE h = OpenProcess(SYNCHRONIZE, FALSE, id);
  ASSERT_NE(h, 0);
  EXPECT_EQ(WaitForSingleObject(h, INFINITE), WAIT_OBJECT_0);
  EXPECT_EQ(m.machine().clock().now(), 0u);
  EXPECT_EQ(CloseHandle(h), TRUE);
  EXPECT_EQ(m.machine().log().thisRun().back(), "waited for process " + std::to_string(id) + " to end (0 ms)");
  EXPECT_EQ(m.machine().files().deleteFile(kPackage), machine::kErrorSuccess);
}

TEST(MachinePrograms, ARunningProgramHoldsItsFileAndAWaitPassesOnTheMachinesClock) {
  auto m = machineWith({"VCREDIST_X86.EXE", 120'000, true, true, false});
  m.writeFile(kPackage, "MZ");
  const auto id = start(m, "\"" + std::string(kPackage) + "\" /q");
  const HANDLE h = OpenProcess(SYNCHRONIZE, FALSE, id);
  ASSERT_NE(h, 0);
  EXPECT_EQ(m.machine().files().deleteFile(kPackage), machine::kErrorSharingViolation);
  EXPECT_EQ(WaitForSingleObject(h, 1000), WAIT_TIMEOUT);
  EXPECT_EQ(m.machine().clock().now(), 1000u);
  EXPECT_EQ(WaitForSingleObject(h, INFINITE), WAIT_OBJECT_0);
  EXPECT_EQ(m.machine().clock().now(), 120'000u);
  EXPECT_EQ(m.machine().log().thisRun().back(), "waited for process " + std::to_string(id) + " to end (119000 ms)");
  EXPECT_EQ(WaitForSingleObject(h, 0), WAIT_OBJECT_0);
  CloseHandle(h);
  EXPECT_EQ(m.machine().files().deleteFile(kPackage), machine::kErrorSuccess);
}

TEST(MachinePrograms, AProgramThatDoesNotStartGivesNoProcessId) {
  auto m = machineWith({"vcredist_x86.exe", 0, false, true, false});
  m.writeFile(kPackage, "MZ");
  std::uint32_t error = 0;
  EXPECT_EQ(m.machine().startProgram(kPackage, 1, error), 0u);
  EXPECT_EQ(error, machine::kErrorAccessDenied);
  EXPECT_EQ(m.machine().log().thisRun().back(),
            std::string("could not start: ") + kPackage + " (the machine refuses to start it)");
  EXPECT_EQ(m.machine().files().deleteFile(kPackage), machine::kErrorSuccess);
}

TEST(MachinePrograms, OpenProcessCanBeRefusedAndAFileKeptInUseAfterTheEnd) {
  auto m = machineWith({"vcredist_x86.exe", 0, true, false, true});
  m.writeFile(kPackage, "MZ");
  const auto id = start(m);
  ASSERT_NE(id, 0u);
  EXPECT_EQ(OpenProcess(SYNCHRONIZE, FALSE, id), 0);
  EXPECT_EQ(GetLastError(), machine::kErrorAccessDenied);
  EXPECT_FALSE(m.machine().running(*m.machine().process(id)));
  EXPECT_EQ(m.machine().files().deleteFile(kPackage), machine::kErrorSharingViolation);
  std::unique_ptr<machine::OpenFile> file;
  EXPECT_EQ(m.machine().files().openFile(kPackage, machine::FileAccess::Write, machine::FileDisposition::OpenExisting,
                                         machine::FileShare::All, file),
            machine::kErrorSharingViolation);
  // Other programs of another name are not touched by it.
  m.writeFile("C:\\other.exe", "MZ");
  start(m, "C:\\other.exe");
  EXPECT_EQ(m.machine().files().deleteFile("C:\\other.exe"), machine::kErrorSuccess);
}

TEST(MachinePrograms, MachineIniDescribesEachProgramInASectionOfItsOwn) {
  MachineConfig c = MachineConfig::windows7();
  c.addProgram({"vcredist_x86.exe", 90'000, true, false, true});
  c.addProgram({"Zuzuzu Rudavero 5.exe", 0, false, true, false});
  const MachineConfig back = MachineConfig::parse(c.toIniText(), "m.ini");
  ASSERT_EQ(back.programs.size(), 2u);
  const ProgramConfig* p = back.program("VCRedist_x86.exe");
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->runsFor, 90'000u);
  EXPECT_TRUE(p->starts);
  EXPECT_FALSE(p->opens);
  EXPECT_TRUE(p->keepsFileInUse);
  EXPECT_FALSE(back.program("Zuzuzu Rudavero 5.exe")->starts);
  EXPECT_EQ(back.program("setup.exe"), nullptr);
  // Names compare through the case map of the five languages, not ASCII alone.
  c.addProgram({"Çalış.exe", 5, true, true, false});
  const MachineConfig turkish = MachineConfig::parse(c.toIniText(), "m.ini");
  ASSERT_NE(turkish.program("çALıŞ.EXE"), nullptr);
  EXPECT_EQ(turkish.program("çALıŞ.EXE")->runsFor, 5u);
  EXPECT_THROW(MachineConfig::parse("[Drive C]\nType=3\n[Program a.exe]\nRunsFor=soon\n", "m.ini"),
               machine::MachineFileError);
  EXPECT_THROW(MachineConfig::parse("[Drive C]\nType=3\n[Program a.exe]\nCrashes=yes\n", "m.ini"),
               machine::MachineFileError);
}

}  // namespace
}  // namespace zov
