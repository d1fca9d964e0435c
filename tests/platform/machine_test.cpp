// The simulated machine: its folder, its configuration, its file system
// rules (case, separators, attributes, faults).
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/machine/ini_file.h"
#include "platform/machine/machine.h"
#include "platform/machine/windows_errors.h"
#include "tests/support/test_machine.h"

namespace zov {
namespace {

namespace fs = std::filesystem;
using machine::FileAccess;
using machine::FileDisposition;
using machine::FileShare;

TEST(MachineFolder, FirstUseCreatesADefaultWindows7Machine) {
  const fs::path folder = fs::temp_directory_path() / "zov-machine-first-use";
  fs::remove_all(folder);
  auto m = machine::Machine::open(folder);
  EXPECT_TRUE(fs::exists(folder / "machine.ini"));
  EXPECT_TRUE(fs::exists(folder / "registry.reg"));
  const auto& c = m->config();
  EXPECT_EQ(c.platformId, 2u);
  EXPECT_EQ(c.majorVersion, 6u);
  EXPECT_EQ(c.minorVersion, 1u);
  EXPECT_EQ(m->files().driveType('A'), 2);
  EXPECT_EQ(m->files().driveType('C'), 3);
  EXPECT_EQ(m->files().driveType('D'), 5);
  EXPECT_EQ(m->files().driveType('Q'), 1);
  for (const auto& f : {c.tempFolder, c.documentsFolder, c.localAppDataFolder, c.programsFolder, c.desktopFolder,
                        c.systemFolder, std::string("C:\\Program Files")}) {
    std::uint32_t attrs = 0;
    EXPECT_EQ(m->files().attributes(f, attrs), 0u) << f;
    EXPECT_TRUE(attrs & machine::kAttrDirectory) << f;
  }
  // A second open reads what the first one wrote.
  auto again = machine::Machine::open(folder);
  EXPECT_EQ(again->config().userName, c.userName);
  EXPECT_EQ(again->config().programsFolder, c.programsFolder);
  fs::remove_all(folder);
}

TEST(MachineFolder, BrokenMachineIniNamesItsLineAndStaysUntouched) {
  const fs::path folder = fs::temp_directory_path() / "zov-machine-bad-ini";
  fs::remove_all(folder);
  fs::create_directories(folder);
  const std::string text = "[Windows]\nPlatformId=2\nMajorVersion=six\n";
  std::ofstream(folder / "machine.ini") << text;
  try {
    machine::Machine::open(folder);
    FAIL() << "a bad machine.ini was accepted";
  } catch (const machine::MachineFileError& e) {
    EXPECT_EQ(e.line, 3);
    EXPECT_NE(std::string(e.what()).find("machine.ini:3"), std::string::npos) << e.what();
  }
  EXPECT_EQ(test::readHostFile(folder / "machine.ini"), text);
  EXPECT_FALSE(fs::exists(folder / "registry.reg"));
  fs::remove_all(folder);
}

TEST(MachineFolder, UnknownKeysAndSectionsAreRefused) {
  EXPECT_THROW(machine::parseIni("Key=1\n", "x.ini"), machine::MachineFileError);
  const fs::path file = fs::temp_directory_path() / "zov-unknown.ini";
  std::ofstream(file) << "[Windows]\nPlatfromId=2\n[Drive C]\nType=3\n";
  EXPECT_THROW(machine::MachineConfig::load(file), machine::MachineFileError);
  std::ofstream(file) << "[Windos]\n[Drive C]\nType=3\n";
  EXPECT_THROW(machine::MachineConfig::load(file), machine::MachineFileError);
  fs::remove(file);
}

TEST(MachineFolder, AFolderThatCannotBeCreatedIsAClearError) {
  const fs::path blocker = fs::temp_directory_path() / "zov-machine-blocker";
  std::ofstream(blocker) << "a file, not a folder";
  EXPECT_THROW(machine::Machine::open(blocker / "machine"), std::runtime_error);
  fs::remove(blocker);
}

TEST(MachineFolder, ConfigurationSurvivesItsOwnIniText) {
  test::TestMachine m([](machine::MachineConfig& c) {
    c.faults.refuseWrites = {"C:\\Locked", "D:\\X"};
    c.faults.refuseRegistryWrites = {"HKEY_CLASSES_ROOT"};
    machine::DriveConfig e;
    e.letter = 'E', e.label = "Data", e.full = true, e.freeBytes = 1234;
    c.drives['E'] = e;
    c.otherWindows = {"ZOV", "Rededi Dirirozo Settings"};
    c.programManagerAnswers = false;
  });
  const auto c = machine::MachineConfig::load(m.folder() / "machine.ini");
  EXPECT_EQ(c.faults.refuseWrites.size(), 2u);
  EXPECT_EQ(c.faults.refuseRegistryWrites, std::vector<std::string>{"HKEY_CLASSES_ROOT"});
  ASSERT_NE(c.drive('e'), nullptr);
  EXPECT_TRUE(c.drive('E')->full);
  EXPECT_EQ(c.drive('E')->freeBytes.value_or(0), 1234u);
  EXPECT_EQ(c.otherWindows.size(), 2u);
  EXPECT_FALSE(c.programManagerAnswers);
}

TEST(MachinePaths, NamesAreFoundWithoutCaseAndKeepTheirCase) {
  test::TestMachine m;
  auto& files = m.machine().files();
  ASSERT_EQ(files.createDirectory("C:\\Program Files\\Zideruv App"), 0u);
  std::uint32_t attrs = 0;
  EXPECT_EQ(files.attributes("c:\\PROGRAM FILES\\zideruv app", attrs), 0u);
  machine::WindowsPath p;
  ASSERT_EQ(files.parse("c:\\program files\\ZIDERUV APP", p), 0u);
  EXPECT_EQ(files.canonical(p), "C:\\Program Files\\Zideruv App");
  EXPECT_EQ(files.createDirectory("C:\\PROGRAM FILES\\ZIDERUV APP"), machine::kErrorAlreadyExists);
  // Turkish and German letters compare without case too.
  ASSERT_EQ(files.createDirectory("C:\\Müşteri Ğ"), 0u);
  EXPECT_EQ(files.attributes("C:\\MÜŞTERİ ğ", attrs), machine::kErrorFileNotFound);  // İ is not I
  EXPECT_EQ(files.attributes("C:\\MÜŞTERI ğ", attrs), 0u);
}

TEST(MachinePaths, SlashAndTheOtherForbiddenCharactersMakeABadName) {
  test::TestMachine m;
  auto& files = m.machine().files();
  for (const char* bad : {"C:\\a/b", "C:\\a|b", "C:\\a<b", "C:\\a>b", "C:\\a\"b", "C:\\a:b", "C:\\a*b", "C:\\a?b"}) {
    EXPECT_EQ(files.createDirectory(bad), machine::kErrorInvalidName) << bad;
  }
  EXPECT_EQ(files.createDirectory("\\\\server\\share"), machine::kErrorPathNotFound);
}

TEST(MachinePaths, RelativeAndDriveRelativePathsUseTheCurrentFolders) {
  test::TestMachine m;
  auto& files = m.machine().files();
  machine::WindowsPath p;
  ASSERT_EQ(files.parse("\\ZOVTMP", p), 0u);
  EXPECT_EQ(p.text(), "C:\\ZOVTMP");
  ASSERT_EQ(files.parse("C:Games", p), 0u);
  EXPECT_EQ(p.text(), "C:\\Games");
  ASSERT_EQ(files.parse("C:\\a\\.\\b\\..\\c. \\", p), 0u);
  EXPECT_EQ(p.text(), "C:\\a\\c");
}

class MachineRules : public ::testing::Test {
 protected:
  test::TestMachine m{[](machine::MachineConfig& c) {
    c.faults.lockedFiles = {"C:\\Data\\inuse.txt"};
    c.faults.refuseWrites = {"C:\\Guarded"};
    c.faults.lockedAttributes = {"C:\\Data\\Stuck"};
    machine::DriveConfig e;
    e.letter = 'E', e.label = "Full", e.full = true;
    c.drives['E'] = e;
  }};
  machine::FileSystem& files = m.machine().files();
  void SetUp() override {
    m.writeFile("C:\\Data\\inuse.txt", "held by another program");
    m.writeFile("C:\\Data\\ro.txt", "read only");
    m.writeFile("C:\\Guarded\\g.txt", "g");
    ASSERT_EQ(files.createDirectory("C:\\Data\\Stuck"), 0u);
    ASSERT_EQ(files.setAttributes("C:\\Data\\ro.txt", machine::kAttrReadOnly), 0u);
  }
};

TEST_F(MachineRules, AReadOnlyFileRefusesDeletionAndWriting) {
  std::unique_ptr<machine::OpenFile> f;
  EXPECT_EQ(files.deleteFile("C:\\Data\\ro.txt"), machine::kErrorAccessDenied);
  EXPECT_EQ(files.openFile("C:\\Data\\ro.txt", FileAccess::Write, FileDisposition::CreateAlways, FileShare::All, f),
            machine::kErrorAccessDenied);
  EXPECT_EQ(files.openFile("C:\\Data\\ro.txt", FileAccess::Read, FileDisposition::OpenExisting, FileShare::All, f), 0u);
  f.reset();
  EXPECT_EQ(m.readFile("C:\\Data\\ro.txt"), "read only");
  // The attribute survives the next run.
  m.reopen();
  EXPECT_EQ(m.machine().files().deleteFile("C:\\Data\\ro.txt"), machine::kErrorAccessDenied);
}

TEST_F(MachineRules, ALockedFileRefusesDeletionAndWritingButCanBeRead) {
  std::unique_ptr<machine::OpenFile> f;
  EXPECT_EQ(files.deleteFile("C:\\Data\\INUSE.txt"), machine::kErrorSharingViolation);
  EXPECT_EQ(files.openFile("C:\\Data\\inuse.txt", FileAccess::ReadWrite, FileDisposition::OpenAlways, FileShare::All, f),
            machine::kErrorSharingViolation);
  EXPECT_EQ(files.openFile("C:\\Data\\inuse.txt", FileAccess::Read, FileDisposition::OpenExisting, FileShare::All, f), 0u);
}

TEST_F(MachineRules, OurOwnOpenFileCannotBeDeletedOrOpenedAgainAgainstItsLock) {
  std::unique_ptr<machine::OpenFile> f, g;
  ASSERT_EQ(files.openFile("C:\\Data\\x.bin", FileAccess::ReadWrite, FileDisposition::OpenAlways, FileShare::DenyAll, f), 0u);
  EXPECT_EQ(files.openFile("C:\\Data\\x.bin", FileAccess::Read, FileDisposition::OpenExisting, FileShare::All, g),
            machine::kErrorSharingViolation);
  EXPECT_EQ(files.deleteFile("C:\\Data\\x.bin"), machine::kErrorSharingViolation);
  f.reset();
  EXPECT_EQ(files.deleteFile("C:\\Data\\x.bin"), 0u);
}

TEST_F(MachineRules, AGuardedPathRefusesEveryChange) {
  std::unique_ptr<machine::OpenFile> f;
  EXPECT_EQ(files.createDirectory("C:\\Guarded\\Sub"), machine::kErrorAccessDenied);
  EXPECT_EQ(files.deleteFile("C:\\Guarded\\g.txt"), machine::kErrorAccessDenied);
  EXPECT_EQ(files.openFile("C:\\Guarded\\new.txt", FileAccess::Write, FileDisposition::CreateAlways, FileShare::All, f),
            machine::kErrorAccessDenied);
  EXPECT_EQ(files.createDirectory("C:\\GuardedNot"), 0u);  // a sibling with a longer name is not below it
}

TEST_F(MachineRules, AFolderWhoseAttributesAreStuckRefusesTheChange) {
  EXPECT_EQ(files.setAttributes("C:\\Data\\Stuck", machine::kAttrHidden), machine::kErrorAccessDenied);
  EXPECT_EQ(files.setAttributes("C:\\Data", machine::kAttrHidden), 0u);
}

TEST_F(MachineRules, AFullDriveRefusesEveryWrittenByteButNotAnEmptyFile) {
  std::unique_ptr<machine::OpenFile> f;
  ASSERT_EQ(files.openFile("E:\\a.bin", FileAccess::Write, FileDisposition::CreateAlways, FileShare::All, f), 0u);
  EXPECT_EQ(f->write(0, "x", 1), machine::kErrorDiskFull);
  std::uint64_t freeBytes = 1, total = 0;
  EXPECT_EQ(files.freeSpace('E', freeBytes, total), 0u);
  EXPECT_EQ(freeBytes, 0u);
}

TEST_F(MachineRules, HiddenFilesCannotBeReplacedWithoutClearingTheAttribute) {
  m.writeFile("C:\\Data\\h.txt", "hidden");
  ASSERT_EQ(files.setAttributes("C:\\Data\\h.txt", machine::kAttrHidden), 0u);
  std::unique_ptr<machine::OpenFile> f;
  EXPECT_EQ(files.openFile("C:\\Data\\h.txt", FileAccess::Write, FileDisposition::CreateAlways, FileShare::All, f),
            machine::kErrorAccessDenied);
  ASSERT_EQ(files.setAttributes("C:\\Data\\h.txt", 0), 0u);
  EXPECT_EQ(files.openFile("C:\\Data\\h.txt", FileAccess::Write, FileDisposition::CreateAlways, FileShare::All, f), 0u);
}

TEST_F(MachineRules, AMoveReplacesAFileWholeAndTakesItsAttributesAlong) {
  m.writeFile("C:\\Data\\old.txt", "old");
  m.writeFile("C:\\Data\\new.tmp", "new");
  ASSERT_EQ(files.setAttributes("C:\\Data\\old.txt", machine::kAttrArchive), 0u);
  ASSERT_EQ(files.setAttributes("C:\\Data\\new.tmp", machine::kAttrArchive | machine::kAttrReadOnly), 0u);
  // The replaced file keeps its stored spelling.
  EXPECT_EQ(files.moveFile("C:\\Data\\new.tmp", "C:\\DATA\\OLD.TXT"), 0u);
  EXPECT_EQ(m.readFile("C:\\Data\\old.txt"), "new");
  EXPECT_FALSE(m.exists("C:\\Data\\new.tmp"));
  std::vector<machine::FoundEntry> found;
  ASSERT_EQ(files.find("C:\\Data\\o*", found), 0u);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].name, "old.txt");
  EXPECT_EQ(found[0].attributes, machine::kAttrArchive | machine::kAttrReadOnly);
  m.reopen();
  std::uint32_t attributes = 1;
  EXPECT_EQ(m.machine().files().attributes("C:\\Data\\new.tmp", attributes), machine::kErrorFileNotFound);
  // To a name that is not there yet.
  EXPECT_EQ(m.machine().files().moveFile("C:\\Data\\old.txt", "C:\\Data\\Stuck\\moved.txt"), 0u);
  EXPECT_EQ(m.readFile("C:\\Data\\Stuck\\moved.txt"), "new");
}

