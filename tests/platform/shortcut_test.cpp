// The shell object "WScript.Shell": shortcut files that lnkinfo reads back,
// the show command in the header, saves that the machine refuses, the
// special folders, creation by ProgID.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <vector>

#include "platform/machine/atomic_file.h"
#include "platform/runtime/runtime_error.h"
#include "platform/win32/script_host.h"
#include "tests/support/lnkinfo.h"
#include "tests/support/test_machine.h"

namespace zov {
namespace {

using namespace win32;

std::uint32_t headerField(const std::string& file, std::size_t offset) {
  std::uint32_t v = 0;
  for (std::size_t i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(file.at(offset + i))) << (8 * i);
  return v;
}

constexpr std::size_t kIconIndexOffset = 0x38;
constexpr std::size_t kShowCommandOffset = 0x3C;

std::shared_ptr<WshShortcut> shortcutTo(const std::string& file, const std::string& target) {
  auto s = Late<WshShell>(CreateObject("WScript.Shell")).CreateShortcut(file);
  s->TargetPath = target;
  return s;
}

TEST(ScriptHost, ShortcutsReadBackWithLnkinfoAndCarryTheirShowCommand) {
  test::TestMachine m;
  const std::string folder = "C:\\Programme\\Größe Ünter";
  m.writeFile(folder + "\\App.exe", "MZ program");
  auto s = shortcutTo("C:\\Users\\user\\Desktop\\App.lnk", folder + "\\App.exe");
  s->Arguments = " /scenarca";
  s->WindowStyle = 7;
  s->IconLocation = folder + "\\App.exe, 3";
  s->Description = "ZOV Scenarca";
  s->WorkingDirectory = folder;
  s->Save();

  const auto info = test::RunLnkinfo(m.host("C:\\Users\\user\\Desktop\\App.lnk"));
  ASSERT_EQ(info.exitCode, 0) << info.output;
  EXPECT_EQ(info.fields.at("Local path"), folder + "\\App.exe");
  EXPECT_EQ(info.fields.at("Command line arguments"), " /scenarca");
  EXPECT_EQ(info.fields.at("Working directory"), folder);
  EXPECT_EQ(info.fields.at("Description"), "ZOV Scenarca");
  EXPECT_EQ(info.fields.at("Icon location"), folder + "\\App.exe");
  EXPECT_EQ(info.fields.at("Icon index"), "3");
  EXPECT_EQ(info.fields.at("Volume label"), "System");
  EXPECT_EQ(info.fields.at("Drive type"), "Fixed (3)");
  const std::string bytes = m.readFile("C:\\Users\\user\\Desktop\\App.lnk");
  EXPECT_EQ(headerField(bytes, kShowCommandOffset), 7u);
  EXPECT_EQ(headerField(bytes, kIconIndexOffset), 3u);

  // A new object starts with a normal window; a bare icon path has index 0;
  // empty texts are left out of the file; a second save replaces the first.
  auto plain = shortcutTo("C:\\Users\\user\\Desktop\\App.lnk", folder + "\\App.exe");
  plain->IconLocation = folder + "\\Help.chm";
  plain->Save();
  const auto plainInfo = test::RunLnkinfo(m.host("C:\\Users\\user\\Desktop\\App.lnk"));
  ASSERT_EQ(plainInfo.exitCode, 0) << plainInfo.output;
  EXPECT_EQ(plainInfo.fields.at("Icon location"), folder + "\\Help.chm");
  EXPECT_EQ(plainInfo.fields.at("Icon index"), "0");
  EXPECT_EQ(plainInfo.fields.count("Command line arguments"), 0u);
  EXPECT_EQ(plainInfo.fields.count("Description"), 0u);
  EXPECT_EQ(headerField(m.readFile("C:\\Users\\user\\Desktop\\App.lnk"), kShowCommandOffset), 1u);
}

TEST(ScriptHost, SaveThatTheMachineRefusesRaisesAndLeavesNoFile) {
  test::TestMachine m([](machine::MachineConfig& c) {
    c.faults.refuseWrites = {"C:\\Refused"};
    machine::DriveConfig e;
    e.letter = 'E', e.full = true;
    c.drives['E'] = e;
  });
  m.writeFile("C:\\Refused\\keep.txt", "");
  m.writeFile("E:\\folder\\keep.txt", "");
  m.writeFile("C:\\Links\\Old.lnk", "old shortcut");
  ASSERT_EQ(machine::currentMachine().files().setAttributes("C:\\Links\\Old.lnk", machine::kAttrReadOnly), 0u);
  const std::string failing[] = {"C:\\Refused\\A.lnk", "C:\\No Such Folder\\A.lnk", "E:\\folder\\A.lnk",
                                 "C:\\Links\\Old.lnk"};
  for (const auto& file : failing) {
    auto s = shortcutTo(file, "C:\\Windows\\notepad.exe");
    try {
      s->Save();
      ADD_FAILURE() << file << " was saved";
    } catch (const runtime::RuntimeError& e) {
      EXPECT_EQ(e.number(), kAutomationException) << file;
      EXPECT_EQ(e.description(), "Unable to save shortcut \"" + file + "\".");
    }
  }
  EXPECT_FALSE(m.exists("C:\\Refused\\A.lnk"));
  EXPECT_FALSE(m.exists("E:\\folder\\A.lnk"));
  EXPECT_EQ(m.readFile("C:\\Links\\Old.lnk"), "old shortcut");
}

// A shortcut that is there, saved again on a disk too full for the new one:
// the old one stays whole, with nothing beside it; with room the new one
// takes its place.
TEST(ScriptHost, ASaveThatCannotBeWrittenWholeLeavesTheShortcutThatWasThere) {
  test::TestMachine m;
  const std::string file = "C:\\Users\\user\\Desktop\\App.lnk";
  m.writeFile(file, "old shortcut");
  m.writeFile("C:\\Windows\\notepad.exe", "MZ program");
  machine::MachineConfig c = m.machine().config();
  c.faults.hostFreeBytes = 10;
  machine::writeFileAtomically(m.folder() / "machine.ini", c.toIniText());
  m.reopen();
  EXPECT_THROW(shortcutTo(file, "C:\\Windows\\notepad.exe")->Save(), runtime::RuntimeError);
  EXPECT_EQ(m.readFile(file), "old shortcut");
  const auto namesOnTheDesktop = [&] {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(m.host("C:\\Users\\user\\Desktop"))) {
      names.push_back(e.path().filename().string());
    }
    return names;
  };
  EXPECT_EQ(namesOnTheDesktop(), std::vector<std::string>{"App.lnk"});

