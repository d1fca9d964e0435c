// The install routine's last stretch, called on a fresh machine with the
// wizard and the install folder as the earlier stages leave them: the
// shortcut files read back with lnkinfo, the Program Manager route with an
// answering and a silent server, the finish state and the Finish click.
#include <filesystem>
#include <fstream>
#include <iterator>

#include "engine/install_account.h"
#include "engine/progress_steps.h"
#include "localisation/translate_text.h"
#include "services/shared_state.h"
#include "tests/support/lnkinfo.h"
#include "platform/runtime/runtime_error.h"
#include "tests/wizard/wizard_fixture.h"

namespace zov::test {
namespace {

const std::string kInstallDir = "C:\\Program Files\\ZOV Zuzuzu Rudavero 5";
const std::string kMain = kInstallDir + "\\Zuzuzu Rudavero 5.exe";
const std::string kHelp = kInstallDir + "\\ZOV5.chm";
const std::string kUninstaller = kInstallDir + "\\Uninstall Zuzuzu Rudavero 5.exe";
const std::string kWin7Group =
    "C:\\Users\\user\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\ZOV Zuzuzu Rudavero 5";
const std::string kWin7Desktop = "C:\\Users\\user\\Desktop";

struct Product {
  bool help = true;
  bool uninstaller = true;
};

class ShortcutStageTest : public WizardTest {
 protected:
  // Starts the wizard (with `script`, e.g. a language choice) and leaves it
  // as the install routine does before its last stretch.
  void prepare(const std::function<void(machine::MachineConfig&)>& edit = {}, Product product = {},
               const std::string& script = "") {
    run(script, edit);
    account = {};
    machine->writeFile(kMain, "MZ\r\nZOVSIM Zuzuzu Rudavero 5\r\nZOV is recording.\r\n");
    if (product.help) machine->writeFile(kHelp, "help");
    if (product.uninstaller) machine->writeFile(kUninstaller, "MZ uninstaller");
    auto& f = Form1();
    InstallDir = kInstallDir;
    WizardPage = 5;
    f.Frame1(1).Visible = false;
    f.Frame1(4).Visible = true;
    f.Command1.Enabled = false;
    f.Command2.Enabled = false;
    f.Label11.Caption = TranslateText("Now creating shortcuts...");
    f.ShowProgress(StepPercent(58));
  }

  std::string progmanRecord() {
    std::ifstream in(machine->folder() / "progman.ini");
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }

  std::vector<std::string> lnkFiles(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(machine->host(folder), ec)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }

  void expectFinishState(const std::string& finish = "Finish") {
    auto& f = Form1();
    EXPECT_EQ(f.Command2.Caption.get(), finish);
    EXPECT_TRUE(f.Command2.Enabled.get());
    EXPECT_FALSE(f.Command1.Enabled.get());
    EXPECT_FALSE(f.Command3.Enabled.get());
    EXPECT_FALSE(f.Picture2.Visible.get());
    EXPECT_EQ(f.Label8.Caption.get(), "100%");
    EXPECT_TRUE(f.Check1.shown());
    EXPECT_EQ(f.Picture1.LinkMode.get(), 0);
    EXPECT_EQ(transcript().find("?? box"), std::string::npos) << transcript();
  }

  InstallAccount account;

