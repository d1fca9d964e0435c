// Special and known folders on XP and Windows 7 machines, the wide strings
// of the shell, the primary language of a language id, the clearing of the
// hidden and read-only attributes, and the new files that killed
// installations left beside the files they replaced.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/runtime/files.h"
#include "platform/ui/form.h"
#include "platform/win32/shell.h"
#include "services/attributes.h"
#include "services/installer_mutex.h"
#include "services/new_file_beside.h"
#include "services/os_version.h"
#include "services/primary_lang_id.h"
#include "services/shared_state.h"
#include "services/shell_folders.h"
#include "tests/support/test_machine.h"

namespace zov {
namespace {

using runtime::GetAttr;
using runtime::SetAttr;
using runtime::vbArchive;
using runtime::vbDirectory;
using runtime::vbHidden;
using runtime::vbReadOnly;
using runtime::vbSystem;

// The owner window of the shell calls; the wizard's own window is not part of these tests.
class OwnerWindow : public ui::Form {
 public:
  OwnerWindow() : Form("Form1") {}

 protected:
  void applyStoredLayout() override {}
};

class UserFolders : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!ui::DefaultInstanceExists("Form1")) {
      ui::RegisterDefaultInstance("Form1", [] { return std::make_unique<OwnerWindow>(); });
    }
  }
  void TearDown() override { OsCode = 0; }
};

TEST_F(UserFolders, Windows7GivesTheKnownFolders) {
  test::TestMachine m;
  OsCode = GetOsCode();
  ASSERT_EQ(OsCode, 4);
  EXPECT_EQ(GetUserFolder(1), "C:\\Users\\user\\Documents");
  EXPECT_EQ(GetUserFolder(2), "C:\\Users\\user\\AppData\\Local");
  EXPECT_EQ(GetUserFolder(3), "");
  EXPECT_EQ(GetUserFolder(0), "");
  EXPECT_EQ(GetSpecialFolderPath(win32::CSIDL_PROGRAMS),
            "C:\\Users\\user\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs");
}

TEST_F(UserFolders, WithoutKnownFoldersBothKindsAreEmptyWithoutABox) {
  test::TestMachine m([](machine::MachineConfig& c) { c.faults.knownFoldersFail = true; });
  OsCode = GetOsCode();
  EXPECT_EQ(GetUserFolder(1), "");
  EXPECT_EQ(GetUserFolder(2), "");
  // The special folders do not depend on the known ones.
  EXPECT_EQ(GetSpecialFolderPath(win32::CSIDL_PERSONAL), "C:\\Users\\user\\Documents");
  EXPECT_EQ(m.transcript().find("?? box"), std::string::npos);
}

TEST_F(UserFolders, WindowsXpGivesTheDocumentsFolderForBothKinds) {
  test::TestMachine m([](machine::MachineConfig& c) { c = test::windowsXp(); });
  OsCode = GetOsCode();
  ASSERT_EQ(OsCode, 3);
  EXPECT_EQ(GetUserFolder(1), "C:\\Documents and Settings\\user\\My Documents");
  EXPECT_EQ(GetUserFolder(2), "C:\\Documents and Settings\\user\\My Documents");
  EXPECT_EQ(GetUserFolder(7), "C:\\Documents and Settings\\user\\My Documents");
}

TEST_F(UserFolders, AMissingKnownFolderFunctionIsTrappedAsTheEmptyText) {
  // XP has no known folders at all: the call raises error 453.
  test::TestMachine m([](machine::MachineConfig& c) { c = test::windowsXp(); });
  OsCode = 4;
  EXPECT_EQ(GetUserFolder(1), "");
  EXPECT_EQ(m.transcript().find("?? box"), std::string::npos);
}

TEST_F(UserFolders, AFolderTheShellCannotGiveIsTheEmptyText) {
  test::TestMachine m([](machine::MachineConfig& c) {
    c.programsFolder.clear();
    c.documentsFolder = "C:\\" + std::string(300, 'd');  // no room in a 260-character buffer
  });
  EXPECT_EQ(GetSpecialFolderPath(win32::CSIDL_PROGRAMS), "");
  EXPECT_EQ(GetSpecialFolderPath(win32::CSIDL_PERSONAL), "");
  EXPECT_EQ(GetSpecialFolderPath(0x7F), "");
}

TEST_F(UserFolders, KnownFoldersKeepCharactersBeyondTheCodePage) {
  const std::string documents = "C:\\Users\\Łukasz\\Документы 文档";
  test::TestMachine m([&](machine::MachineConfig& c) { c.documentsFolder = documents; });
  OsCode = 4;
  EXPECT_EQ(GetUserFolder(1), documents);
}

TEST(StringFromWidePtr, ReadsTheTextUpToItsNulAndLeavesTheMemory) {
  test::TestMachine m;
  EXPECT_EQ(StringFromWidePtr(0), "");
  win32::GUID documents{};
  ASSERT_EQ(win32::CLSIDFromString("{FDD39AD0-238F-46AF-ADB4-6C85480369C7}", documents), win32::S_OK);
  win32::Address path = 0;
  ASSERT_EQ(win32::SHGetKnownFolderPath(documents, 0, 0, path), win32::S_OK);
  EXPECT_EQ(StringFromWidePtr(path), "C:\\Users\\user\\Documents");
  EXPECT_EQ(StringFromWidePtr(path), "C:\\Users\\user\\Documents");  // still there
  const auto length = static_cast<win32::Address>(win32::lstrlenW(path));
  EXPECT_EQ(StringFromWidePtr(path + 2 * length), "");  // the empty wide string at its terminator
  win32::CoTaskMemFree(path);
}

