// What the machine promises as Windows does, also when several programs use
// it at once, the host disk fills up, or its folder holds hostile links.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "platform/machine/atomic_file.h"
#include "platform/machine/ini_file.h"
#include "platform/machine/machine.h"
#include "platform/machine/windows_errors.h"
#include "platform/runtime/files.h"
#include "platform/runtime/runtime_error.h"
#include "platform/win32/kernel.h"
#include "platform/win32/registry.h"
#include "tests/support/test_machine.h"

namespace zov {
namespace {

namespace fs = std::filesystem;
using machine::FileAccess;
using machine::FileDisposition;
using machine::FileShare;

constexpr win32::HKEY kCurrentUser = win32::HKEY_CURRENT_USER;

// Rewrites machine.ini with a change and opens the machine again, as the next run would.
void reconfigure(test::TestMachine& m, const std::function<void(machine::MachineConfig&)>& edit) {
  machine::MachineConfig c = m.machine().config();
  edit(c);
  machine::writeFileAtomically(m.folder() / "machine.ini", c.toIniText());
  m.reopen();
}

TEST(MachineSharing, ThreeProcessesWritingAtOnceLoseNoValue) {
  constexpr int kProcesses = 3, kValues = 40, kRounds = 20;
  for (int round = 0; round < kRounds; ++round) {
    test::TestMachine m;
    const std::string key = "Software\\Zideruv";
    std::vector<pid_t> children;
    for (int p = 0; p < kProcesses; ++p) {
      const pid_t pid = ::fork();
      ASSERT_GE(pid, 0);
      if (pid == 0) {
        // Another program on the same machine, with its own view of it.
        machine::setCurrentMachine(machine::Machine::open(m.folder()));
        int failed = 0;
        for (int v = 0; v < kValues; ++v) {
          win32::HKEY h = 0;
          const std::string data = std::to_string(p) + "/" + std::to_string(v);
          if (win32::RegCreateKeyA(kCurrentUser, key, h) != 0 ||
              win32::RegSetValueExA(h, "P" + std::to_string(p) + "V" + std::to_string(v), machine::kRegSz,
                                    data.c_str(), static_cast<win32::DWORD>(data.size() + 1)) != 0) {
            ++failed;
          }
          win32::RegCloseKey(h);
        }
        ::_exit(failed == 0 ? 0 : 1);
      }
      children.push_back(pid);
    }
    for (pid_t pid : children) {
      int status = 0;
      ASSERT_EQ(::waitpid(pid, &status, 0), pid);
      ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a write was refused in round " << round;
    }
    const auto reg = machine::RegistryStore::load(m.folder() / "registry.reg", 1252);
    ASSERT_EQ(reg.valueNames("HKEY_CURRENT_USER\\" + key).size(), std::size_t{kProcesses * kValues}) << "round " << round;
    // This process sees what the others wrote.
    win32::HKEY h = 0;
    ASSERT_EQ(win32::RegOpenKeyA(kCurrentUser, key, h), 0);
    win32::DWORD size = 0;
    EXPECT_EQ(win32::RegQueryValueExA(h, "P2V39", nullptr, nullptr, &size), 0);
    EXPECT_EQ(size, 5u);
    win32::RegCloseKey(h);
  }
}

TEST(MachineSharing, AttributesSetByTwoProgramsAreBothKept) {
  test::TestMachine m;
  machine::AttributeStore first(m.folder() / "attributes"), second(m.folder() / "attributes");
  ASSERT_EQ(first.set("C:\\a.txt", machine::kAttrHidden), 0u);
  ASSERT_EQ(second.set("C:\\b.txt", machine::kAttrReadOnly), 0u);
  ASSERT_EQ(first.set("C:\\c.txt", machine::kAttrSystem), 0u);
  EXPECT_EQ(second.get("C:\\C.TXT"), machine::kAttrSystem);
  const machine::AttributeStore again(m.folder() / "attributes");
  EXPECT_EQ(again.get("C:\\a.txt"), machine::kAttrHidden);
  EXPECT_EQ(again.get("C:\\b.txt"), machine::kAttrReadOnly);
  EXPECT_EQ(again.get("C:\\c.txt"), machine::kAttrSystem);
}

TEST(MachineHostDisk, AFullHostDiskGivesCodesAndTheMachineOpensAgain) {
  test::TestMachine m;
  m.writeFile("C:\\Data\\kept.txt", "kept");
  ASSERT_TRUE(win32::SetFileAttributesA("C:\\Data\\kept.txt", machine::kAttrHidden));
  const std::string registryBefore = test::readHostFile(m.folder() / "registry.reg");
  const std::string attributesBefore = test::readHostFile(m.folder() / "attributes");
  reconfigure(m, [](machine::MachineConfig& c) { c.faults.hostFreeBytes = 10; });

  // Files on the drive fill the disk: the runtime raises "disk full" for the program's handler.
  runtime::Open("C:\\Data\\big.bin", runtime::OpenMode::Binary, 1);
  try {
    runtime::Put(1, 1, std::string(200, 'x'));
    ADD_FAILURE() << "a write beyond the host disk's room succeeded";
  } catch (const runtime::RuntimeError& e) {
    EXPECT_EQ(e.number(), 61);
  }
  runtime::Close(1);
  // The machine's own files do not fit either: Windows functions answer with codes.
  EXPECT_FALSE(win32::SetFileAttributesA("C:\\Data\\kept.txt", machine::kAttrReadOnly));
  EXPECT_EQ(win32::GetLastError(), machine::kErrorDiskFull);
  win32::HKEY h = 0;
  EXPECT_EQ(win32::RegCreateKeyA(kCurrentUser, "Software\\Zideruv", h), static_cast<win32::LONG>(machine::kErrorDiskFull));
  EXPECT_EQ(win32::RegSetValueExA(kCurrentUser, "x", machine::kRegSz, "y", 2),
            static_cast<win32::LONG>(machine::kErrorDiskFull));
  EXPECT_EQ(m.machine().files().deleteFile("C:\\Data\\kept.txt"), machine::kErrorDiskFull);
  EXPECT_TRUE(m.exists("C:\\Data\\kept.txt"));
  EXPECT_EQ(test::readHostFile(m.folder() / "registry.reg"), registryBefore);
  EXPECT_EQ(test::readHostFile(m.folder() / "attributes"), attributesBefore);

  reconfigure(m, [](machine::MachineConfig& c) { c.faults.hostFreeBytes.reset(); });
  std::uint32_t attrs = 0;
  EXPECT_EQ(m.machine().files().attributes("C:\\Data\\kept.txt", attrs), 0u);
  EXPECT_EQ(attrs, machine::kAttrHidden);
  EXPECT_FALSE(m.machine().registry().keyExists("HKEY_CURRENT_USER\\Software\\Zideruv"));
  EXPECT_EQ(win32::RegCreateKeyA(kCurrentUser, "Software\\Zideruv", h), 0);
}

// Another program on the machine, started with KillAtChange=`at`, makes
// `changes`; it must be killed on the way. The fault is gone afterwards.
void killedAt(test::TestMachine& m, std::uint64_t at, const std::function<void()>& changes) {
  machine::MachineConfig c = m.machine().config();
  c.faults.killAtChange = at;
  machine::writeFileAtomically(m.folder() / "machine.ini", c.toIniText());
  const pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    machine::setCurrentMachine(machine::Machine::open(m.folder()));
    changes();
    ::_exit(0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "not killed at change " << at;
  reconfigure(m, [](machine::MachineConfig& config) { config.faults.killAtChange.reset(); });
}

// The temporary files of saves of `file` that are there ("<file>.~zovsave-XXXXXX").
std::vector<std::string> temporariesOf(const fs::path& file) {
  const std::string prefix = file.filename().string() + ".~zovsave-";
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(file.parent_path())) {
    const std::string name = entry.path().filename().string();
    if (name.size() == prefix.size() + 6 && name.starts_with(prefix)) names.push_back(name);
  }
  return names;
}

TEST(MachineKillAtChange, TheProgramDiesAtItsNthChangeAndAWriteThereIsCutInHalf) {
  test::TestMachine m;
  auto changes = [&] {
    auto& files = machine::currentMachine().files();
    std::unique_ptr<machine::OpenFile> file;
    files.createDirectory("C:\\K");
    files.openFile("C:\\K\\a.bin", FileAccess::Write, FileDisposition::CreateAlways, FileShare::All, file);
    file->write(0, "0123456789", 10);
    file.reset();
    files.moveFile("C:\\K\\a.bin", "C:\\K\\b.bin");
    files.createDirectory("C:\\K\\never");
  };
  killedAt(m, 2, changes);
  EXPECT_TRUE(m.exists("C:\\K"));
  EXPECT_FALSE(m.exists("C:\\K\\a.bin"));
  fs::remove_all(m.host("C:\\K"));
  killedAt(m, 3, changes);
  EXPECT_EQ(m.readFile("C:\\K\\a.bin"), "01234");
  fs::remove_all(m.host("C:\\K"));
  killedAt(m, 4, changes);
  EXPECT_EQ(m.readFile("C:\\K\\a.bin"), "0123456789");
  EXPECT_FALSE(m.exists("C:\\K\\b.bin"));
  EXPECT_FALSE(m.exists("C:\\K\\never"));
}

// A save of registry.reg cut short at each of its steps leaves the file as
// it was; the next save removes the temporary file the kill left.
TEST(MachineKillAtChange, ASaveCutShortLeavesTheFileWholeAndTheNextSaveTidiesUp) {
  test::TestMachine m;
  const fs::path registry = m.folder() / "registry.reg";
  const std::string before = test::readHostFile(registry);
  for (std::uint64_t step = 1; step <= 3; ++step) {
    killedAt(m, step, [] {
      win32::HKEY h = 0;
      win32::RegCreateKeyA(kCurrentUser, "Software\\Killed", h);
    });
    EXPECT_EQ(test::readHostFile(registry), before) << step;
    // Struck before the temporary file was made, after it, and after it was
    // written whole (the one of the earlier kill removed by this save).
    EXPECT_EQ(temporariesOf(registry).size(), step == 1 ? 0u : 1u) << step;
  }
  std::ofstream(m.folder() / "attributes.~zovsave-Q1w2E3") << "an attribute save cut short";
  win32::HKEY h = 0;
  ASSERT_EQ(win32::RegCreateKeyA(kCurrentUser, "Software\\Saved", h), 0);
  EXPECT_TRUE(temporariesOf(registry).empty());
  EXPECT_TRUE(fs::exists(m.folder() / "registry.reg.lock"));
  EXPECT_TRUE(fs::exists(m.folder() / "attributes.~zovsave-Q1w2E3"));
  m.writeFile("C:\\a.txt", "a");
  ASSERT_TRUE(win32::SetFileAttributesA("C:\\a.txt", machine::kAttrHidden));
  EXPECT_FALSE(fs::exists(m.folder() / "attributes.~zovsave-Q1w2E3"));
  const auto reg = machine::RegistryStore::load(registry, 1252);
  EXPECT_TRUE(reg.keyExists("HKEY_CURRENT_USER\\Software\\Saved"));
  EXPECT_FALSE(reg.keyExists("HKEY_CURRENT_USER\\Software\\Killed"));
}

// Files a user keeps in the machine folder, some named much like a save's
// temporary file, survive every save and the clearing of leftovers.
TEST(MachineKillAtChange, FilesOfTheUserInTheMachineFolderSurviveSavesAndTheClearing) {
  test::TestMachine m;
  const std::vector<std::string> kept = {
      "registry.reg.backup", "registry.reg.before", "attributes.before", "progman.ini.backup", "notes.txt",
      // the shape of earlier temporary files, and the mark with a wrong tail or place
      "registry.reg.Q1w2E3", "attributes.~zovsave-Q1w2E", "progman.ini.~zovsave-Q1w2E3x",
      "registry.reg.~zovsave-Q1-2E3", "registry.reg~zovsave-Q1w2E3"};
  for (const auto& name : kept) std::ofstream(m.folder() / name) << "kept by the user: " << name;
  win32::HKEY h = 0;
  ASSERT_EQ(win32::RegCreateKeyA(kCurrentUser, "Software\\Saved", h), 0);
  m.writeFile("C:\\a.txt", "a");
  ASSERT_TRUE(win32::SetFileAttributesA("C:\\a.txt", machine::kAttrHidden));
  ASSERT_EQ(m.machine().programManager().execute("[CreateGroup(Saved)]"), machine::ProgramManager::Answer::Done);
  m.machine().removeLeftoverSaveFiles();
  for (const auto& name : kept) EXPECT_EQ(test::readHostFile(m.folder() / name), "kept by the user: " + name);
}

// Saves of each of the three files struck after their temporary file was
// made and after it was half written: one call removes what they left, and
// each file holds what it held before.
TEST(MachineKillAtChange, OneCallRemovesWhatKilledSavesOfTheThreeFilesLeft) {
  test::TestMachine m;
  m.writeFile("C:\\a.txt", "a");
  std::ofstream(m.folder() / "notes.txt") << "mine";
  const fs::path files[] = {m.folder() / "registry.reg", m.folder() / "attributes", m.folder() / "progman.ini"};
  const std::function<void()> saves[] = {
      [] {
        win32::HKEY h = 0;
        win32::RegCreateKeyA(kCurrentUser, "Software\\Killed", h);
      },
      [] { win32::SetFileAttributesA("C:\\a.txt", machine::kAttrHidden); },
      [] { machine::currentMachine().programManager().execute("[CreateGroup(Killed)]"); },
  };
  for (std::size_t f = 0; f < std::size(files); ++f) {
    for (std::uint64_t step = 2; step <= 3; ++step) killedAt(m, step, saves[f]);
    // A locked save removes the one its killed forerunner left; progman.ini's stay.
    EXPECT_EQ(temporariesOf(files[f]).size(), f == 2 ? 2u : 1u) << files[f];
  }
  m.machine().removeLeftoverSaveFiles();
  for (const auto& file : files) EXPECT_TRUE(temporariesOf(file).empty()) << file;
  EXPECT_EQ(test::readHostFile(m.folder() / "notes.txt"), "mine");
  EXPECT_FALSE(m.machine().registry().keyExists("HKEY_CURRENT_USER\\Software\\Killed"));
  EXPECT_EQ(m.machine().attributes().get("C:\\a.txt"), 0u);
  EXPECT_TRUE(m.machine().programManager().groups().empty());
}

TEST(MachineFolderLinks, NoLinkInADriveLeadsOutOfTheMachine) {
  test::TestMachine m;
  const fs::path outside = m.folder().parent_path() / (m.folder().filename().string() + "-outside");
  fs::create_directories(outside);
  std::ofstream(outside / "secret.txt") << "host file";
  fs::create_directory_symlink(outside, m.host("C:\\") / "Escape");
  fs::create_symlink(outside / "secret.txt", m.host("C:\\") / "secret.txt");
  auto& files = m.machine().files();

  std::unique_ptr<machine::OpenFile> file;
  for (const char* path : {"C:\\secret.txt", "C:\\Escape\\secret.txt", "C:\\escape\\SECRET.TXT"}) {
    EXPECT_EQ(files.openFile(path, FileAccess::Read, FileDisposition::OpenExisting, FileShare::All, file),
              machine::kErrorAccessDenied)
        << path;
    EXPECT_EQ(files.openFile(path, FileAccess::Write, FileDisposition::CreateAlways, FileShare::All, file),
              machine::kErrorAccessDenied)
        << path;
    EXPECT_EQ(files.deleteFile(path), machine::kErrorAccessDenied) << path;
    EXPECT_EQ(files.setAttributes(path, machine::kAttrHidden), machine::kErrorAccessDenied) << path;
  }
  EXPECT_EQ(files.openFile("C:\\Escape\\new.txt", FileAccess::Write, FileDisposition::CreateAlways, FileShare::All, file),
            machine::kErrorAccessDenied);
  EXPECT_EQ(files.createDirectory("C:\\Escape\\New"), machine::kErrorAccessDenied);
  EXPECT_EQ(files.removeDirectory("C:\\Escape"), machine::kErrorAccessDenied);
  std::vector<machine::FoundEntry> found;
  EXPECT_EQ(files.find("C:\\Escape\\*.*", found), machine::kErrorAccessDenied);
  files.find("C:\\*", found);
  for (const auto& entry : found) EXPECT_NE(entry.name, "Escape");

  // A drive folder replaced by a link is no way out either.
  fs::rename(m.host("C:\\"), m.folder() / "drives" / "C-real");
  fs::create_directory_symlink(outside, m.folder() / "drives" / "C");
  EXPECT_EQ(files.openFile("C:\\secret.txt", FileAccess::Read, FileDisposition::OpenExisting, FileShare::All, file),
            machine::kErrorAccessDenied);
  EXPECT_EQ(files.deleteFile("C:\\secret.txt"), machine::kErrorAccessDenied);

  EXPECT_EQ(test::readHostFile(outside / "secret.txt"), "host file");
  EXPECT_EQ(std::distance(fs::directory_iterator(outside), fs::directory_iterator()), 1);
  fs::remove_all(outside);
}

// Another host process swaps a folder of the path for a link after the walk
// checked it and before the change is made: the in-use check runs just then.
TEST(MachineFolderLinks, AFolderSwappedForALinkDuringAnOperationLeadsNowhere) {
  test::TestMachine m;
  // The outside folder looks like the one it replaces, so that a path followed through the link finds its way.
  const fs::path outside = m.folder().parent_path() / (m.folder().filename().string() + "-outside");
  fs::create_directories(outside / "Sub");
  std::ofstream(outside / "Sub" / "secret.txt") << "host file";
  m.writeFile("C:\\Data\\Sub\\secret.txt", "machine file");
  auto& files = m.machine().files();
  const fs::path data = m.host("C:\\Data");
  files.setInUseCheck([&](const std::string&) {
    fs::rename(data, m.host("C:\\") / "Data-real");
    fs::create_directory_symlink(outside, data);
    return false;
  });
  std::unique_ptr<machine::OpenFile> file;
  ASSERT_EQ(files.openFile("C:\\data\\sub\\secret.txt", FileAccess::Write, FileDisposition::CreateAlways,
                           FileShare::All, file),
            0u);
  ASSERT_EQ(file->write(0, "new", 3), 0u);
  file.reset();
  EXPECT_EQ(test::readHostFile(m.host("C:\\Data-real\\Sub\\secret.txt")), "new");

  fs::remove(data);
  fs::rename(m.host("C:\\Data-real"), data);
  EXPECT_EQ(files.deleteFile("C:\\Data\\Sub\\secret.txt"), 0u);
  EXPECT_FALSE(fs::exists(m.host("C:\\Data-real\\Sub\\secret.txt")));

  EXPECT_EQ(test::readHostFile(outside / "Sub" / "secret.txt"), "host file");
  EXPECT_EQ(std::distance(fs::recursive_directory_iterator(outside), fs::recursive_directory_iterator()), 2);
  fs::remove_all(outside);
}

TEST(MachineCaseMap, SharpSIsALetterOfItsOwn) {
  test::TestMachine m;
  m.writeFile("C:\\Straße\\a.txt", "a");
  std::uint32_t attrs = 0;
  EXPECT_EQ(m.machine().files().attributes("C:\\STRAßE\\A.TXT", attrs), 0u);
  EXPECT_EQ(m.machine().files().attributes("C:\\Stra\xC2\xBF" "e\\a.txt", attrs), machine::kErrorPathNotFound);
  auto& reg = m.machine().registry();
  ASSERT_EQ(reg.createKey("HKEY_CURRENT_USER\\Software\\Straße"), 0u);
  ASSERT_EQ(reg.createKey("HKEY_CURRENT_USER\\Software\\Stra\xC2\xBF" "e"), 0u);
  EXPECT_EQ(reg.subkeyNames("HKEY_CURRENT_USER\\Software").size(), 3u);  // with Microsoft
}

TEST(MachineFreeSpace, FreeBytesComeBackToTheByte) {
  for (std::uint64_t bytes : {std::uint64_t{4882 * 1024}, std::uint64_t{4883 * 1024}, std::uint64_t{5000000},
                              std::uint64_t{4096} * 1000000, std::uint64_t{0}}) {
    test::TestMachine m([&](machine::MachineConfig& c) { c.drives['C'].freeBytes = bytes; });
    win32::DWORD sectors = 0, sectorBytes = 0, free = 0, total = 0;
    ASSERT_TRUE(win32::GetDiskFreeSpaceA("C:\\", sectors, sectorBytes, free, total));
    EXPECT_EQ(std::uint64_t{free} * sectors * sectorBytes, bytes);
  }
}

TEST(MachineRegistryLimits, AKeyDeeperThanWindowsAllowsIsNotCreated) {
  test::TestMachine m;
  std::string deep = "Software";
  for (int i = 0; i < 511; ++i) deep += "\\k";
  win32::HKEY h = 0;
  EXPECT_EQ(win32::RegCreateKeyA(kCurrentUser, deep, h), 0);  // 512 levels below the root
  win32::RegCloseKey(h);
  EXPECT_NE(win32::RegCreateKeyA(kCurrentUser, deep + "\\one-too-many", h), 0);
  EXPECT_EQ(h, 0);
  EXPECT_NE(win32::RegOpenKeyA(kCurrentUser, deep + "\\one-too-many", h), 0);
}

}  // namespace
}  // namespace zov