  bool logHas(const std::string& line) {
    const auto& log = machine->machine().log().thisRun();
    return std::find(log.begin(), log.end(), line) != log.end();
  }
};

std::uint32_t showCommandOf(const std::string& bytes) {
  std::uint32_t v = 0;
  for (std::size_t i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes.at(0x3C + i))) << (8 * i);
  return v;
}

TEST_F(ShortcutStageTest, ShellRouteMakesSixShortcutsThatLnkinfoReadsAndOpensTheGroup) {
  prepare();
  Form1().MakeShortcutsAndFinish(account);

  struct Row {
    std::string file, target, arguments, icon, iconIndex, description;
  };
  const Row rows[] = {
      {kWin7Group + "\\ZOV Zuzuzu Rudavero 5.lnk", kMain, "", kMain, "0", "ZOV Zuzuzu Rudavero 5"},
      {kWin7Desktop + "\\ZOV Zuzuzu Rudavero 5.lnk", kMain, "", kMain, "0", "ZOV Zuzuzu Rudavero 5"},
      {kWin7Group + "\\Scenarca.lnk", kMain, " /scenarca", kMain, "0", "ZOV Scenarca"},
      {kWin7Group + "\\Kineloft.lnk", kMain, " /kineloft", kMain, "0", "ZOV Kineloft"},
      {kWin7Group + "\\Zuzuzu Rudavero 5 Help.lnk", kHelp, "", kHelp, "0", "ZOV Zuzuzu Rudavero 5 Help"},
      {kWin7Group + "\\Uninstall Zuzuzu Rudavero 5.lnk", kUninstaller, "", kUninstaller, "0",
       "Uninstall ZOV Zuzuzu Rudavero 5"},
  };
  for (const auto& row : rows) {
    const auto info = RunLnkinfo(machine->host(row.file));
    ASSERT_EQ(info.exitCode, 0) << row.file << "\n" << info.output;
    EXPECT_EQ(info.fields.at("Local path"), row.target) << row.file;
    EXPECT_EQ(info.fields.count("Command line arguments") ? info.fields.at("Command line arguments") : "", row.arguments);
    EXPECT_EQ(info.fields.at("Working directory"), kInstallDir) << row.file;
    EXPECT_EQ(info.fields.at("Description"), row.description) << row.file;
    EXPECT_EQ(info.fields.at("Icon location"), row.icon) << row.file;
    EXPECT_EQ(info.fields.at("Icon index"), row.iconIndex) << row.file;
    // Window style 1 where it is set; the desktop row leaves the shortcut's own normal window.
    EXPECT_EQ(showCommandOf(machine->readFile(row.file)), 1u) << row.file;
  }
  EXPECT_EQ(lnkFiles(kWin7Group).size(), 5u);
  EXPECT_TRUE(logHas("opened folder window: " + kWin7Group));
  EXPECT_TRUE(machine->machine().programManager().groups().empty());
  expectFinishState();
  EXPECT_EQ(Form1().Label11.Caption.get(),
            "Installation of ZOV Rededi Dirirozo has been successfully completed! You can launch ZOV from the Start Menu.");

  // Launch box ticked at Finish: the product starts from its quoted path, and the installer ends.
  EXPECT_TRUE(more("click Check1\nclick Command2\n"));
  const auto& log = machine->machine().log().thisRun();
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log[log.size() - 2], "started process 2412: " + kMain + " (window style 1)");
  EXPECT_EQ(log.back(), "Zuzuzu Rudavero 5 (process 2412) says: ZOV is recording. Arguments: none");
}

TEST_F(ShortcutStageTest, GermanXpMachineFinishesWithEndeAndStartsNothingUnticked) {
  prepare([](machine::MachineConfig& c) { c = windowsXp(); }, {}, "choose Combo1 Deutsch\n");
  Form1().MakeShortcutsAndFinish(account);
  const std::string group = "C:\\Documents and Settings\\user\\Start Menu\\Programs\\ZOV Zuzuzu Rudavero 5";
  EXPECT_EQ(lnkFiles(group).size(), 5u);
  EXPECT_TRUE(machine->exists("C:\\Documents and Settings\\user\\Desktop\\ZOV Zuzuzu Rudavero 5.lnk"));
  expectFinishState("Ende");
  EXPECT_EQ(Form1().Check1.Caption.get(), TranslateText("Launch ZOV now."));
  EXPECT_TRUE(more("click Command2\n"));
  for (const auto& line : machine->machine().log().thisRun()) EXPECT_EQ(line.find("started process"), std::string::npos) << line;
}

