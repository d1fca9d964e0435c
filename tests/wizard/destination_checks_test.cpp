// The destination checks that Install runs on the destination page, as a
// person meets them: typed destinations, the drives of the machine, an
// installed copy of this version and the older versions' folders.
#include "platform/runtime/files.h"
#include "services/registry.h"
#include "services/shared_state.h"
#include "tests/wizard/wizard_fixture.h"
#include "wizard/form3.h"

namespace zov::test {
namespace {

using runtime::Trim;

const char* kToPage4 = "click Command2\nclick Option1\nclick Command2\n";

machine::DriveConfig drive(char letter, int type, bool medium = true) {
  machine::DriveConfig d;
  d.letter = letter, d.type = type, d.medium = medium;
  return d;
}

const char* kNoInstallerFile = "Installation file is not complete.";
const std::string kAnswerNoInstallerFile = std::string("answer OK ") + kNoInstallerFile + "\n";

// Install with a typed destination.
std::string install(const std::string& destination) {
  return std::string(kToPage4) + "type Text2 \"" + destination + "\"\nclick Command2\n";
}

void recordFolder(const std::string& key, const std::string& folder) {
  SetRegString(win32::HKEY_LOCAL_MACHINE, key, "Dizin", folder, ForceRegistry);
}

class DestinationTest : public WizardTest {
 protected:
  // The checks passed and the install routine began: in the tests' process it
  // finds no installer file of its own, says so and goes back one page.
  bool reachedInstall() { return transcript().find(kNoInstallerFile) != std::string::npos && onDestinationPage(); }
  int boxes() const {
    int n = 0;
    for (auto at = transcript().find("?? box"); at != std::string::npos; at = transcript().find("?? box", at + 1)) ++n;
    return n;
  }
  bool onDestinationPage() { return WizardPage == 4 && Form1().Frame1(3).shown() && Form1().Visible.get(); }
  // The title and the first line of the last message box.
  bool lastBox(const std::string& title, const std::string& text) {
    const std::string t = transcript();
    const auto at = t.rfind("?? box \"" + title + "\"");
    return at != std::string::npos && t.find(text, at) != std::string::npos;
  }
};

TEST_F(DestinationTest, ADriveEntryGetsTheProductFolderWhichIsCreated) {
  run(install("D:") + kAnswerNoInstallerFile, [](machine::MachineConfig& c) { c.drives['D'] = drive('D', 3); });
  EXPECT_TRUE(reachedInstall());
  EXPECT_EQ(Trim(InstallDir), "D:\\ZOV Zuzuzu Rudavero 5");
  EXPECT_TRUE(machine->exists("D:\\ZOV Zuzuzu Rudavero 5"));
  EXPECT_EQ(boxes(), 1);
}

TEST_F(DestinationTest, FiveMissingLevelsAreAllCreated) {
  run(install("C:\\Program Files\\A\\B\\C\\D\\E") + kAnswerNoInstallerFile);
  EXPECT_TRUE(reachedInstall());
  EXPECT_TRUE(machine->exists("C:\\Program Files\\A\\B\\C\\D\\E"));
}

TEST_F(DestinationTest, AFirstLevelFolderOnAnEmptyDriveIsCreatedThere) {
  run(install("E:\\New") + kAnswerNoInstallerFile, [](machine::MachineConfig& c) { c.drives['E'] = drive('E', 3); });
  EXPECT_TRUE(reachedInstall());
  EXPECT_TRUE(machine->exists("E:\\New"));
}

TEST_F(DestinationTest, ForbiddenCharactersAndEmptyEntriesAreRefused) {
  run(install("C:\\Games|Old") + "answer OK C:\\Games|Old\n");
  EXPECT_TRUE(lastBox("ZOV", "Folder name cannot contain any of the *,?,<, :, /, | characters."));
  EXPECT_TRUE(onDestinationPage());
  EXPECT_EQ(Form1().Command2.Caption.get(), "Install");
  // The refused destination comes back through the product-folder rule.
  EXPECT_EQ(Form1().Text2.Text.get(), "C:\\Games|Old\\ZOV Zuzuzu Rudavero 5");
  for (const char* entry : {"", "   "}) {
    more(std::string("type Text2 \"") + entry + "\"\nclick Command2\nanswer OK\n");
    EXPECT_TRUE(lastBox("ZOV Rededi Dirirozo", "Please enter a directory to install ZOV Rededi Dirirozo."));
    EXPECT_TRUE(onDestinationPage());
  }
}

TEST_F(DestinationTest, DrivesThatCannotTakeTheProductAreRefusedWithTheirMessages) {
  run(kToPage4, [](machine::MachineConfig& c) {
    c.drives['E'] = drive('E', 4);
    c.drives['F'] = drive('F', 6);
    c.drives['G'] = drive('G', 0);
    c.drives['H'] = drive('H', 1);
  });
  const std::pair<const char*, const char*> cases[] = {
      {"A:\\Setup", "Rededi Dirirozo can not be installed into a diskette driver."},
      {"D:\\Setup", "Rededi Dirirozo can not be installed into a CD driver."},
      {"E:\\Setup", "Rededi Dirirozo can not be installed into a network driver."},
      {"F:\\Setup", "Rededi Dirirozo can not be installed into a RAM driver."},
      {"G:\\Setup", "G:\\ couldn't be found!"},
      {"H:\\Setup", "Please check the drive : H:\\"},
      {"Q:\\Setup", "Please check the drive : Q:\\"},
      {"\\\\server\\share\\x", "Please check the drive : \\:\\"},
  };
  for (const auto& [destination, message] : cases) {
    more(std::string("type Text2 ") + destination + "\nclick Command2\nanswer OK\n");
    EXPECT_TRUE(lastBox("Driver", message)) << destination;
    EXPECT_NE(transcript().find("[OK, exclamation, default OK, system modal]"), std::string::npos);
    EXPECT_TRUE(onDestinationPage()) << destination;
  }
}

TEST_F(DestinationTest, AHiddenParentCannotBeCreatedAndIsNamed) {
  run("", [](machine::MachineConfig&) {});
  runtime::MkDir("C:\\Data");
  runtime::SetAttr("C:\\Data", runtime::vbHidden);
  more(install("C:\\Data\\ZOV Zuzuzu Rudavero 5") + "answer OK\n");
  EXPECT_TRUE(lastBox("ZOV", "Error: Could not create directory : \\n\\nC:\\Data"));
  EXPECT_TRUE(onDestinationPage());
}

TEST_F(DestinationTest, PathsTheFileSystemRefusesGetAClearMessage) {
  run(kToPage4, [](machine::MachineConfig& c) {
    c.drives['D'] = drive('D', 3);
    c.drives['E'] = drive('E', 3, false);
    c.faults.refuseWrites = {"C:\\Locked"};
  });
  machine->writeFile("C:\\notes.txt", "x");
  machine->writeFile("C:\\Locked\\readme.txt", "x");
  const std::pair<std::string, std::string> cases[] = {
      // A drive-relative name leads to no folder of the drive.
      {"D:Games", "Error: Directory name is not accepted. Please check the directory name entered : \\n\\nD:Games"},
      {"C:\\Games:Old", "Error: Directory name is not accepted. Please check the directory name entered : \\n\\nC:\\Games:Old"},
      {"E:\\Setup", "Error: Directory name is not accepted. Please check the directory name entered : \\n\\nE:\\Setup"},
      {"C:\\notes.txt\\Setup", "Error: Could not create directory : \\n\\nC:\\notes.txt\\Setup"},
      {"C:\\notes.txt", "Error: Could not create directory : \\n\\nC:\\notes.txt"},
      {"C:\\Locked\\Setup", "Error: Could not create directory : \\n\\nC:\\Locked\\Setup"},
  };
  for (const auto& [destination, message] : cases) {
    more("type Text2 " + destination + "\nclick Command2\nanswer OK\n");
    EXPECT_TRUE(lastBox("ZOV", message)) << destination;
    EXPECT_TRUE(onDestinationPage()) << destination;
  }
  EXPECT_FALSE(machine->exists("C:\\Games"));
  EXPECT_FALSE(machine->exists("C:\\Locked\\Setup"));
}

TEST_F(DestinationTest, AVeryLongDestinationEndsTheCheckWithoutAnError) {
  std::string longPath = "C:";
  while (longPath.size() < 300) longPath += "\\Folder";
  run(install(longPath) + kAnswerNoInstallerFile);
  EXPECT_FALSE(ended);
  EXPECT_EQ(Trim(InstallDir).size(), 256u);
  EXPECT_TRUE(onDestinationPage());
}

TEST_F(DestinationTest, NoToTheSameVersionOfferShowsTheInstalledCopysFolder) {
  run("", [](machine::MachineConfig& c) { c = windowsXp(); });
  runtime::MkDir("C:\\Tools");
  runtime::MkDir("C:\\Tools\\ZOV Zuzuzu Rudavero 5");
  SetRegString(win32::HKEY_LOCAL_MACHINE, "Software\\Zideruv\\ZOV4", "Dizin", "C:\\Tools\\ZOV Zuzuzu Rudavero 5", 0);
  more(std::string(kToPage4) + "click Command2\nanswer No Are you sure to install into this directory?\n");
  EXPECT_TRUE(lastBox("ZOV Rededi Dirirozo", "A version of ZOV Zuzuzu Rudavero 5 is already installed"));
  EXPECT_NE(transcript().find("[Yes/No, question, default No]"), std::string::npos);
  EXPECT_TRUE(onDestinationPage());
  EXPECT_EQ(Form1().Text2.Text.get(), "C:\\Tools\\ZOV Zuzuzu Rudavero 5");
  EXPECT_FALSE(machine->exists("C:\\Program Files\\ZOV Zuzuzu Rudavero 5"));
  more("click Command2\n" + kAnswerNoInstallerFile);
  EXPECT_TRUE(reachedInstall());
  EXPECT_EQ(Trim(InstallDir), "C:\\Tools\\ZOV Zuzuzu Rudavero 5");
}

TEST_F(DestinationTest, YesToTheSameVersionOfferKeepsTheDestinationAsEntered) {
  run("", [](machine::MachineConfig& c) { c = windowsXp(); });
  runtime::MkDir("C:\\Tools");
  SetRegString(win32::HKEY_LOCAL_MACHINE, "Software\\Zideruv\\ZOV4", "Dizin", "C:\\Tools", 0);
  more(std::string(kToPage4) + "click Command2\nanswer Yes\n" + kAnswerNoInstallerFile);
  EXPECT_TRUE(reachedInstall());
  EXPECT_EQ(Trim(InstallDir), "C:\\Program Files\\ZOV Zuzuzu Rudavero 5");
  EXPECT_EQ(SameVersionDir, "C:\\Tools");
}

TEST_F(DestinationTest, TheSameVersionKeyIsFoundAmongHundredsOfNeighbours) {
  run("", [](machine::MachineConfig& c) { c = windowsXp(); });
  for (int i = 0; i < 300; ++i) CreateRegKey(win32::HKEY_LOCAL_MACHINE, "Software\\Zideruv\\A" + std::to_string(1000 + i), 0);
  runtime::MkDir("C:\\Tools");
  SetRegString(win32::HKEY_LOCAL_MACHINE, "Software\\Zideruv\\ZOV4", "Dizin", "C:\\Tools", 0);
  more(std::string(kToPage4) + "click Command2\nanswer No\n");
  EXPECT_EQ(Form1().Text2.Text.get(), "C:\\Tools\\ZOV Zuzuzu Rudavero 5");
}

TEST_F(DestinationTest, AStoredFolderTheFileSystemRefusesIsNoInstalledCopy) {
  run("", [](machine::MachineConfig& c) {
    c = windowsXp();
    c.drives['E'] = drive('E', 3, false);
  });
  for (const char* stored : {"E:\\ZOV", "C:\\a|b", "C:\\a:b"}) {
    SetRegString(win32::HKEY_LOCAL_MACHINE, "Software\\Zideruv\\ZOV4", "Dizin", stored, 0);
    AppDataDir.clear();
    SameVersionDir.clear();
    InstallDir = "C:\\Program Files\\ZOV Zuzuzu Rudavero 5";
    EXPECT_TRUE(Form1().CheckInstallDir()) << stored;
  }
  // On Vista and 7 the settings folder's own path is tested the same way.
  OsCode = 4;
  AppDataDir = "E:\\Settings";
  EXPECT_TRUE(Form1().CheckInstallDir());
  EXPECT_EQ(SameVersionDir, "");
  EXPECT_EQ(transcript().find("?? box"), std::string::npos);
}

TEST_F(DestinationTest, TheSameVersionOfferOnVistaReadsTheSettingsFolder) {
  run("");
  machine->writeFile("C:\\Users\\user\\AppData\\Local\\Zideruv\\ZOV4\\Dizin", "C:\\Program Files\r\n");
  AppDataDir = "C:\\Users\\user\\AppData\\Local\\Zideruv\\ZOV4";
  more(std::string(kToPage4) + "click Command2\nanswer No\n");
  EXPECT_EQ(Form1().Text2.Text.get(), "C:\\Program Files\\ZOV Zuzuzu Rudavero 5");
  EXPECT_EQ(SameVersionDir, "C:\\Program Files");
}

TEST_F(DestinationTest, OlderVersionFoldersAreRefusedAndTheChooserOpens) {
  run("");
  runtime::MkDir("C:\\ZOV4");
  runtime::MkDir("C:\\ZOV3");
  recordFolder("Software\\Varnostik\\ZOV2", "C:\\ZOV3");
  more(install("C:\\ZOV3") + "answer OK\n");
  EXPECT_TRUE(lastBox("ZOV Install", "Version 3 of ZOV Rededi Dirirozo is installed in this folder."));
  EXPECT_TRUE(Form3().loaded());
  EXPECT_FALSE(Form1().Visible.get());
  EXPECT_EQ(WizardPage, 4);
  more("click Form3.Command3\n");
  EXPECT_TRUE(onDestinationPage());

  // The version-4 message wins whichever recorded folder matched.
  recordFolder("Software\\Varnostik\\ZOV3", "C:\\ZOV4");
  more("type Text2 C:\\ZOV3\nclick Command2\nanswer OK\n");
  EXPECT_TRUE(lastBox("ZOV Install", "Version 4 of ZOV Rededi Dirirozo is installed in this folder."));
  EXPECT_TRUE(Form3().loaded());
}

TEST_F(DestinationTest, TheEarliestFolderOffersItsUninstaller) {
  run("");
  machine->writeFile("C:\\ZOV\\Uninstall ZOV.exe", "MZ\r\n");
  recordFolder("Software\\Varnostik\\ZOV", "C:\\ZOV");
  // A version-4 folder that is no longer there does not count.
  recordFolder("Software\\Varnostik\\ZOV3", "C:\\Gone");
  more(install("C:\\ZOV") + "answer No Would you like to uninstall the previous version now?\n");
  EXPECT_TRUE(lastBox("ZOV Install", "A previous version of ZOV Rededi Dirirozo is installed in this folder."));
  EXPECT_TRUE(machine->machine().log().thisRun().empty());
  EXPECT_TRUE(onDestinationPage());
  more("type Text2 C:\\ZOV\nclick Command2\nanswer Yes\n");
  ASSERT_FALSE(machine->machine().log().thisRun().empty());
  EXPECT_NE(machine->machine().log().thisRun().back().find("C:\\ZOV\\Uninstall ZOV.exe"), std::string::npos);
  const auto& processes = machine->machine().processes();
  ASSERT_EQ(processes.size(), 1u);
  EXPECT_EQ(processes.begin()->second.windowStyle, 1);
  EXPECT_TRUE(onDestinationPage());
  EXPECT_FALSE(Form3().loaded());
  // Without the uninstaller the answer Yes starts nothing and shows no error.
  runtime::Kill("C:\\ZOV\\Uninstall ZOV.exe");
  more("type Text2 C:\\ZOV\nclick Command2\nanswer Yes\n");
  EXPECT_TRUE(onDestinationPage());
  EXPECT_TRUE(lastBox("ZOV Install", "Would you like to uninstall"));
}

TEST_F(DestinationTest, ARecordedFolderThatIsGoneIsCreatedAgainAndRefused) {
  run("");
  recordFolder("Software\\Varnostik\\ZOV2", "C:\\Old");
  more(install("C:\\Old") + "answer OK Version 3\n");
  EXPECT_TRUE(machine->exists("C:\\Old"));
  EXPECT_TRUE(Form3().loaded());
}

class UntestableOlderVersionTest : public DestinationTest, public ::testing::WithParamInterface<bool> {
 protected:
  // Windows XP or 7, with a drive E: that has no medium (and no drive Q:).
  void start() {
    run(kToPage4, [](machine::MachineConfig& c) {
      if (GetParam()) c = windowsXp();
      c.drives['E'] = drive('E', 5, false);
    });
  }
};

TEST_P(UntestableOlderVersionTest, AFolderThatCannotBeTestedCountsAsNotPresent) {
  start();
  for (const char* key : {"Software\\Varnostik\\ZOV", "Software\\Varnostik\\ZOV2", "Software\\Varnostik\\ZOV3"}) {
    for (const char* folder : {"Q:\\Old", "E:\\ZOV", "C:\\a|b"}) {
      recordFolder(key, folder);
      more("type Text2 C:\\Setup\nclick Command2\n" + kAnswerNoInstallerFile);
      EXPECT_FALSE(lastBox("ZOV", "Error in old version check!")) << key << " " << folder;
      EXPECT_TRUE(lastBox("ZOV Rededi Dirirozo", kNoInstallerFile)) << key << " " << folder;
      EXPECT_TRUE(onDestinationPage());
    }
    recordFolder(key, "");
  }
  EXPECT_FALSE(Form3().loaded());
}

TEST_P(UntestableOlderVersionTest, AnExistingRecordedFolderStillGivesItsMessage) {
  start();
  runtime::MkDir("C:\\ZOV");
  runtime::MkDir("C:\\ZOV3");
  // The later versions' folders cannot be tested: only the earliest counts.
  recordFolder("Software\\Varnostik\\ZOV", "C:\\ZOV");
  recordFolder("Software\\Varnostik\\ZOV2", "E:\\ZOV3");
  recordFolder("Software\\Varnostik\\ZOV3", "Q:\\ZOV4");
  more("type Text2 C:\\ZOV\nclick Command2\nanswer No Would you like to uninstall the previous version now?\n");
  EXPECT_TRUE(lastBox("ZOV Install", "A previous version of ZOV Rededi Dirirozo is installed in this folder."));
  EXPECT_TRUE(onDestinationPage());
  recordFolder("Software\\Varnostik\\ZOV2", "C:\\ZOV3");
  more("type Text2 C:\\ZOV3\nclick Command2\nanswer OK Version 3 of ZOV Rededi Dirirozo\n");
  EXPECT_TRUE(Form3().loaded());
}

INSTANTIATE_TEST_SUITE_P(Windows, UntestableOlderVersionTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& p) { return p.param ? "Xp" : "Seven"; });

TEST_F(DestinationTest, ADestinationTheCodePageCannotSpellIsRefusedBeforeAnythingIsCreated) {
  // On the Western code page the two Turkish letters arrive as question marks.
  run(install("C:\\Ğş\\Video") + "answer OK\n", [](machine::MachineConfig& c) { c = windowsXp(); });
  EXPECT_TRUE(lastBox("ZOV", "The directory name you've entered :\\n\\nC:\\??\\Video"));
  EXPECT_TRUE(onDestinationPage());
  EXPECT_FALSE(machine->exists("C:\\Ğş"));
  EXPECT_FALSE(machine->exists("C:\\??"));
  EXPECT_EQ(boxes(), 1);
}

TEST_F(DestinationTest, ADestinationInTheTurkishCodePageIsAccepted) {
  run(install("C:\\Ğş\\Video") + kAnswerNoInstallerFile, [](machine::MachineConfig& c) { c.codePage = 1254; });
  EXPECT_TRUE(reachedInstall());
  EXPECT_TRUE(machine->exists("C:\\Ğş\\Video"));
  EXPECT_EQ(boxes(), 1);
}

TEST_F(DestinationTest, KeysThatCannotBeReadAreTreatedAsAbsent) {
  run("", [](machine::MachineConfig& c) {
    c = windowsXp();
    c.faults.unreadableKeys = {"HKEY_LOCAL_MACHINE\\Software\\Zideruv", "HKEY_LOCAL_MACHINE\\Software\\Varnostik"};
  });
  runtime::MkDir("C:\\Tools");
  SetRegString(win32::HKEY_LOCAL_MACHINE, "Software\\Zideruv\\ZOV4", "Dizin", "C:\\Tools", 0);
  recordFolder("Software\\Varnostik\\ZOV3", "C:\\Tools");
  more(install("C:\\Tools") + kAnswerNoInstallerFile);
  EXPECT_TRUE(reachedInstall());
  EXPECT_EQ(boxes(), 1);
}

}  // namespace
}  // namespace zov::test
