// The machine folder is a boundary: no hard link, link among the machine's
// own files or Host= folder lets the machine change a file outside it, and
// its log keeps one event a line on the machine's clock.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <ctime>
#include <fstream>
#include <map>
#include <sstream>

#include "platform/machine/atomic_file.h"
#include "platform/machine/ini_file.h"
#include "platform/machine/machine.h"
#include "platform/machine/windows_errors.h"
#include "platform/runtime/files.h"
#include "platform/runtime/runtime_error.h"
#include "tests/support/test_machine.h"

namespace zov {
namespace {

namespace fs = std::filesystem;
using machine::FileAccess;
using machine::FileDisposition;
using machine::FileShare;

void spit(const fs::path& p, const std::string& text) { std::ofstream(p, std::ios::binary) << text; }

std::uintmax_t links(const fs::path& p) { return fs::hard_link_count(p); }

// A folder beside the machine folder, holding host files that must not change; removed with the test.
struct Outside {
  explicit Outside(const test::TestMachine& m) : folder(m.folder().string() + "-outside") { fs::create_directories(folder); }
  ~Outside() { fs::remove_all(folder); }
  fs::path file(const std::string& name, const std::string& text = "host file") const {
    spit(folder / name, text);
    return folder / name;
  }
  fs::path folder;
};

TEST(MachineBoundaryHardLinks, AFileLinkedFromOutsideIsReadButRefusedAsLockedForEveryWriteInPlace) {
  test::TestMachine m;
  const Outside outside(m);
  const fs::path host = outside.file("host.txt");
  m.writeFile("C:\\Data\\kept.txt", "x");
  fs::create_hard_link(host, m.host("C:\\Data") / "linked.txt");
  auto& files = m.machine().files();

  std::unique_ptr<machine::OpenFile> file;
  ASSERT_EQ(files.openFile("C:\\Data\\LINKED.txt", FileAccess::Read, FileDisposition::OpenExisting, FileShare::All, file), 0u);
  std::string text(9, '\0');
  std::size_t got = 0;
  EXPECT_EQ(file->read(0, text.data(), text.size(), got), 0u);
  EXPECT_EQ(text, "host file");
  file.reset();
  for (const auto access : {FileAccess::Write, FileAccess::ReadWrite}) {
    for (const auto disposition : {FileDisposition::OpenExisting, FileDisposition::OpenAlways, FileDisposition::CreateAlways}) {
      EXPECT_EQ(files.openFile("C:\\Data\\linked.txt", access, disposition, FileShare::All, file),
                machine::kErrorSharingViolation);
    }
  }
  // The runtime's writes meet the same refusal, as a locked file's.
  for (const auto mode : {runtime::OpenMode::Output, runtime::OpenMode::Append, runtime::OpenMode::Binary}) {
    try {
      runtime::Open("C:\\Data\\linked.txt", mode, 1);
      ADD_FAILURE() << "a hard-linked file was opened for writing";
    } catch (const runtime::RuntimeError& e) {
      EXPECT_EQ(e.number(), 70);
    }
  }
  EXPECT_EQ(test::readHostFile(host), "host file");

  // Deleting the machine's name leaves the outside file as it was; a new file takes the name.
  EXPECT_EQ(files.deleteFile("C:\\Data\\linked.txt"), 0u);
  EXPECT_EQ(links(host), 1u);
  m.writeFile("C:\\Data\\linked.txt", "");
  ASSERT_EQ(files.openFile("C:\\Data\\linked.txt", FileAccess::Write, FileDisposition::CreateAlways, FileShare::All, file), 0u);
  EXPECT_EQ(file->write(0, "machine", 7), 0u);
  file.reset();
  EXPECT_EQ(m.readFile("C:\\Data\\linked.txt"), "machine");
  EXPECT_EQ(test::readHostFile(host), "host file");
}

TEST(MachineBoundaryHardLinks, APipeInADriveIsRefusedWithoutWaitingForAWriter) {
  test::TestMachine m;
  m.writeFile("C:\\Data\\kept.txt", "x");
  ASSERT_EQ(::mkfifo((m.host("C:\\Data") / "pipe").c_str(), 0644), 0);
  std::unique_ptr<machine::OpenFile> file;
  auto& files = m.machine().files();
  EXPECT_EQ(files.openFile("C:\\Data\\pipe", FileAccess::Read, FileDisposition::OpenExisting, FileShare::All, file),
            machine::kErrorAccessDenied);
  EXPECT_EQ(files.openFile("C:\\Data\\pipe", FileAccess::Write, FileDisposition::CreateAlways, FileShare::All, file),
            machine::kErrorAccessDenied);
}

// Each of the machine's own files, replaced by a link to an outside file of the same content.
struct OwnFile {
  const char* name;
  std::string content;
};

std::vector<OwnFile> ownFiles(test::TestMachine& m) {
  return {{"machine.ini", test::readHostFile(m.folder() / "machine.ini")},
          {"registry.reg", test::readHostFile(m.folder() / "registry.reg")},
          {"attributes", "; DOS attributes\nH C:\\Data\n"},
          {"progman.ini", "[Group]\nItem=A\nCommand=C:\\a.exe\n"},
          {"log", "2020-01-01T00:00:00.000Z an event\n"}};
}

TEST(MachineBoundaryOwnFiles, AnOwnFileThatIsASymbolicLinkStopsTheMachineWithItsName) {
  test::TestMachine probe;
  for (const auto& own : ownFiles(probe)) {
    test::TestMachine m;
    const Outside outside(m);
    const fs::path host = outside.file(own.name, own.content);
    fs::remove(m.folder() / own.name);
    fs::create_symlink(host, m.folder() / own.name);
    try {
      m.reopen();
      ADD_FAILURE() << own.name << " was read through a link";
    } catch (const std::exception& e) {
      EXPECT_NE(std::string(e.what()).find((m.folder() / own.name).string()), std::string::npos) << e.what();
      EXPECT_NE(std::string(e.what()).find("symbolic link"), std::string::npos) << e.what();
    }
    EXPECT_EQ(test::readHostFile(host), own.content) << own.name;
    machine::setCurrentMachine(nullptr);
    fs::remove(m.folder() / own.name);
    spit(m.folder() / own.name, own.content);
    m.reopen();  // the plain file again: the machine opens
  }
}

TEST(MachineBoundaryOwnFiles, HardLinkedStateFilesAreReplacedAndAHardLinkedLogStopsTheMachine) {
  test::TestMachine m;
  const Outside outside(m);
  std::map<std::string, fs::path> hosts;
  const auto originals = ownFiles(m);
  for (const auto& own : originals) {
    if (own.name == std::string("machine.ini")) continue;  // only read, never written by a run
    hosts[own.name] = outside.file(own.name, own.content);
    fs::remove(m.folder() / own.name);
    fs::create_hard_link(hosts[own.name], m.folder() / own.name);
  }
  for (const char* lock : {"registry.reg.lock", "attributes.lock"}) {
    hosts[lock] = outside.file(lock, "lock");
    fs::remove(m.folder() / lock);
    fs::create_hard_link(hosts[lock], m.folder() / lock);
  }
  try {
    m.reopen();
    ADD_FAILURE() << "a hard-linked log was taken";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("log: the machine's log has another hard link"), std::string::npos) << e.what();
  }
  fs::remove(m.folder() / "log");
  m.reopen();
  // Each change is saved as a new file renamed over the link; the lock files are only locked.
  auto& mc = m.machine();
  EXPECT_EQ(mc.registry().createKey("HKEY_CURRENT_USER\\Software\\Zideruv"), 0u);
  m.writeFile("C:\\Data\\a.txt", "a");
  EXPECT_EQ(mc.files().setAttributes("C:\\Data\\a.txt", machine::kAttrReadOnly), 0u);
  EXPECT_EQ(mc.programManager().execute("[CreateGroup(Other)]"), machine::ProgramManager::Answer::Done);
  mc.log().write("an event");
  for (const char* own : {"registry.reg", "attributes", "progman.ini"}) EXPECT_EQ(links(m.folder() / own), 1u) << own;
  EXPECT_NE(test::readHostFile(m.folder() / "registry.reg").find("Zideruv"), std::string::npos);
  EXPECT_NE(test::readHostFile(m.folder() / "progman.ini").find("[Other]"), std::string::npos);
  for (const auto& own : originals) {
    if (hosts.count(own.name)) {
      EXPECT_EQ(test::readHostFile(hosts[own.name]), own.content) << own.name;
    }
  }
  EXPECT_EQ(test::readHostFile(hosts["registry.reg.lock"]), "lock");
  EXPECT_EQ(test::readHostFile(hosts["attributes.lock"]), "lock");
}

TEST(MachineBoundaryOwnFiles, LinksPlacedWhileTheMachineRunsAreNotWrittenThrough) {
  test::TestMachine m;
  const Outside outside(m);
  auto& mc = m.machine();
  mc.log().write("first");
  // The log swapped for a symbolic link, then for a hard link of an outside file.
  const fs::path host = outside.file("log", "host log\n");
  fs::rename(m.folder() / "log", m.folder() / "log.real");
  fs::create_symlink(host, m.folder() / "log");
  mc.log().write("through a symbolic link");
  fs::remove(m.folder() / "log");
  fs::create_hard_link(host, m.folder() / "log");
  mc.log().write("through a hard link");
  EXPECT_EQ(test::readHostFile(host), "host log\n");
  // A lock file that is a link to a file not yet there: the change is refused and nothing is made outside.
  fs::remove(m.folder() / "registry.reg.lock");
  fs::create_symlink(outside.folder / "made.lock", m.folder() / "registry.reg.lock");
  EXPECT_EQ(mc.registry().createKey("HKEY_CURRENT_USER\\Software\\Zideruv"), machine::kErrorRegistryIoFailed);
  fs::remove(m.folder() / "attributes.lock");
  fs::create_symlink(outside.folder / "made.lock", m.folder() / "attributes.lock");
  m.writeFile("C:\\Data\\a.txt", "a");
  EXPECT_EQ(mc.files().setAttributes("C:\\Data\\a.txt", machine::kAttrHidden), machine::kErrorAccessDenied);
  EXPECT_FALSE(fs::exists(outside.folder / "made.lock"));
  // registry.reg swapped for a link to an outside registry: not read, so no change is made on it.
  const fs::path registry = outside.file("registry.reg", test::readHostFile(m.folder() / "registry.reg"));
  fs::remove(m.folder() / "registry.reg.lock");
  fs::rename(m.folder() / "registry.reg", m.folder() / "registry.reg.real");
  fs::create_symlink(registry, m.folder() / "registry.reg");
  EXPECT_EQ(mc.registry().createKey("HKEY_CURRENT_USER\\Software\\Other"), machine::kErrorRegistryIoFailed);
  EXPECT_EQ(test::readHostFile(registry), test::readHostFile(m.folder() / "registry.reg.real"));
}

TEST(MachineBoundaryOwnFiles, ADrivesFolderThatIsALinkMakesNoDriveOutside) {
  test::TestMachine m;
  const Outside outside(m);
  machine::setCurrentMachine(nullptr);
  fs::remove_all(m.folder() / "drives");
  fs::create_directory_symlink(outside.folder, m.folder() / "drives");
  EXPECT_THROW(m.reopen(), std::runtime_error);
  EXPECT_TRUE(fs::is_empty(outside.folder));
  fs::remove(m.folder() / "drives");
  m.reopen();
}

// ---- Host= ----

struct HostCase {
  std::string value;
  std::string says;
};

TEST(MachineBoundaryHost, ARelativeHostThatLeadsOutOrThroughALinkIsRefusedWithItsLine) {
  const fs::path around = fs::temp_directory_path() / ("zov-host-" + std::to_string(::getpid()));
  const fs::path folder = around / "machine", outside = around / "outside";
  fs::remove_all(around);
  fs::create_directories(folder / "inside" / "deeper");
  fs::create_directories(folder / "sub");
  fs::create_directories(outside / "y");
  fs::create_directories(around / "x");  // "../x" is there: refused for where it is
  spit(folder / "inside" / "file.txt", "a file");
  fs::create_directory_symlink(outside, folder / "link");
  fs::create_directory_symlink(outside, folder / "inside" / "link");
  fs::create_directory_symlink(outside, folder / "sub" / "alnk");
  fs::create_directory_symlink(folder / "inside", folder / "inlink");  // a link that stays inside
  const std::vector<HostCase> refused = {
      {"..", "leads out of the machine folder"},
      {"../x", "leads out of the machine folder"},
      {"x/../../y", "leads out of the machine folder"},
      {"inside/../..", "leads out of the machine folder"},
      {".", "names the machine folder itself"},
      {"inside/..", "names the machine folder itself"},
      {"link", "goes through the symbolic link"},
      {"link/y", "goes through the symbolic link"},
      {"inside/link/y", "goes through the symbolic link"},
      // A ".." after the link leaves it again in the text, but the walk passes it.
      {"sub/alnk", "goes through the symbolic link " + (folder / "sub" / "alnk").string()},
      {"sub/alnk/..", "goes through the symbolic link " + (folder / "sub" / "alnk").string()},
      {"link/y/../..", "goes through the symbolic link " + (folder / "link").string()},
      {"inlink", "goes through the symbolic link"},
      {"inlink/deeper", "goes through the symbolic link"},
      {"./inlink/../inside", "goes through the symbolic link"},
  };
  const std::vector<HostCase> missing = {
      {"gone/..", "the host folder " + (folder / "gone").string() + " does not exist"},
      {"inside/file.txt/..", "the host folder " + (folder / "inside" / "file.txt").string() + " is not a folder"},
  };
  auto refusal = [&](const std::string& value) {
    const std::string text = "[Windows]\nMajorVersion=6\n[Drive C]\nType=3\n[Drive F]\nType=4\nHost=" + value + "\n";
    try {
      machine::MachineConfig::parse(text, folder / "machine.ini");
      ADD_FAILURE() << "Host=" << value << " was taken";
    } catch (const machine::MachineFileError& e) {
      EXPECT_EQ(e.line, 7) << e.what();
      return std::string(e.what());
    }
    return std::string();
  };
  for (const auto& c : refused) EXPECT_NE(refusal(c.value).find("Host=" + c.value + " " + c.says), std::string::npos) << c.value;
  for (const auto& c : missing) EXPECT_NE(refusal(c.value).find(c.says), std::string::npos) << c.value;

  const std::vector<std::pair<std::string, fs::path>> taken = {
      {"inside", folder / "inside"},
      {"inside/deeper/", folder / "inside" / "deeper"},
      {"inside//deeper", folder / "inside" / "deeper"},
      {"inside/./deeper/../deeper", folder / "inside" / "deeper"},
      {"sub/../inside", folder / "inside"},
      {outside.string(), outside},
  };
  for (const auto& [value, host] : taken) {
    const auto config = machine::MachineConfig::parse("[Drive F]\nHost=" + value + "\n", folder / "machine.ini");
    EXPECT_EQ(config.drive('F')->host, host) << value;
  }
  fs::remove_all(around);
}

TEST(MachineBoundaryHost, AHostFolderInsideTheMachineSwappedForALinkLeadsNowhere) {
  test::TestMachine m;
  const Outside outside(m);
  fs::create_directories(m.folder() / "shared" / "Docs");
  std::ofstream(m.folder() / "machine.ini", std::ios::app) << "\n[Drive F]\nType=4\nHost=shared\n";
  m.reopen();
  auto& files = m.machine().files();
  EXPECT_EQ(files.createDirectory("F:\\Docs\\New"), 0u);
  fs::rename(m.folder() / "shared", m.folder() / "shared-real");
  fs::create_directory_symlink(outside.folder, m.folder() / "shared");
  fs::create_directories(outside.folder / "Docs");
  EXPECT_EQ(files.createDirectory("F:\\Docs\\Other"), machine::kErrorAccessDenied);
  std::unique_ptr<machine::OpenFile> file;
  EXPECT_EQ(files.openFile("F:\\Docs\\a.txt", FileAccess::Write, FileDisposition::CreateAlways, FileShare::All, file),
            machine::kErrorAccessDenied);
  EXPECT_EQ(std::distance(fs::recursive_directory_iterator(outside.folder), fs::recursive_directory_iterator()), 1);
}

// ---- The log ----

// Milliseconds since 1970 of a stamp "YYYY-MM-DDTHH:MM:SS.mmmZ".
std::int64_t stampMillis(const std::string& line) {
  std::tm tm{};
  const char* rest = ::strptime(line.c_str(), "%Y-%m-%dT%H:%M:%S", &tm);
  EXPECT_TRUE(rest && rest[0] == '.' && rest[4] == 'Z' && rest[5] == ' ') << line;
  if (!rest) return 0;
  return static_cast<std::int64_t>(::timegm(&tm)) * 1000 + std::stoi(std::string(rest + 1, 3));
}

TEST(MachineLogLines, EachEventIsOneLineStampedWithTheMachinesClock) {
  test::TestMachine m;
  auto& log = m.machine().log();
  const auto before = std::chrono::system_clock::now();
  log.write("started C:\\A b\\\"q\"\nsecond\r\t%20 \x7F" "\xC3\xA9\xC2\x85\xC2\xA0\xFF\xC3 end");
  m.machine().clock().wait(119'500);
  log.write("waited");
  std::vector<std::string> lines;
  std::istringstream in(test::readHostFile(m.folder() / "log"));
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].substr(25), "started C:\\A b\\\"q\"%0Asecond%0D%09%2520 %7F\xC3\xA9%C2%85\xC2\xA0%FF%C3 end");
  EXPECT_EQ(lines[1].substr(25), "waited");
  // Virtual time: the stamps lie apart by the wait alone, starting from the host's time at the start.
  EXPECT_EQ(stampMillis(lines[1]) - stampMillis(lines[0]), 119'500);
  const auto opened = std::chrono::duration_cast<std::chrono::milliseconds>(before.time_since_epoch()).count();
  EXPECT_NEAR(static_cast<double>(stampMillis(lines[0])), static_cast<double>(opened), 60'000.0);
  EXPECT_EQ(log.thisRun().front().substr(0, 11), "started C:\\");
}

}  // namespace
}  // namespace zov