TEST_F(MachineRules, AMoveIsRefusedAsTheChangesItMakesAreAndChangesNothing) {
  m.writeFile("C:\\Data\\new.tmp", "new");
  m.writeFile("C:\\Data\\h.txt", "hidden");
  m.writeFile("E:\\e.txt", "e");
  ASSERT_EQ(files.setAttributes("C:\\Data\\h.txt", machine::kAttrHidden), 0u);
  const std::pair<const char*, const char*> refused[] = {
      {"C:\\Data\\new.tmp", "C:\\Data\\ro.txt"},     {"C:\\Data\\new.tmp", "C:\\Data\\h.txt"},
      {"C:\\Data\\new.tmp", "C:\\Guarded\\g.txt"},   {"C:\\Guarded\\g.txt", "C:\\Data\\g.txt"},
      {"C:\\Data\\new.tmp", "C:\\Data\\Stuck"},      {"C:\\Data\\Stuck", "C:\\Data\\Moved"},
      {"C:\\Data\\new.tmp", "C:\\Data\\inuse.txt"},  {"C:\\Data\\inuse.txt", "C:\\Data\\x.txt"},
      {"C:\\Data\\gone.tmp", "C:\\Data\\x.txt"},     {"C:\\Data\\new.tmp", "C:\\Nowhere\\x.txt"},
      {"C:\\Data\\new.tmp", "E:\\e.txt"},
  };
  const std::uint32_t codes[] = {machine::kErrorAccessDenied,     machine::kErrorAccessDenied,
                                 machine::kErrorAccessDenied,     machine::kErrorAccessDenied,
                                 machine::kErrorAccessDenied,     machine::kErrorAccessDenied,
                                 machine::kErrorSharingViolation, machine::kErrorSharingViolation,
                                 machine::kErrorFileNotFound,     machine::kErrorPathNotFound,
                                 machine::kErrorNotSameDevice};
  for (std::size_t i = 0; i < std::size(refused); ++i) {
    EXPECT_EQ(files.moveFile(refused[i].first, refused[i].second), codes[i]) << refused[i].first << " " << refused[i].second;
  }
  // A file of ours that is open, on either side.
  std::unique_ptr<machine::OpenFile> f;
  ASSERT_EQ(files.openFile("C:\\Data\\open.txt", FileAccess::Write, FileDisposition::CreateAlways, FileShare::All, f), 0u);
  EXPECT_EQ(files.moveFile("C:\\Data\\new.tmp", "C:\\Data\\open.txt"), machine::kErrorSharingViolation);
  EXPECT_EQ(files.moveFile("C:\\Data\\open.txt", "C:\\Data\\x.txt"), machine::kErrorSharingViolation);
  f.reset();
  EXPECT_EQ(m.readFile("C:\\Data\\new.tmp"), "new");
  EXPECT_EQ(m.readFile("C:\\Data\\ro.txt"), "read only");
  EXPECT_EQ(m.readFile("C:\\Data\\h.txt"), "hidden");
  EXPECT_EQ(m.readFile("C:\\Data\\inuse.txt"), "held by another program");
  EXPECT_EQ(m.readFile("C:\\Guarded\\g.txt"), "g");
}