TEST_F(ShortcutStageTest, MissingOrHiddenHelpAndUninstallerGetNoShortcutAndNoItem) {
  prepare({}, {false, true});
  ASSERT_EQ(machine->machine().files().setAttributes(kUninstaller, machine::kAttrHidden), 0u);
  Form1().MakeShortcutsAndFinish(account);
  EXPECT_EQ(lnkFiles(kWin7Group), (std::vector<std::string>{"Kineloft.lnk", "Scenarca.lnk", "ZOV Zuzuzu Rudavero 5.lnk"}));
  EXPECT_TRUE(machine->exists(kWin7Desktop + "\\ZOV Zuzuzu Rudavero 5.lnk"));
  expectFinishState();

  // The same product on a machine without a Programs folder: three items.
  TearDown();
  prepare([](machine::MachineConfig& c) { c.programsFolder.clear(); }, {true, false});
  ASSERT_EQ(machine->machine().files().setAttributes(kHelp, machine::kAttrSystem), 0u);
  Form1().MakeShortcutsAndFinish(account);
  const auto& groups = machine->machine().programManager().groups();
  ASSERT_EQ(groups.size(), 1u);
  EXPECT_EQ(groups[0].items.size(), 3u);
  EXPECT_EQ(machine->machine().clock().now(), 1'600u);
  expectFinishState();
}

TEST_F(ShortcutStageTest, NoProgramsFolderBuildsTheProgramManagerGroupWithTheExactCommands) {
  prepare([](machine::MachineConfig& c) { c.programsFolder.clear(); });
  Form1().MakeShortcutsAndFinish(account);
  const std::string q = "\"";
  const std::string commands[] = {
      "[CreateGroup(ZOV Zuzuzu Rudavero 5)]",
      "[additem(" + q + kMain + q + ",ZOV Zuzuzu Rudavero 5)]",
      "[additem(" + q + kMain + q + " /scenarca,Scenarca)]",
      "[additem(" + q + kMain + q + " /kineloft,Kineloft)]",
      "[additem(" + q + kHelp + q + ",Zuzuzu Rudavero 5 Help)]",
      "[additem(" + q + kUninstaller + q + ",Uninstall Zuzuzu Rudavero 5)]",
  };
  for (const auto& c : commands) EXPECT_TRUE(logHas("Program Manager: " + c)) << c;
  EXPECT_EQ(progmanRecord(),
            "; Program Manager's groups and their items, as its DDE commands made them.\n\n"
            "[ZOV Zuzuzu Rudavero 5]\n"
            "Item=ZOV Zuzuzu Rudavero 5\nCommand=" + q + kMain + q + "\n"
            "Item=Scenarca\nCommand=" + q + kMain + q + " /scenarca\n"
            "Item=Kineloft\nCommand=" + q + kMain + q + " /kineloft\n"
            "Item=Zuzuzu Rudavero 5 Help\nCommand=" + q + kHelp + q + "\n"
            "Item=Uninstall Zuzuzu Rudavero 5\nCommand=" + q + kUninstaller + q + "\n");
  // Only the fixed pauses: 500 ms after opening, 500 after the group, 200 after each item.
  EXPECT_EQ(machine->machine().clock().now(), 2'000u);
  EXPECT_FALSE(machine->exists(kWin7Desktop + "\\ZOV Zuzuzu Rudavero 5.lnk"));
  for (const auto& line : machine->machine().log().thisRun()) EXPECT_EQ(line.find("opened folder"), std::string::npos);
  expectFinishState();
}

TEST_F(ShortcutStageTest, ASilentProgramManagerCostsItsTimeOutsOnTheClockAndTheFinishComesAllTheSame) {
  prepare([](machine::MachineConfig& c) {
    c.programsFolder.clear();
    c.programManagerAnswers = false;
  });
  Form1().MakeShortcutsAndFinish(account);
  // 10 s for the group, 5 s for each of five items, and the 2 s of pauses.
  EXPECT_EQ(machine->machine().clock().now(), 37'000u);
  EXPECT_TRUE(logHas("Program Manager did not answer: [CreateGroup(ZOV Zuzuzu Rudavero 5)]"));
  EXPECT_TRUE(machine->machine().programManager().groups().empty());
  expectFinishState();
  EXPECT_FALSE(account.Shortcuts);
}

TEST_F(ShortcutStageTest, AFailingFirstShortcutSwitchesToProgramManagerAndWritesNoOther) {
  prepare([](machine::MachineConfig& c) { c.faults.refuseWrites = {kWin7Group + "\\ZOV Zuzuzu Rudavero 5.lnk"}; });
  Form1().MakeShortcutsAndFinish(account);
  EXPECT_TRUE(machine->exists(kWin7Group));
  EXPECT_TRUE(lnkFiles(kWin7Group).empty());
  EXPECT_FALSE(machine->exists(kWin7Desktop + "\\ZOV Zuzuzu Rudavero 5.lnk"));
  for (const auto& line : machine->machine().log().thisRun()) EXPECT_EQ(line.find("opened folder"), std::string::npos);
  ASSERT_EQ(machine->machine().programManager().groups().size(), 1u);
  EXPECT_EQ(machine->machine().programManager().groups()[0].items.size(), 5u);
  expectFinishState();
  EXPECT_TRUE(account.Complete());  // the group stands in Program Manager

  // A read-only first shortcut left by someone else does the same; a
  // read-only later one is only left as it is.
  TearDown();
  prepare();
  machine->writeFile(kWin7Group + "\\ZOV Zuzuzu Rudavero 5.lnk", "old");
  ASSERT_EQ(machine->machine().files().setAttributes(kWin7Group + "\\ZOV Zuzuzu Rudavero 5.lnk", machine::kAttrReadOnly), 0u);
  Form1().MakeShortcutsAndFinish(account);
  EXPECT_EQ(machine->readFile(kWin7Group + "\\ZOV Zuzuzu Rudavero 5.lnk"), "old");
  EXPECT_EQ(machine->machine().programManager().groups().size(), 1u);
  TearDown();
  prepare();
  machine->writeFile(kWin7Group + "\\Scenarca.lnk", "old");
  ASSERT_EQ(machine->machine().files().setAttributes(kWin7Group + "\\Scenarca.lnk", machine::kAttrReadOnly), 0u);
  Form1().MakeShortcutsAndFinish(account);
  EXPECT_EQ(machine->readFile(kWin7Group + "\\Scenarca.lnk"), "old");
  EXPECT_FALSE(account.Shortcuts);
  EXPECT_EQ(lnkFiles(kWin7Group).size(), 5u);
  EXPECT_TRUE(machine->machine().programManager().groups().empty());
  EXPECT_TRUE(logHas("opened folder window: " + kWin7Group));
  expectFinishState();
}

TEST_F(ShortcutStageTest, OddFoldersTakeTheirRouteWithoutABox) {
  // A Programs folder given as a drive root: one backslash before the group name.
  prepare([](machine::MachineConfig& c) { c.programsFolder = "C:\\"; });
  Form1().MakeShortcutsAndFinish(account);
  EXPECT_TRUE(machine->exists("C:\\ZOV Zuzuzu Rudavero 5\\Kineloft.lnk"));
  EXPECT_TRUE(logHas("opened folder window: C:\\ZOV Zuzuzu Rudavero 5"));
  expectFinishState();

  // An existing group folder is used as it is; a blank desktop skips only the desktop shortcut.
  TearDown();
  prepare([](machine::MachineConfig& c) { c.desktopFolder.clear(); });
  machine->writeFile(kWin7Group + "\\Readme.txt", "mine");
  Form1().MakeShortcutsAndFinish(account);
  EXPECT_EQ(lnkFiles(kWin7Group).size(), 6u);
  EXPECT_FALSE(machine->exists(kWin7Desktop + "\\ZOV Zuzuzu Rudavero 5.lnk"));
  expectFinishState();

  // A machine without the shell object: Program Manager, from an empty group folder.
  TearDown();
  prepare();
  machine->machine().registry().deleteKey("HKEY_CLASSES_ROOT\\WScript.Shell\\CLSID");
  Form1().MakeShortcutsAndFinish(account);
  EXPECT_TRUE(lnkFiles(kWin7Group).empty());
  EXPECT_EQ(machine->machine().programManager().groups().size(), 1u);
  expectFinishState();

  // A Programs folder that is not there, or that refuses a new group folder:
  // Program Manager, and no folder is made.
  const std::string programs = kWin7Group.substr(0, kWin7Group.rfind('\\'));
  for (int k = 0; k < 3; ++k) {
    TearDown();
    prepare([&](machine::MachineConfig& c) {
      if (k == 1) c.faults.refuseWrites = {programs};
      if (k == 2) c.programsFolder = "D:\\Programs";  // a drive without a disk
    });
    if (k == 0) std::filesystem::remove_all(machine->host(programs));
    Form1().MakeShortcutsAndFinish(account);
    EXPECT_FALSE(machine->exists(kWin7Group)) << k;
    if (k == 0) {
      EXPECT_FALSE(machine->exists(programs));
    }
    EXPECT_EQ(machine->machine().programManager().groups().size(), 1u) << k;
    expectFinishState();
  }
}

// The finish page says success only over a complete account; otherwise it
// names what is missing, offers the launch while the product can start and
// says the Start-menu sentence only while the shortcuts are there too.
TEST_F(ShortcutStageTest, TheFinishSaysWhatIsMissingAndOffersWhatStillWorks) {
  const std::string incomplete = "Installation of ZOV Rededi Dirirozo is not complete!";
  const std::string startMenu = " You can launch ZOV from the Start Menu.";
  struct Case {
    const char* name;
    std::function<void(machine::MachineConfig&)> edit;
    std::function<void(InstallAccount&)> before;
    std::string finish;
    bool launch;
  };
  const Case cases[] = {
      {"a desktop that refuses the shortcut", [](machine::MachineConfig& c) { c.faults.refuseWrites = {kWin7Desktop}; },
       {}, incomplete + " Some of its shortcuts could not be created.", true},
      {"no Programs folder and a silent Program Manager",
       [](machine::MachineConfig& c) {
         c.programsFolder.clear();
         c.programManagerAnswers = false;
       },
       {}, incomplete + " Some of its shortcuts could not be created.", true},
      {"a product file missing", {}, [](InstallAccount& a) { a.ProductFiles = false; },
       incomplete + " Some of its files could not be installed.", false},
      {"the sample project missing", {}, [](InstallAccount& a) { a.OtherFiles = false; },
       incomplete + " Some of its files could not be installed." + startMenu, true},
      {"a setting missing", {}, [](InstallAccount& a) { a.Settings = false; },
       incomplete + " Some of its settings could not be saved.", false},
      {"the association missing and a shortcut", [](machine::MachineConfig& c) { c.faults.refuseWrites = {kWin7Desktop}; },
       [](InstallAccount& a) { a.Registrations = false; },
       incomplete + " Its uninstall entry or its '.qev' file type could not be registered. Some of its shortcuts could "
                    "not be created.",
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    prepare(c.edit);
    if (c.before) c.before(account);
    Form1().MakeShortcutsAndFinish(account);
    EXPECT_EQ(Form1().Label11.Caption.get(), c.finish);
    EXPECT_EQ(Form1().Check1.shown(), c.launch);
    EXPECT_EQ(Form1().Command2.Caption.get(), "Finish");
    EXPECT_EQ(transcript().find("?? box"), std::string::npos) << transcript();
    TearDown();
  }

  // In German, every sentence in German.
  prepare([](machine::MachineConfig& c) { c.faults.refuseWrites = {kWin7Desktop}; }, {}, "choose Combo1 Deutsch\n");
  account.OtherFiles = false;
  Form1().MakeShortcutsAndFinish(account);
  EXPECT_EQ(Form1().Label11.Caption.get(),
            "Die Installation von ZOV Bildschirm Recorder ist nicht vollständig! Einige seiner Dateien konnten nicht "
            "installiert werden. Einige seiner Verknüpfungen konnten nicht erstellt werden.");
}

TEST_F(ShortcutStageTest, ACancelConfirmedDuringProgramManagersWaitsEndsTheRoutineThere) {
  prepare([](machine::MachineConfig& c) { c.programsFolder.clear(); });
  machine->script("busy click Command3\nanswer Yes\n");
  // The program ends in the wait where the window was closed.
  EXPECT_THROW(Form1().MakeShortcutsAndFinish(account), runtime::ProgramEnd);
  EXPECT_FALSE(Form1().loaded());
  EXPECT_NE(transcript().find("Do you want to cancel the installation?"), std::string::npos);
  EXPECT_FALSE(logHas("Program Manager: [CreateGroup(ZOV Zuzuzu Rudavero 5)]"));
  EXPECT_EQ(machine->machine().clock().now(), 0u);
}

}  // namespace
}  // namespace zov::test