namespace zov {
namespace {

struct CorruptIni {
  std::string text;
  int line;
};

TEST(MachineIni, EveryBrokenFileIsRefusedWithItsLineAndLeftUntouched) {
  const std::string head = "[Windows]\nMajorVersion=6\n";  // lines 1-2
  const std::string drive = "[Drive C]\nType=3\n";
  const std::vector<CorruptIni> cases = {
      {head + "[Drive C]\nType=-1\n", 4},
      {head + "[Drive C]\nType=7\n", 4},
      {"[Windows]\nMajorVersion=4294967302\n" + drive, 2},
      {"[Windows]\nMajorVersion=-6\n" + drive, 2},
      {"[Windows]\nMajorVersion=+6\n" + drive, 2},
      {"[Windows]\nMajorVersion=6x\n" + drive, 2},
      {"[Windows]\nMajorVersion=\n" + drive, 2},
      {"[Windows]\nBuildNumber=18446744073709551616\n" + drive, 2},
      {"[Windows]\nPlatformId=1.5\n" + drive, 2},
      {"[Windows]\nUILanguage=10409\n" + drive, 2},
      {"[Windows]\nUILanguage=0x\n" + drive, 2},
      {"[Windows]\nUILanguage=-409\n" + drive, 2},
      {"[Windows]\nCodePage=1253\n" + drive, 2},
      {head + "[Drive C]\nFreeBytes=-1\n", 4},
      {head + "[Drive C]\nFreeBytes=99999999999999999999999\n", 4},
      {head + "[Drive C]\nMedium=maybe\n", 4},
      {head + drive + "[Faults]\nVersionQuery=sometimes\n", 6},
      {head + drive + "[Faults]\nHostFreeBytes=lots\n", 6},
      {head + "MajorVersion=7\n" + drive, 3},
      {head + "[Drive C]\ntype=3\nType=3\n", 5},
      {head + drive + "[Drive c]\nType=3\n", 5},
      {head + "[windows]\n" + drive, 3},
      {"\xEF\xBB\xBF" + head + drive, 1},
      {head + std::string("ServicePack=a\0b\n", 16) + drive, 3},
      {head + "UserName=\xC3\x28\n" + drive, 3},
      {head + "UserName=a\rb\n" + drive, 3},
      {"", 1},
      {"; only a comment\n\n", 2},
      {head, 1},
      {head + drive + "[Drive D]\nHost=no-such-folder\n", 6},
      {head + drive + "[Drive D]\nHost=\n", 6},
      {"Type=3\n" + drive, 1},
      {head + "[Drive C\nType=3\n", 3},
      {head + drive + "Shortcut\n", 5},
      {head + "Colour=blue\n" + drive, 3},
      {head + drive + "[Printers]\n", 5},
      {head + drive + "[Program a.exe]\nRunsFor=1\n[PROGRAM A.EXE]\n", 7},
      {head + drive + "[Program Çalış.exe]\n[Program çALıŞ.EXE]\n", 6},
      {head + drive + "[Program a.exe]\nRunsFor=1\nStarts=yes\nOpenProcess=no\nrunsfor=2\n", 9},
      {head + drive + "[Desktop]\nWindow=a\nProgramManager=no\nWindow=b\nPROGRAMMANAGER=yes\n", 9},
  };
  ASSERT_GE(cases.size(), 30u);
  const fs::path folder = fs::temp_directory_path() / ("zov-corrupt-ini-" + std::to_string(::getpid()));
  for (const auto& c : cases) {
    fs::remove_all(folder);
    fs::create_directories(folder);
    std::ofstream(folder / "machine.ini", std::ios::binary) << c.text;
    try {
      machine::Machine::open(folder);
      ADD_FAILURE() << "accepted: " << c.text;
    } catch (const machine::MachineFileError& e) {
      EXPECT_EQ(e.line, c.line) << e.what();
      EXPECT_NE(std::string(e.what()).find("machine.ini:" + std::to_string(c.line) + ": "), std::string::npos)
          << e.what();
    }
    EXPECT_EQ(test::readHostFile(folder / "machine.ini"), c.text);
    EXPECT_FALSE(fs::exists(folder / "registry.reg")) << c.text;
    EXPECT_FALSE(fs::exists(folder / "drives")) << c.text;
  }
  fs::remove_all(folder);
}

TEST(MachineIni, ADriveAddedLaterHasItsFolderAndRelativeHostsStandInTheMachineFolder) {
  test::TestMachine m;
  fs::create_directories(m.folder() / "shared");
  std::ofstream(m.folder() / "machine.ini", std::ios::app) << "\n[Drive E]\nType=3\n\n[Drive F]\nType=4\nHost=shared\n";
  m.reopen();
  EXPECT_TRUE(fs::is_directory(m.folder() / "drives" / "E"));
  EXPECT_EQ(m.machine().files().createDirectory("E:\\Games"), 0u);
  EXPECT_EQ(m.machine().files().createDirectory("F:\\Docs"), 0u);
  EXPECT_TRUE(fs::is_directory(m.folder() / "shared" / "Docs"));
  EXPECT_EQ(m.machine().config().drive('F')->host, m.folder() / "shared");
}

TEST(MachineIni, ADeletedMachineIniDoesNotSeedOverAKeptRegistry) {
  test::TestMachine m;
  auto& reg = m.machine().registry();
  ASSERT_EQ(reg.setValue("HKEY_CLASSES_ROOT\\.txt", "", {machine::kRegSz, {'m', 'i', 'n', 'e', 0}}), 0u);
  ASSERT_EQ(reg.deleteKey("HKEY_CLASSES_ROOT\\txtfile"), 0u);
  const std::string kept = test::readHostFile(m.folder() / "registry.reg");
  fs::remove(m.folder() / "machine.ini");
  m.reopen();
  EXPECT_TRUE(fs::exists(m.folder() / "machine.ini"));
  EXPECT_EQ(test::readHostFile(m.folder() / "registry.reg"), kept);
}

}  // namespace
}  // namespace zov