TEST_F(MachineRules, ANewFileIsMadeOnlyWhenTheNameIsFree) {
  std::unique_ptr<machine::OpenFile> f;
  EXPECT_EQ(files.openFile("C:\\Data\\RO.TXT", FileAccess::Write, FileDisposition::CreateNew, FileShare::All, f),
            machine::kErrorFileExists);
  EXPECT_EQ(m.readFile("C:\\Data\\ro.txt"), "read only");
  EXPECT_EQ(files.openFile("C:\\Data\\fresh.txt", FileAccess::Write, FileDisposition::CreateNew, FileShare::All, f), 0u);
  EXPECT_TRUE(m.exists("C:\\Data\\fresh.txt"));
}

TEST_F(MachineRules, DrivesWithoutAMediumAreNotReady) {
  std::vector<machine::FoundEntry> found;
  EXPECT_EQ(files.find("A:\\*.*", found), machine::kErrorNotReady);
  EXPECT_EQ(files.createDirectory("D:\\x"), machine::kErrorNotReady);
  EXPECT_EQ(files.find("Q:\\*.*", found), machine::kErrorInvalidDrive);
}

TEST(MachineProcesses, UnquotedCommandLinesFindTheShortestProgramPath) {
  test::TestMachine m;
  m.writeFile("C:\\Program Files\\ZOV App\\setup.exe", "MZ");
  std::uint32_t error = 0;
  const auto id = m.machine().startProgram("C:\\Program Files\\ZOV App\\setup.exe", 1, error);
  ASSERT_NE(id, 0u);
  EXPECT_EQ(m.machine().process(id)->path, "C:\\Program Files\\ZOV App\\setup.exe");
  const auto quoted = m.machine().startProgram("\"C:\\Program Files\\ZOV App\\setup.exe\" /kineloft %1", 1, error);
  ASSERT_NE(quoted, 0u);
  EXPECT_EQ(m.machine().process(quoted)->arguments, " /kineloft %1");
  EXPECT_EQ(m.machine().startProgram("C:\\nowhere.exe", 1, error), 0u);
  EXPECT_EQ(error, machine::kErrorFileNotFound);
  EXPECT_NE(test::readHostFile(m.folder() / "log").find("started process"), std::string::npos);
}

}  // namespace
}  // namespace zov