TEST(PrimaryLangId, KeepsThePrimaryLanguagePart) {
  EXPECT_EQ(PrimaryLangId(0x0407), 0x07);  // German (Germany)
  EXPECT_EQ(PrimaryLangId(0x041F), 0x1F);  // Turkish
  EXPECT_EQ(PrimaryLangId(0x0C0A), 0x0A);  // Spanish (modern sort)
}

class ClearAttributes : public ::testing::Test {
 protected:
  void makeFolder(const std::string& path) { std::filesystem::create_directories(m.host(path)); }
  test::TestMachine m{[](machine::MachineConfig& c) { c.faults.lockedAttributes = {"C:\\Locked"}; }};
};

TEST_F(ClearAttributes, BlankAndMissingPathsCountAsNotSet) {
  EXPECT_FALSE(ClearHiddenAttr(""));
  EXPECT_FALSE(ClearHiddenAttr("   "));
  EXPECT_FALSE(ClearReadOnlyAttr("C:\\Nothing\\here.txt"));
  EXPECT_FALSE(ClearHiddenAttr("A:\\floppy.txt"));  // a drive without a disk raises inside; ignored
  EXPECT_FALSE(m.exists("C:\\Nothing"));
}

TEST_F(ClearAttributes, AHiddenFolderLosesOnlyTheHiddenBit) {
  makeFolder("C:\\Data\\Hidden");
  SetAttr("C:\\Data\\Hidden", vbHidden | vbReadOnly | vbSystem | vbArchive);
  EXPECT_FALSE(ClearHiddenAttr("  C:\\Data\\Hidden  "));
  EXPECT_EQ(GetAttr("C:\\Data\\Hidden"), vbDirectory | vbReadOnly | vbSystem | vbArchive);
}

TEST_F(ClearAttributes, AReadOnlyFileLosesOnlyTheReadOnlyBit) {
  m.writeFile("C:\\Data\\value", "1\r\n");
  SetAttr("C:\\Data\\value", vbHidden | vbReadOnly);
  EXPECT_FALSE(ClearReadOnlyAttr("C:\\Data\\value"));
  EXPECT_EQ(GetAttr("C:\\Data\\value"), vbHidden);
  EXPECT_FALSE(ClearHiddenAttr("C:\\Data\\value"));
  EXPECT_EQ(GetAttr("C:\\Data\\value"), 0);
}

TEST_F(ClearAttributes, AnAttributeThatCannotBeChangedIsReported) {
  makeFolder("C:\\Locked");
  m.writeFile("C:\\Locked\\file", "x");
  m.machine().attributes().set("C:\\Locked", vbHidden | vbReadOnly);
  m.machine().attributes().set("C:\\Locked\\file", vbHidden);
  EXPECT_TRUE(ClearHiddenAttr("C:\\Locked"));
  EXPECT_TRUE(ClearReadOnlyAttr("C:\\Locked"));
  EXPECT_TRUE(ClearHiddenAttr("C:\\Locked\\file"));
  EXPECT_FALSE(ClearReadOnlyAttr("C:\\Locked\\file"));  // not set, so nothing to fail
  EXPECT_EQ(GetAttr("C:\\Locked"), vbDirectory | vbHidden | vbReadOnly);
}

// What a killed installation left beside the files it replaced goes, once
// this run is the one installer on the machine, and nothing else of the
// folder: names of another shape, a folder of that shape, other folders.
TEST(LeftoverNewFiles, GoOnlyUnderTheInstallerMutexAndOnlyByTheirExactShape) {
  test::TestMachine m;
  const std::vector<std::string> leftovers = {"ZOV1A2B.tmp", "lnkFFFF.tmp", "zov00c0.TMP", "LNK0000.Tmp"};
  const std::vector<std::string> kept = {"ZOVX123.tmp", "ZOV12345.tmp", "ZOV123.tmp", "notes.tmp",
                                         "ZOV1A2B.txt", "abc1A2B.tmp", "Graphics.zov"};
  for (const auto& name : leftovers) m.writeFile("C:\\Apps\\" + name, "half");
  for (const auto& name : kept) m.writeFile("C:\\Apps\\" + name, "mine");
  m.writeFile("C:\\Apps\\ZOV9999.tmp\\inside", "mine");
  m.writeFile("C:\\Other\\ZOV1A2B.tmp", "half");

  ClearLeftoverNewFiles("C:\\Apps");  // without the mutex: nothing can be told stale
  for (const auto& name : leftovers) EXPECT_TRUE(m.exists("C:\\Apps\\" + name)) << name;

  ASSERT_TRUE(TakeInstallerMutex());
  ASSERT_TRUE(HoldsInstallerMutex());
  ClearLeftoverNewFiles("C:\\Apps");
  for (const auto& name : leftovers) EXPECT_FALSE(m.exists("C:\\Apps\\" + name)) << name;
  for (const auto& name : kept) EXPECT_EQ(m.readFile("C:\\Apps\\" + name), "mine") << name;
  EXPECT_EQ(m.readFile("C:\\Apps\\ZOV9999.tmp\\inside"), "mine");
  EXPECT_TRUE(m.exists("C:\\Other\\ZOV1A2B.tmp"));

  // A new file beside a file clears its folder first.
  const std::string made = NewFileBeside("C:\\Other\\value");
  EXPECT_FALSE(made.empty());
  EXPECT_NE(m.readFile("C:\\Other\\ZOV1A2B.tmp"), "half");
  ReleaseInstallerMutex();
  EXPECT_FALSE(HoldsInstallerMutex());
}

}  // namespace
}  // namespace zov