  c.faults.hostFreeBytes.reset();
  machine::writeFileAtomically(m.folder() / "machine.ini", c.toIniText());
  m.reopen();
  shortcutTo(file, "C:\\Windows\\notepad.exe")->Save();
  const auto info = test::RunLnkinfo(m.host(file));
  ASSERT_EQ(info.exitCode, 0) << info.output;
  EXPECT_EQ(info.fields.at("Local path"), "C:\\Windows\\notepad.exe");
  EXPECT_EQ(namesOnTheDesktop(), std::vector<std::string>{"App.lnk"});
}

TEST(ScriptHost, ObjectByProgIdShortcutPathsAndSpecialFolders) {
  test::TestMachine m([](machine::MachineConfig& c) { c.programsFolder.clear(); });
  auto shell = CreateObject("wscript.shell");
  auto& wsh = Late<WshShell>(shell);
  EXPECT_EQ(wsh.SpecialFolders("Desktop"), "C:\\Users\\user\\Desktop");
  EXPECT_EQ(wsh.SpecialFolders("MYDOCUMENTS"), "C:\\Users\\user\\Documents");
  EXPECT_EQ(wsh.SpecialFolders("Programs"), "");
  EXPECT_EQ(wsh.SpecialFolders("Fonts"), "");
  EXPECT_THROW(wsh.CreateShortcut("C:\\Users\\user\\Desktop\\App.txt"), runtime::RuntimeError);
  EXPECT_NO_THROW(wsh.CreateShortcut("C:\\Users\\user\\Desktop\\App.LNK"));

  auto raised = [](auto&& f) {
    try {
      f();
    } catch (const runtime::RuntimeError& e) {
      return e.number();
    }
    return 0;
  };
  EXPECT_EQ(raised([] { CreateObject("Scripting.Dictionary"); }), runtime::kCannotCreateObject);
  EXPECT_EQ(raised([] { Late<WshShell>(nullptr); }), runtime::kObjectNotSet);
  auto shortcut = wsh.CreateShortcut("C:\\A.lnk");
  EXPECT_EQ(raised([&] { Late<WshShell>(shortcut); }), runtime::kObjectDoesNotSupport);
  // A machine whose registry lost the class cannot make the object.
  machine::currentMachine().registry().deleteKey("HKEY_CLASSES_ROOT\\WScript.Shell\\CLSID");
  EXPECT_EQ(raised([] { CreateObject("WScript.Shell"); }), runtime::kCannotCreateObject);
}

}  // namespace
}  // namespace zov
