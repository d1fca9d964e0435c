// The settings and registrations stage: what it leaves in registry.reg and
// on the disk on Windows XP and 7, the upgrade rules, the association
// question, the AVIFile repair and bad input.
#include <algorithm>
#include <filesystem>
#include <fstream>

#include "platform/runtime/strings.h"
#include "services/registry.h"
#include "services/shared_state.h"
#include "tests/engine/settings_stage_fixture.h"

namespace zov::test {
namespace {

namespace fs = std::filesystem;

const std::string kUser = "C:\\Users\\user\\AppData\\Local";
const std::string kDomainUser = "C:\\Users\\user.ZOVNET\\AppData\\Local";
const std::string kUninstall =
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ZOVScreenRecorder5";
const std::string kProgram = kInstallDir + "\\Zuzuzu Rudavero 5.exe";
const std::string kFolderMessage =
    "?? box \"ZOV\" [OK, exclamation, default OK]\n"
    "   The following folder couldn't be created : \\n\\n" + kUser + "\\Zideruv\\ZOV4\\n\\nPlease create manually.\n>> OK\n";
const std::string kNoUserFolder =
    "?? box \"Rededi Dirirozo\" [OK, exclamation, default OK]\n   Error: Couldn't write to the user directory.\n>> OK\n";
const std::string kQuestion = "'.qev' file type is associated with another application.";

std::string fileText(TestMachine& m, const std::string& path) { return m.readFile(path); }

TEST_F(SettingsStage, WindowsXpKeepsEverySettingInTheRegistry) {
  start([](machine::MachineConfig& c) { c = windowsXp(); });
  ASSERT_EQ(OsCode, 3);
  Form1().Combo1.ListIndex = 3;  // "Espanol": the texts are Spanish from here on
  stage();
  EXPECT_EQ(text(kSettingsKey, "Dizin"), kInstallDir);
  const std::pair<const char*, std::int32_t> numbers[] = {{"Version", 19}, {"IncCur", 1},   {"dwKFE", 15},
                                                          {"RecSnd", 1},   {"CapSpeed", 1}, {"Language", 3}};
  for (const auto& [name, value] : numbers) EXPECT_EQ(number(kSettingsKey, name), value) << name;
  // A first install: no upgrade values.
  EXPECT_FALSE(number(kSettingsKey, "AutoCodec"));
  EXPECT_FALSE(number(kSettingsKey, "InterfaceStyle"));
  EXPECT_FALSE(machine->exists(kInstallDir + "\\UserF.dat"));

  EXPECT_EQ(text(kUninstall, "DisplayName"), "ZOV Zuzuzu Rudavero 5");
  EXPECT_EQ(text(kUninstall, "UninstallString"), kInstallDir + "\\Uninstall Zuzuzu Rudavero 5.exe");
  EXPECT_EQ(text("HKEY_CLASSES_ROOT\\.qev", ""), "ZOV.KineloftProject");
  EXPECT_EQ(text("HKEY_CLASSES_ROOT\\ZOV.KineloftProject", ""), "ZOV Kineloft Project File");
  EXPECT_EQ(text("HKEY_CLASSES_ROOT\\ZOV.KineloftProject\\shell\\open\\command", ""),
            "\"" + kProgram + "\" /kineloft %1");
  EXPECT_EQ(text("HKEY_CLASSES_ROOT\\ZOV.KineloftProject\\DefaultIcon", ""), kProgram + ",0");

  // Step 58 of 59, the temporary folder gone, the shortcuts announced.
  EXPECT_EQ(Form1().Label8.Caption.get(), "98%");
  EXPECT_EQ(Form1().Label12.Caption.get(), "");
  EXPECT_FALSE(machine->exists(runtime::Trim(TempDir) + "\\ZOVTMP"));
  EXPECT_EQ(Form1().Label11.Caption.get(), "ZOV se ha instalado correctamente en el directorio '" + kInstallDir +
                                               "'.\r\n\r\nCreando accesos directos...");
  EXPECT_EQ(boxes(), 0) << transcript();
  EXPECT_TRUE(account.Complete());
}

TEST_F(SettingsStage, WindowsSevenKeepsTheSettingsInBothFoldersAndNamesTheUserFolder) {
  start();
  ASSERT_EQ(OsCode, 4);
  machine->writeFile(kDomainUser + "\\desktop.ini", "");
  userFolders(kUser, kDomainUser);
  Form1().Combo1.ListIndex = 0;
  stage();
  for (const std::string& folder : {kUser, kDomainUser}) {
    const std::string settings = folder + "\\Zideruv\\ZOV4\\";
    EXPECT_EQ(fileText(*machine, settings + "Dizin"), kInstallDir + "\r\n") << folder;
    EXPECT_EQ(fileText(*machine, settings + "Version"), "19\r\n");
    EXPECT_EQ(fileText(*machine, settings + "dwKFE"), "15\r\n");
    EXPECT_EQ(fileText(*machine, settings + "Language"), "0\r\n");
    EXPECT_FALSE(machine->exists(settings + "AutoCodec"));
    EXPECT_FALSE(machine->exists(folder + "\\deneme_sil"));
  }
  EXPECT_EQ(fileText(*machine, kInstallDir + "\\UserF.dat"), kUser + "\r\n");
  EXPECT_TRUE(account.Complete());
  // The product's settings stay out of the registry; Windows' own go in.
  EXPECT_FALSE(machine->machine().registry().keyExists(kSettingsKey));
  EXPECT_EQ(text(kUninstall, "DisplayName"), "ZOV Zuzuzu Rudavero 5");
  EXPECT_EQ(text("HKEY_CLASSES_ROOT\\.qev", ""), "ZOV.KineloftProject");
  EXPECT_EQ(boxes(), 0) << transcript();

  // Without a domain profile only the first folder is used; an upgrade reads its Version file.
  fs::remove_all(machine->host(kUser + "\\Zideruv"));
  fs::remove_all(machine->host(kDomainUser));
  DomainUserDir.clear();
  DomainAppDataDir.clear();
  machine->writeFile(kUser + "\\Zideruv\\ZOV4\\Version", "15\r\n");
  stage();
  EXPECT_EQ(fileText(*machine, kUser + "\\Zideruv\\ZOV4\\AutoCodec"), "0\r\n");
  EXPECT_EQ(fileText(*machine, kUser + "\\Zideruv\\ZOV4\\InterfaceStyle"), "1\r\n");
  EXPECT_EQ(fileText(*machine, kUser + "\\Zideruv\\ZOV4\\Version"), "19\r\n");
  EXPECT_FALSE(machine->exists(kDomainUser));
  EXPECT_EQ(boxes(), 0) << transcript();
}

TEST_F(SettingsStage, AVersionFileHoldingTextIsReportedAndTheInstallGoesOn) {
  start();
  userFolders(kUser);
  machine->writeFile(kUser + "\\Zideruv\\ZOV4\\Version", "fifteen\r\n");
  stage("answer OK\n");
  EXPECT_TRUE(saw("?? box \"ZOV Rededi Dirirozo\" [OK, no icon, default OK]\n   Error : 5-13 Type mismatch\n"))
      << transcript();
  EXPECT_EQ(boxes(), 1);
  // The number held (0) counts as an old version.
  EXPECT_EQ(fileText(*machine, kUser + "\\Zideruv\\ZOV4\\InterfaceStyle"), "1\r\n");
  EXPECT_EQ(fileText(*machine, kUser + "\\Zideruv\\ZOV4\\Version"), "19\r\n");
  EXPECT_EQ(Form1().Label8.Caption.get(), "98%");
}

TEST_F(SettingsStage, AFirstFolderThatRefusesWritesIsReportedAndDropped) {
  start([](machine::MachineConfig& c) { c.faults.refuseWrites = {kUser}; });
  userFolders(kUser);
  stage("answer OK\nanswer OK\n");
  EXPECT_TRUE(saw(kFolderMessage + kNoUserFolder)) << transcript();
  EXPECT_EQ(boxes(), 2);
  EXPECT_EQ(UserDir, "");
  EXPECT_EQ(AppDataDir, "");
  EXPECT_EQ(fileText(*machine, kInstallDir + "\\UserF.dat"), "\r\n");
  // The settings are stored nowhere; the rest of the stage still ran.
  EXPECT_FALSE(machine->exists(kUser + "\\Zideruv"));
  EXPECT_FALSE(machine->machine().registry().keyExists(kSettingsKey));
  EXPECT_EQ(text(kUninstall, "DisplayName"), "ZOV Zuzuzu Rudavero 5");
  EXPECT_EQ(Form1().Label8.Caption.get(), "98%");
  EXPECT_FALSE(account.Settings);
  EXPECT_TRUE(account.Registrations && account.OtherFiles);
}

TEST_F(SettingsStage, ADomainFolderThatRefusesWritesIsDroppedWithoutAWord) {
  start([](machine::MachineConfig& c) { c.faults.refuseWrites = {kDomainUser}; });
  machine->writeFile(kDomainUser + "\\desktop.ini", "");
  userFolders(kUser, kDomainUser);
  stage();
  EXPECT_EQ(boxes(), 0) << transcript();
  EXPECT_EQ(DomainAppDataDir, "");
  EXPECT_EQ(fileText(*machine, kUser + "\\Zideruv\\ZOV4\\Version"), "19\r\n");
  EXPECT_TRUE(account.Complete());
}

TEST_F(SettingsStage, APlainFileNamedZideruvCountsAsTheFirstLevel) {
  start();
  machine->writeFile(kUser + "\\Zideruv", "not a folder");
  userFolders(kUser);
  // The settings folder below it cannot be made, and the message names it.
  stage("answer OK\n");
  EXPECT_TRUE(saw(kFolderMessage)) << transcript();
  EXPECT_EQ(boxes(), 1);
  EXPECT_EQ(fileText(*machine, kUser + "\\Zideruv"), "not a folder");
  EXPECT_EQ(UserDir, kUser);  // kept: the folder itself is writable
  EXPECT_EQ(fileText(*machine, kInstallDir + "\\UserF.dat"), kUser + "\r\n");
  // The values had nowhere to go.
  EXPECT_FALSE(account.Settings);
  EXPECT_EQ(Form1().Label11.Caption.get(), "ZOV has not been installed completely into '" + kInstallDir +
                                               "' directory. Some of its settings could not be saved.\r\n\r\n"
                                               "Now creating shortcuts...");
}

// Hidden levels that are there are used as they are: no folder message, and
// the values land in the hidden settings folder, which the value files make
// visible as they are written.
TEST_F(SettingsStage, HiddenSettingsFoldersCountAsThere) {
  start();
  userFolders(kUser);
  std::filesystem::create_directories(machine->host(kUser + "\\Zideruv\\ZOV4"));
  ASSERT_EQ(machine->machine().files().setAttributes(kUser + "\\Zideruv", machine::kAttrHidden), 0u);
  ASSERT_EQ(machine->machine().files().setAttributes(kUser + "\\Zideruv\\ZOV4", machine::kAttrHidden), 0u);
  stage();
  EXPECT_EQ(boxes(), 0) << transcript();
  EXPECT_EQ(fileText(*machine, kUser + "\\Zideruv\\ZOV4\\Version"), "19\r\n");
  std::uint32_t attributes = 0;
  EXPECT_EQ(machine->machine().files().attributes(kUser + "\\Zideruv", attributes), 0u);
  EXPECT_EQ(attributes, machine::kAttrDirectory | machine::kAttrHidden);
}

TEST_F(SettingsStage, UpgradeRulesFollowTheStoredVersion) {
  start([](machine::MachineConfig& c) { c = windowsXp(); });
  struct Case {
    std::optional<std::int32_t> version, autoCodec;
    std::optional<std::int32_t> wantAutoCodec, wantInterfaceStyle;
  };
  const Case cases[] = {
      {std::nullopt, std::nullopt, std::nullopt, std::nullopt},  // first install
      {15, std::nullopt, 0, 1},
      {15, 3, 3, 1},
      {16, std::nullopt, std::nullopt, 1},
      {17, std::nullopt, std::nullopt, std::nullopt},
      {19, std::nullopt, std::nullopt, std::nullopt},
  };
  for (const Case& c : cases) {
    for (const char* name : {"Version", "AutoCodec", "InterfaceStyle"}) removeValue(name);
    if (c.version) setNumber("Version", *c.version);
    if (c.autoCodec) setNumber("AutoCodec", *c.autoCodec);
    stage();
    const std::string label = c.version ? std::to_string(*c.version) : "none";
    EXPECT_EQ(number(kSettingsKey, "AutoCodec"), c.wantAutoCodec) << label;
    EXPECT_EQ(number(kSettingsKey, "InterfaceStyle"), c.wantInterfaceStyle) << label;
    EXPECT_EQ(number(kSettingsKey, "Version"), 19) << label;
  }
  // dwKFE: a stored 0 becomes 15, a stored 7 stays.
  setNumber("dwKFE", 0);
  stage();
  EXPECT_EQ(number(kSettingsKey, "dwKFE"), 15);
  setNumber("dwKFE", 7);
  stage();
  EXPECT_EQ(number(kSettingsKey, "dwKFE"), 7);
  // A Version stored as text reads as absent: a first install, silently.
  removeValue("Version");
  SetRegString(win32::HKEY_LOCAL_MACHINE, "Software\\Zideruv\\ZOV4", "Version", "15", ForceRegistry);
  removeValue("InterfaceStyle");
  stage();
  EXPECT_FALSE(number(kSettingsKey, "InterfaceStyle"));
  EXPECT_EQ(number(kSettingsKey, "Version"), 19);
  // No language chosen: Language is not written.
  removeValue("Language");
  Form1().Combo1.ListIndex.reset(-1);
  stage();
  EXPECT_FALSE(number(kSettingsKey, "Language"));
  EXPECT_EQ(boxes(), 0) << transcript();
}

TEST_F(SettingsStage, AnotherOwnerOfQevIsAskedAbout) {
  start([](machine::MachineConfig& c) { c = windowsXp(); });
  SetRegString(win32::HKEY_CLASSES_ROOT, ".qev", "", "Other.Project", ForceRegistry);
  stage("answer No " + kQuestion + "\n");
  EXPECT_TRUE(saw("?? box \"Rededi Dirirozo\" [Yes/No, question, default Yes]\n   " + kQuestion)) << transcript();
  EXPECT_EQ(text("HKEY_CLASSES_ROOT\\.qev", ""), "Other.Project");
  EXPECT_FALSE(machine->machine().registry().keyExists("HKEY_CLASSES_ROOT\\ZOV.KineloftProject"));
  // The rest of the stage still ran.
  EXPECT_EQ(number(kSettingsKey, "Version"), 19);
  EXPECT_EQ(Form1().Label8.Caption.get(), "98%");
  // What the user declined is not missing.
  EXPECT_TRUE(account.Complete());

  stage("answer Yes " + kQuestion + "\n");
  EXPECT_EQ(text("HKEY_CLASSES_ROOT\\.qev", ""), "ZOV.KineloftProject");
  EXPECT_EQ(text("HKEY_CLASSES_ROOT\\ZOV.KineloftProject", ""), "ZOV Kineloft Project File");
  EXPECT_EQ(text("HKEY_CLASSES_ROOT\\ZOV.KineloftProject\\shell\\open\\command", ""),
            "\"" + kProgram + "\" /kineloft %1");
  EXPECT_EQ(text("HKEY_CLASSES_ROOT\\ZOV.KineloftProject\\DefaultIcon", ""), kProgram + ",0");
  // Now the product owns it: no more question.
  stage();
  EXPECT_EQ(boxes(), 2);
}

// Beside 2,000 other keys of the classes root (a real Windows has thousands):
// another program's class under ".qev" in any letter case is asked about,
// the product's own class or no key at all is not.
TEST_F(SettingsStage, QevInAnyLetterCaseAmongThousandsOfKeysIsLookedUpDirectly) {
  struct Case {
    const char* key;
    const char* owner;  // nullptr: no such key
    bool asked;
  };
  const Case cases[] = {{".QEV", "Other.Class", true},
                        {".Qev", "Other.Class", true},
                        {".qev", "Other.Class", true},
                        {".qEV", "ZOV.KineloftProject", false},
                        {".qev", nullptr, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.key) + " " + (c.owner ? c.owner : "absent"));
    start([](machine::MachineConfig& config) { config = windowsXp(); });
    {  // written into the file at once: saving after each of 2,000 keys would be slow
      std::ofstream reg(machine->folder() / "registry.reg", std::ios::app | std::ios::binary);
      for (int i = 0; i < 2000; ++i) reg << "[HKEY_CLASSES_ROOT\\.ext" << i << "]\r\n\r\n";
    }
    machine->reopen();
    if (c.owner) SetRegString(win32::HKEY_CLASSES_ROOT, c.key, "", c.owner, ForceRegistry);
    ASSERT_GT(machine->machine().registry().subkeyNames("HKEY_CLASSES_ROOT").size(), 2000u);
    stage(c.asked ? "answer No " + kQuestion + "\n" : "");
    EXPECT_EQ(boxes(), c.asked ? 1 : 0) << transcript();
    EXPECT_EQ(text("HKEY_CLASSES_ROOT\\.qev", ""), c.asked ? c.owner : "ZOV.KineloftProject");
    EXPECT_EQ(machine->machine().registry().keyExists("HKEY_CLASSES_ROOT\\ZOV.KineloftProject"), !c.asked);
    if (c.owner) {  // the key keeps its name
      const auto names = machine->machine().registry().subkeyNames("HKEY_CLASSES_ROOT");
      EXPECT_NE(std::find(names.begin(), names.end(), c.key), names.end());
    }
    TearDown();
  }
}

TEST_F(SettingsStage, AQevKeyThatCannotBeReadIsAskedAbout) {
  start([](machine::MachineConfig& c) {
    c = windowsXp();
    c.faults.unreadableKeys = {"HKEY_CLASSES_ROOT\\.qev"};
  });
  SetRegString(win32::HKEY_CLASSES_ROOT, ".qev", "", "Other.Class", ForceRegistry);
  stage("answer No " + kQuestion + "\n");
  EXPECT_EQ(boxes(), 1) << transcript();
  EXPECT_EQ(text("HKEY_CLASSES_ROOT\\.qev", ""), "Other.Class");
}

// A run killed between the ".qev" key and its class leaves a key that names
// no class: no program owns the extension, so it is associated without a
// question and made whole.
TEST_F(SettingsStage, AQevKeyWithoutAClassIsNoOwnerAndIsMadeWhole) {
  for (const bool emptyClass : {false, true}) {
    SCOPED_TRACE(emptyClass ? "an empty class" : "no default value");
    start([](machine::MachineConfig& c) { c = windowsXp(); });
    CreateRegKey(win32::HKEY_CLASSES_ROOT, ".qev", ForceRegistry);
    if (emptyClass) SetRegString(win32::HKEY_CLASSES_ROOT, ".qev", "", "", ForceRegistry);
    stage();
    EXPECT_EQ(boxes(), 0) << transcript();
    EXPECT_EQ(text("HKEY_CLASSES_ROOT\\.qev", ""), "ZOV.KineloftProject");
    EXPECT_EQ(text("HKEY_CLASSES_ROOT\\ZOV.KineloftProject\\DefaultIcon", ""), kProgram + ",0");
    EXPECT_TRUE(account.Complete());
    TearDown();
  }
}

// Every kind of part the stage makes is missing from the account exactly
// when the machine refuses it, without a box the stage did not show before.
TEST_F(SettingsStage, WhatTheMachineRefusesIsMissingFromTheAccountWithoutABox) {
  struct Case {
    const char* name;
    bool xp;
    std::vector<std::string> refusedKeys, refusedFiles;
    bool settings, registrations, otherFiles;
  };
  const std::vector<Case> cases = {
      {"the settings key on XP", true, {"HKEY_LOCAL_MACHINE\\Software\\Zideruv"}, {}, false, true, true},
      {"the uninstall key", false, {kUninstall}, {}, true, false, true},
      {"the .qev key", true, {"HKEY_CLASSES_ROOT\\.qev"}, {}, true, false, true},
      {"the class's icon", false, {"HKEY_CLASSES_ROOT\\ZOV.KineloftProject\\DefaultIcon"}, {}, true, false, true},
      {"one value file", false, {}, {kUser + "\\Zideruv\\ZOV4\\IncCur"}, false, true, true},
      {"UserF.dat", false, {}, {kInstallDir + "\\UserF.dat"}, true, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    start([&](machine::MachineConfig& config) {
      if (c.xp) config = windowsXp();
      config.faults.refuseRegistryWrites = c.refusedKeys;
      config.faults.refuseWrites = c.refusedFiles;
    });
    if (!c.xp) userFolders(kUser);
    // A value file that cannot be written shows its own box, as before.
    const bool valueFileBox = c.name == std::string("one value file");
    stage(valueFileBox ? "answer OK Error in WriteConf\n" : "");
    EXPECT_EQ(boxes(), valueFileBox ? 1 : 0) << transcript();
    EXPECT_EQ(account.Settings, c.settings);
    EXPECT_EQ(account.Registrations, c.registrations);
    EXPECT_EQ(account.OtherFiles, c.otherFiles);
    EXPECT_TRUE(account.ProductFiles && account.Shortcuts);
    EXPECT_EQ(Form1().Label11.Caption.get().rfind("ZOV has not been installed completely into '" + kInstallDir, 0), 0u);
    TearDown();
  }
}

TEST_F(SettingsStage, AChangedAviRegistrationIsRepaired) {
  start();  // the user folders as the start-up found them
  ASSERT_EQ(UserDir, kUser);
  SetRegString(win32::HKEY_CLASSES_ROOT, "AVIFile\\Extensions\\AVI", "", "{DEADBEEF-0000-0000-C000-000000000046}",
               ForceRegistry);
  DeleteRegKey(win32::HKEY_CLASSES_ROOT, "AVIFile\\CLSID", ForceRegistry);
  stage();
  EXPECT_EQ(text("HKEY_CLASSES_ROOT\\AVIFile\\Extensions\\AVI", ""), "{00020000-0000-0000-C000-000000000046}");
  EXPECT_EQ(text("HKEY_CLASSES_ROOT\\AVIFile\\CLSID", ""), "{00022602-0000-0000-C000-000000000046}");
  EXPECT_EQ(boxes(), 0) << transcript();
}

TEST_F(SettingsStage, AWriteProtectedClassesRootIsReportedAndTheInstallGoesOn) {
  start([](machine::MachineConfig& c) { c.faults.refuseRegistryWrites = {"HKEY_CLASSES_ROOT"}; });
  userFolders(kUser);
  // Damaged behind the installer's back: the fault refuses the installer's own writes.
  machine->machine().registry().deleteKey("HKEY_CLASSES_ROOT\\AVIFile\\CLSID");
  const std::string before = machine->machine().registry().toText();
  stage("answer OK\n");
  EXPECT_TRUE(saw("?? box \"ZOV Rededi Dirirozo\" [OK, exclamation, default OK]\n   Couldn't fix AVI registry!\n"))
      << transcript();
  EXPECT_EQ(boxes(), 1);
  EXPECT_FALSE(machine->machine().registry().keyExists("HKEY_CLASSES_ROOT\\.qev"));
  EXPECT_FALSE(account.Registrations);
  EXPECT_TRUE(account.Settings);
  EXPECT_EQ(text(kUninstall, "DisplayName"), "ZOV Zuzuzu Rudavero 5");
  EXPECT_NE(before, machine->machine().registry().toText());
  EXPECT_EQ(fileText(*machine, kUser + "\\Zideruv\\ZOV4\\Version"), "19\r\n");
  EXPECT_EQ(Form1().Label8.Caption.get(), "98%");
  EXPECT_FALSE(machine->exists(runtime::Trim(TempDir) + "\\ZOVTMP"));
}

TEST_F(SettingsStage, ARegistryThatCannotBeSavedStaysWhole) {
  start([](machine::MachineConfig& c) { c = windowsXp(); });
  const fs::path file = machine->folder() / "registry.reg";
  std::ifstream in(file, std::ios::binary);
  const std::string before((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  // The host disk is full from here on: no registry change can be saved.
  std::ifstream iniIn(machine->folder() / "machine.ini");
  std::string ini((std::istreambuf_iterator<char>(iniIn)), std::istreambuf_iterator<char>());
  ini.replace(ini.find("HostFreeBytes="), 14, "HostFreeBytes=0");
  std::ofstream(machine->folder() / "machine.ini", std::ios::trunc) << ini;
  machine->reopen();
  stage();
  std::ifstream after(file, std::ios::binary);
  EXPECT_EQ(std::string((std::istreambuf_iterator<char>(after)), std::istreambuf_iterator<char>()), before);
  EXPECT_EQ(Form1().Label8.Caption.get(), "98%");
  machine->reopen();  // the file still loads (the machine.ini is read again, still full)
  EXPECT_TRUE(machine->machine().registry().keyExists("HKEY_CLASSES_ROOT\\AVIFile\\CLSID"));
}

}  // namespace
}  // namespace zov::test
