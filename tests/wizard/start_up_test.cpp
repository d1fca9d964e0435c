// The wizard's start-up on fresh machines: the stored language and folder,
// the check that the product is not running, and the user and settings
// folders of Vista and 7 on each of their roads.
#include <filesystem>
#include <fstream>

#include "localisation/translation_state.h"
#include "platform/machine/registry_store.h"
#include "platform/win32/kernel.h"
#include "services/shared_state.h"
#include "tests/wizard/wizard_fixture.h"

namespace zov::test {
namespace {

using runtime::Trim;

const std::string kProductKey = "HKEY_LOCAL_MACHINE\\Software\\Zideruv\\ZOV4";
const std::string kDefaultDir = "C:\\Program Files\\ZOV Zuzuzu Rudavero 5";
const std::string kLocal = "C:\\Users\\user\\AppData\\Local";

void storeNumber(TestMachine& m, const std::string& key, const std::string& name, std::uint32_t n) {
  m.machine().registry().createKey(key);
  m.machine().registry().setValue(key, name, {machine::kRegDword, {std::uint8_t(n), std::uint8_t(n >> 8),
                                                                    std::uint8_t(n >> 16), std::uint8_t(n >> 24)}});
}

void storeText(TestMachine& m, const std::string& key, const std::string& name, const std::string& text) {
  m.machine().registry().createKey(key);
  m.machine().registry().setValue(key, name, {machine::kRegSz, {text.begin(), text.end()}});
}

void makeFolder(TestMachine& m, const std::string& path) { std::filesystem::create_directories(m.host(path)); }

void onXp(machine::MachineConfig& c) { c = windowsXp(); }

class StartUpTest : public WizardTest {
 protected:
  int boxes() const {
    int n = 0;
    for (auto at = transcript().find("?? box"); at != std::string::npos; at = transcript().find("?? box", at + 1)) ++n;
    return n;
  }
  bool saw(const std::string& text) const { return transcript().find(text) != std::string::npos; }
};

// ---- The stored language ----

TEST_F(StartUpTest, AStoredLanguageSelectsItsItemWhateverTheSystemLanguage) {
  run("", [](machine::MachineConfig& c) { onXp(c), c.uiLanguage = 0x0407; },
      [](TestMachine& m) { storeNumber(m, kProductKey, "Language", 2); });
  EXPECT_EQ(Form1().Combo1.Text(), "Français");
  EXPECT_EQ(Form1().Command3.Caption.get(), "Annuler");
  EXPECT_EQ(LanguageIndex, 3);
}

TEST_F(StartUpTest, ALanguageOutsideTheListSelectsNothingAndStaysEnglish) {
  for (const std::uint32_t stored : {7u, 0x80000000u, 0xFFFFFFFEu, 4u}) {
    run("", [](machine::MachineConfig& c) { onXp(c), c.uiLanguage = 0x040C; },
        [&](TestMachine& m) { storeNumber(m, kProductKey, "Language", stored); });
    EXPECT_EQ(Form1().Combo1.ListIndex.get(), -1) << stored;
    EXPECT_EQ(Form1().Command3.Caption.get(), "Cancel") << stored;
    EXPECT_EQ(WizardPage, 1);
    TearDown();
  }
}

TEST_F(StartUpTest, NothingStoredBeforeVistaFollowsTheSystemLanguage) {
  const std::pair<std::uint16_t, const char*> cases[] = {
      {0x0407, "Deutsch"}, {0x040C, "Français"}, {0x0C0A, "Espanol"}, {0x041F, "English"}, {0x0411, "English"}};
  for (const auto& [language, item] : cases) {
    run("", [&, system = language](machine::MachineConfig& c) { onXp(c), c.uiLanguage = system; });
    EXPECT_EQ(Form1().Combo1.Text(), item) << language;
    TearDown();
  }
  // A Language of another type is no stored language.
  run("", [](machine::MachineConfig& c) { onXp(c), c.uiLanguage = 0x0407; },
      [](TestMachine& m) { storeText(m, kProductKey, "Language", "2"); });
  EXPECT_EQ(Form1().Command3.Caption.get(), "Abbrechen");
}

TEST_F(StartUpTest, TheFirstInstallationOnSevenOpensInEnglish) {
  // Without a settings folder the value files answer 0, which is "English".
  run("", [](machine::MachineConfig& c) { c.uiLanguage = 0x0407; });
  EXPECT_EQ(Form1().Combo1.Text(), "English");
  EXPECT_EQ(Form1().Command3.Caption.get(), "Cancel");
}

TEST_F(StartUpTest, TheRunningBoxSpeaksTheStoredLanguage) {
  run("answer OK\nwindow-closes ZOV Bildschirm Recorder\nanswer OK\n",
      [](machine::MachineConfig& c) {
        onXp(c);
        c.otherWindows = {"ZOV Bildschirm Recorder", "Program Manager", "Rededi Dirirozo Settings"};
      },
      [](TestMachine& m) { storeNumber(m, kProductKey, "Language", 1); });
  EXPECT_TRUE(saw("?? box \"Bildschirm Recorder\" [OK/Cancel, exclamation, default Cancel]"));
  EXPECT_TRUE(saw("ZOV Bildschirm Recorder wird gerade ausgeführt."));
  EXPECT_EQ(boxes(), 2);
  EXPECT_EQ(Form1().Combo1.Text(), "Deutsch");
}

// ---- One installer at a time ----

// Another installer holds the machine (either build: one name): the box in
// the system's language, no window, nothing written; once it has let go, a
// new start opens the wizard.
TEST_F(StartUpTest, ASecondInstallerSaysAnotherRunsAndChangesNothing) {
  const struct {
    std::uint16_t uiLanguage;
    const char* box;
  } languages[] = {
      {0x0409, "?? box \"Rededi Dirirozo\" [OK, exclamation, default OK]\n   Another installation of ZOV Rededi Dirirozo "
               "is running. Please wait until it has finished, then start the installation again.\n"},
      {0x0407, "?? box \"Bildschirm Recorder\" [OK, exclamation, default OK]\n   Eine andere Installation von ZOV "
               "Bildschirm Recorder läuft bereits."},
      {0x041F, "   ZOV Ekran Kaydedici'nin başka bir kurulumu çalışıyor."},
  };
  for (const auto& language : languages) {
    SCOPED_TRACE(language.uiLanguage);
    win32::HANDLE other = 0;
    const bool closed = run("answer OK\n", [&](machine::MachineConfig& c) { c.uiLanguage = language.uiLanguage; },
                            [&](TestMachine& m) {
                              other = win32::CreateMutexA(nullptr, win32::TRUE, "ZOVZuzuzuRudavero5Setup");
                              ASSERT_EQ(win32::GetLastError(), 0u);
                              std::filesystem::remove_all(m.folder() / "drives" / "C" / "Users" / "user" / "AppData");
                            });
    EXPECT_TRUE(closed);
    EXPECT_TRUE(saw(language.box)) << transcript();
    EXPECT_EQ(boxes(), 1);
    EXPECT_FALSE(Form1().loaded());
    // Not even the user folders that the start-up on 7 makes.
    EXPECT_FALSE(machine->exists("C:\\Users\\user\\AppData"));
    win32::CloseHandle(other);
    TearDown();
  }
  run("");
  EXPECT_TRUE(Form1().loaded());
  EXPECT_EQ(boxes(), 0) << transcript();
}

// ---- The stored folder ----

TEST_F(StartUpTest, BeforeVistaAStoredFolderIsTakenOnlyWhenItExists) {
  run("", onXp, [](TestMachine& m) {
    storeText(m, kProductKey, "Dizin", "D:\\Old\\ZOV");
    makeFolder(m, "C:\\Tools\\ZOV");
    storeText(m, kProductKey, "Dizin", "C:\\Tools\\ZOV");
  });
  EXPECT_EQ(Trim(InstallDir), "C:\\Tools\\ZOV");
  EXPECT_EQ(Form1().Text2.Text.get(), "C:\\Tools\\ZOV");
  EXPECT_EQ(Form1().Text2.SelStart.get(), 12);
  TearDown();

  const std::string missing[] = {"C:\\Gone\\ZOV", "C:\\Games|Old", std::string(300, 'x'), "   "};
  for (const std::string& stored : missing) {
    run("", onXp, [&](TestMachine& m) { storeText(m, kProductKey, "Dizin", stored); });
    EXPECT_EQ(Trim(InstallDir), kDefaultDir) << stored;
    TearDown();
  }
  // The key without Dizin, and a parent key without the product's.
  run("", onXp, [](TestMachine& m) { storeNumber(m, kProductKey, "Version", 19); });
  EXPECT_EQ(Trim(InstallDir), kDefaultDir);
  TearDown();
  run("", onXp, [](TestMachine& m) { storeText(m, "HKEY_LOCAL_MACHINE\\Software\\Zideruv\\ZOV3", "Dizin", "C:\\"); });
  EXPECT_EQ(Trim(InstallDir), kDefaultDir);
}

TEST_F(StartUpTest, AStoredFolderThatIsAFileIsTakenAsTheListingFindsIt) {
  run("", onXp, [](TestMachine& m) {
    m.writeFile("C:\\Data\\notes.txt", "x");
    storeText(m, kProductKey, "Dizin", "C:\\Data\\notes.txt");
  });
  EXPECT_EQ(Trim(InstallDir), "C:\\Data\\notes.txt");
}

TEST_F(StartUpTest, TooManySubkeysGiveTheDefaultWithoutAHang) {
  run("", onXp, [](TestMachine& m) {
    makeFolder(m, "C:\\Tools\\ZOV");
    storeText(m, kProductKey, "Dizin", "C:\\Tools\\ZOV");
    std::ofstream keys(m.folder() / "registry.reg", std::ios::app);
    for (int i = 0; i < 2000; ++i) keys << "\n[HKEY_LOCAL_MACHINE\\Software\\Zideruv\\K" << i << "]\n";
    keys.close();
    m.reopen();
  });
  EXPECT_EQ(Trim(InstallDir), kDefaultDir);
  EXPECT_EQ(WizardPage, 1);
}

TEST_F(StartUpTest, OnSevenTheSettingsFolderGivesItsFolderEvenWhenGone) {
  run("", {}, [](TestMachine& m) { m.writeFile(kLocal + "\\Zideruv\\ZOV4\\Dizin", "D:\\Was\\Here\r\n"); });
  EXPECT_EQ(Trim(InstallDir), "D:\\Was\\Here");
  EXPECT_EQ(Form1().Text2.Text.get(), "D:\\Was\\Here");
  TearDown();
  // Without a settings folder the registry is not asked.
  run("", {}, [](TestMachine& m) { storeText(m, kProductKey, "Dizin", "C:\\Windows"); });
  EXPECT_EQ(Trim(InstallDir), kDefaultDir);
}

// ---- The product running ----

const char* const kProductWindows[] = {"ZOV Rededi Dirirozo", "Rededi Dirirozo Settings"};

std::function<void(machine::MachineConfig&)> withWindows(std::vector<std::string> titles) {
  return [titles](machine::MachineConfig& c) { c.otherWindows.insert(c.otherWindows.end(), titles.begin(), titles.end()); };
}

TEST_F(StartUpTest, TheBoxComesBackUntilTheProductsWindowsAreClosed) {
  run("answer OK\nwindow-closes Rededi Dirirozo Settings\nanswer OK\n",
      withWindows({kProductWindows[0], kProductWindows[1]}));
  EXPECT_EQ(boxes(), 2);
  EXPECT_TRUE(saw("?? box \"Rededi Dirirozo\" [OK/Cancel, exclamation, default Cancel]\n"
                  "   ZOV Rededi Dirirozo is currently running, please close it before starting to install.\\n\\n"
                  "Press on OK button to continue..."));
  EXPECT_EQ(WizardPage, 1);
  EXPECT_TRUE(Form1().Visible.get());
}

TEST_F(StartUpTest, CancelAtTheBoxEndsTheProgramWithoutTheCancelQuestion) {
  EXPECT_TRUE(run("answer Cancel\n", withWindows({"Rededi Dirirozo Settings  ", "ZOV"})));
  EXPECT_EQ(boxes(), 1);
  EXPECT_FALSE(Form1().loaded());
  EXPECT_EQ(Form1().Command2.Caption.get(), "Finish");
  EXPECT_EQ(WizardPage, 0);
  EXPECT_FALSE(saw("Do you want to cancel"));
}

TEST_F(StartUpTest, OneWindowAloneOrAnotherCaseIsNotTheProduct) {
  for (const auto& titles : std::vector<std::vector<std::string>>{
           {"ZOV Rededi Dirirozo"}, {"Rededi Dirirozo Settings"}, {"zov rededi dirirozo", "Rededi Dirirozo Settings"},
           {"Orvand's Rededi Dirirozo", "Rededi Dirirozo settings"}, {""}}) {
    run("", withWindows(titles));
    EXPECT_EQ(boxes(), 0) << titles[0];
    EXPECT_EQ(WizardPage, 1);
    TearDown();
  }
}

// ---- The user folders of Vista and 7 ----

TEST_F(StartUpTest, TheKnownFolderIsTakenAndNothingIsCreated) {
  run("");
  EXPECT_EQ(UserDir, kLocal);
  EXPECT_EQ(AppDataDir, kLocal + "\\Zideruv\\ZOV4");
  EXPECT_EQ(DomainUserDir, "");
  EXPECT_FALSE(machine->exists(kLocal + "\\Zideruv"));
  EXPECT_EQ(boxes(), 0);
}

TEST_F(StartUpTest, AHiddenProductFolderThatStaysHiddenIsNamedOnce) {
  run("answer OK The following folder is hidden\n",
      [](machine::MachineConfig& c) { c.faults.lockedAttributes = {kLocal + "\\Zideruv"}; },
      [](TestMachine& m) {
        makeFolder(m, kLocal + "\\Zideruv");
        std::ofstream(m.folder() / "attributes", std::ios::app) << "H " << kLocal << "\\Zideruv\n";
        m.reopen();
      });
  EXPECT_EQ(boxes(), 1);
  EXPECT_TRUE(saw("?? box \"ZOV Rededi Dirirozo\" [OK, exclamation, default OK]\n"
                  "   The following folder is hidden and couldn't change its attribute to visible. You should do it "
                  "manually.\\n\\n" +
                  kLocal + "\\Zideruv\n"));
  EXPECT_EQ(AppDataDir, kLocal + "\\Zideruv\\ZOV4");
  EXPECT_EQ(WizardPage, 1);
}

TEST_F(StartUpTest, WithoutTheKnownFolderTheUserAndDomainProfilesAreUsed) {
  run("", [](machine::MachineConfig& c) {
    c.faults.knownFoldersFail = true;
    c.userName = "jdoe";
    c.domain = "CORP";
    c.localAppDataFolder = "C:\\Users\\jdoe\\AppData\\Local";
    c.domainLocalAppDataFolder = "C:\\Users\\jdoe.CORP\\AppData\\Local";
  });
  EXPECT_EQ(UserDir, "C:\\Users\\jdoe\\AppData\\Local");
  EXPECT_EQ(AppDataDir, "C:\\Users\\jdoe\\AppData\\Local\\Zideruv\\ZOV4");
  EXPECT_EQ(DomainUserDir, "C:\\Users\\jdoe.CORP\\AppData\\Local");
  EXPECT_EQ(DomainAppDataDir, "C:\\Users\\jdoe.CORP\\AppData\\Local\\Zideruv\\ZOV4");
}

TEST_F(StartUpTest, AProfileNamedUnlikeTheAccountIsFoundThroughTheProgramsMenu) {
  auto machineOf = [](const std::string& programs) {
    return [programs](machine::MachineConfig& c) {
      c.faults.knownFoldersFail = true;
      c.userName = "jdoe";
      c.localAppDataFolder = "C:\\Users\\j.doe\\AppData\\Local";
      c.programsFolder = programs;
    };
  };
  run("", machineOf("C:\\Users\\j.doe\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs"));
  EXPECT_EQ(UserDir, "C:\\Users\\j.doe\\AppData\\Local");
  EXPECT_EQ(DomainUserDir, "");
  TearDown();
  // A path without "\Users\" (or with it in lower case) is no help: the last resort follows.
  for (const char* programs : {"C:\\users\\j.doe\\Start Menu\\Programs", "C:\\Start Menu\\Programs"}) {
    run("", machineOf(programs));
    EXPECT_EQ(UserDir, "C:\\Program Files\\ZOVConf") << programs;
    TearDown();
  }
}

TEST_F(StartUpTest, OnlyTheDomainProfileLeavesTheFirstFolderEmpty) {
  run("", [](machine::MachineConfig& c) {
    c.faults.knownFoldersFail = true;
    c.domain = "CORP";
    c.localAppDataFolder = "C:\\Profiles\\user";
    c.tempFolder = "C:\\Temp";
    c.programsFolder = "C:\\Profiles\\user\\Programs";
    c.domainLocalAppDataFolder = "C:\\Users\\user.CORP\\AppData\\Local";
  });
  EXPECT_EQ(UserDir, "");
  EXPECT_EQ(AppDataDir, "");
  EXPECT_EQ(DomainAppDataDir, "C:\\Users\\user.CORP\\AppData\\Local\\Zideruv\\ZOV4");
  EXPECT_FALSE(machine->exists("C:\\Program Files\\ZOVConf"));
}

TEST_F(StartUpTest, WithoutAUserNameTheLastResortIsMadeLevelByLevelOnTheSystemDrive) {
  run("", [](machine::MachineConfig& c) {
    c.faults.knownFoldersFail = true;
    c.faults.userNameFails = true;
    c.drives['E'] = machine::DriveConfig{};
    c.drives['E'].letter = 'E';
    c.systemFolder = "E:\\Windows\\system32";
  });
  EXPECT_EQ(UserDir, "E:\\Program Files\\ZOVConf");
  EXPECT_EQ(AppDataDir, "E:\\Program Files\\ZOVConf\\Zideruv\\ZOV4");
  EXPECT_TRUE(machine->exists("E:\\Program Files\\ZOVConf\\Zideruv\\ZOV4"));
  EXPECT_EQ(WizardPage, 1);
}

TEST_F(StartUpTest, HiddenOrSystemLevelsOfTheLastResortCountAsThereAndStayAsTheyAre) {
  const std::string conf = "C:\\Program Files\\ZOVConf";
  const std::pair<std::string, std::uint32_t> levels[] = {{conf, machine::kAttrHidden},
                                                          {conf + "\\Zideruv", machine::kAttrSystem},
                                                          {conf + "\\Zideruv\\ZOV4", machine::kAttrHidden}};
  for (std::size_t hidden = 1; hidden <= 3; ++hidden) {
    EXPECT_FALSE(run("",
                     [](machine::MachineConfig& c) {
                       c.faults.knownFoldersFail = true;
                       c.faults.userNameFails = true;
                     },
                     [&](TestMachine& m) {
                       for (std::size_t i = 0; i < hidden; ++i) {
                         makeFolder(m, levels[i].first);
                         ASSERT_EQ(m.machine().files().setAttributes(levels[i].first, levels[i].second), 0u);
                       }
                     }))
        << hidden;
    EXPECT_EQ(boxes(), 0) << transcript();
    EXPECT_EQ(AppDataDir, conf + "\\Zideruv\\ZOV4");
    for (std::size_t i = 0; i < hidden; ++i) {
      std::uint32_t attributes = 0;
      EXPECT_EQ(machine->machine().files().attributes(levels[i].first, attributes), 0u);
      EXPECT_EQ(attributes, machine::kAttrDirectory | levels[i].second) << levels[i].first;
    }
    TearDown();
  }
}

TEST_F(StartUpTest, ALongUserNameFindsNoProfileAndDoesNotEndTheProgram) {
  run("", [](machine::MachineConfig& c) {
    c.faults.knownFoldersFail = true;
    c.userName = std::string(255, 'u');
  });
  // The Programs menu names the profile folder that exists.
  EXPECT_EQ(UserDir, kLocal);
  EXPECT_EQ(WizardPage, 1);
}

TEST_F(StartUpTest, NoFolderAndNoWayToMakeOneEndsTheProgramAtOnce) {
  EXPECT_TRUE(run("answer OK\n", [](machine::MachineConfig& c) {
    c.faults.knownFoldersFail = true;
    c.faults.userNameFails = true;
    c.faults.refuseWrites = {"C:\\Program Files"};
  }));
  EXPECT_EQ(boxes(), 1);
  EXPECT_TRUE(saw("?? box \"ZOV Rededi Dirirozo\" [OK, exclamation, default OK]\n"
                  "   Error: Couldn't find the user folder and couldn't create one! Quiting installation."));
  EXPECT_EQ(WizardPage, 0);
  EXPECT_TRUE(SourceTexts.empty());
}

TEST_F(StartUpTest, BeforeVistaNoUserFolderIsLookedFor) {
  run("", onXp);
  EXPECT_EQ(UserDir, "");
  EXPECT_EQ(AppDataDir, "");
  EXPECT_EQ(DomainAppDataDir, "");
}

}  // namespace
}  // namespace zov::test
