// The AVIFile check and repair on the machine's registry, and the two small
// file routines of the user-folder write test.
#include "engine/avi_registry.h"
#include "platform/runtime/files.h"
#include "services/registry.h"
#include "tests/engine/settings_stage_fixture.h"

namespace zov::test {
namespace {

const std::string kAvi = "HKEY_CLASSES_ROOT\\AVIFile\\Extensions\\AVI";

machine::RegistryValue raw(std::uint32_t type, const std::string& bytes) {
  return {type, std::vector<std::uint8_t>(bytes.begin(), bytes.end())};
}

TEST_F(SettingsStage, TheCheckComparesTrimmedTextExactly) {
  start();
  EXPECT_TRUE(CheckAviRegistry());  // the machine's own values, each with its NUL
  auto& reg = machine->machine().registry();
  const std::string id = "{00020000-0000-0000-C000-000000000046}";
  const std::pair<machine::RegistryValue, bool> cases[] = {
      {raw(machine::kRegSz, id), true},
      {raw(machine::kRegSz, "  " + id + " "), true},
      {raw(machine::kRegSz, id + std::string(1, '\0') + "tail"), true},
      {raw(machine::kRegSz, "\t" + id), false},
      {raw(machine::kRegSz, "{00020000-0000-0000-c000-000000000046}"), false},
      {raw(machine::kRegSz, "00020000-0000-0000-C000-000000000046"), false},
      {raw(machine::kRegExpandSz, id), false},
  };
  for (const auto& [value, matches] : cases) {
    reg.setValue(kAvi, "", value);
    EXPECT_EQ(CheckAviRegistry(), matches) << std::string(value.data.begin(), value.data.end());
  }
  reg.deleteKey(kAvi);
  const std::string before = reg.toText();
  EXPECT_FALSE(CheckAviRegistry());
  EXPECT_EQ(reg.toText(), before);  // the check only reads
  // On Vista and 7 too it reads the registry, never the settings files.
  userFolders("C:\\Users\\user\\AppData\\Local");
  machine->writeFile("C:\\Users\\user\\AppData\\Local\\Zideruv\\ZOV4\\x", "");
  EXPECT_FALSE(CheckAviRegistry());
  EXPECT_EQ(boxes(), 0);
}

TEST_F(SettingsStage, TheRepairWritesAllTenAndLeavesTheRestOfEachKey) {
  start();
  auto& reg = machine->machine().registry();
  reg.setValue(kAvi, "Extra", raw(machine::kRegSz, "kept"));
  reg.createKey(kAvi + "\\Sub");
  reg.setValue(kAvi, "", raw(machine::kRegSz, "wrong"));
  EXPECT_TRUE(FixAviRegistry());
  EXPECT_TRUE(CheckAviRegistry());
  for (const AviRegistration& row : AviRegistryTable) {
    // 38 bytes, no terminating NUL.
    EXPECT_EQ(*reg.value(std::string("HKEY_CLASSES_ROOT\\") + row.key, ""), raw(machine::kRegSz, row.classId)) << row.key;
  }
  EXPECT_EQ(*reg.value(kAvi, "Extra"), raw(machine::kRegSz, "kept"));
  EXPECT_TRUE(reg.keyExists(kAvi + "\\Sub"));

  // The whole tree missing: created again.
  reg.deleteKey(kAvi + "\\Sub");
  for (const AviRegistration& row : AviRegistryTable) reg.deleteKey(std::string("HKEY_CLASSES_ROOT\\") + row.key);
  for (const char* parent : {"Compressors", "Extensions", "RIFFHandlers", ""}) {
    reg.deleteKey(std::string("HKEY_CLASSES_ROOT\\AVIFile") + (*parent ? "\\" : "") + parent);
  }
  ASSERT_FALSE(reg.keyExists("HKEY_CLASSES_ROOT\\AVIFile"));
  EXPECT_TRUE(FixAviRegistry());
  EXPECT_TRUE(CheckAviRegistry());
}

// Each row refused in turn, all ten holding a wrong value before: the
// repair still writes the nine others and says that it failed.
TEST_F(SettingsStage, ARefusedRowLeavesNoOtherUnrepairedAndIsSaid) {
  for (const AviRegistration& refused : AviRegistryTable) {
    SCOPED_TRACE(refused.key);
    const std::string refusedKey = std::string("HKEY_CLASSES_ROOT\\") + refused.key;
    start([&](machine::MachineConfig& c) { c.faults.refuseRegistryWrites = {refusedKey}; });
    auto& reg = machine->machine().registry();
    for (const AviRegistration& row : AviRegistryTable) {
      reg.setValue(std::string("HKEY_CLASSES_ROOT\\") + row.key, "", raw(machine::kRegSz, "old"));
    }
    EXPECT_FALSE(FixAviRegistry());
    for (const AviRegistration& row : AviRegistryTable) {
      EXPECT_EQ(*reg.value(std::string("HKEY_CLASSES_ROOT\\") + row.key, ""),
                raw(machine::kRegSz, &row == &refused ? "old" : row.classId))
          << row.key;
    }
    EXPECT_EQ(boxes(), 0);
    TearDown();
  }
}

TEST_F(SettingsStage, TheWriteTestFileIsTwelveBytesAndGoesAgain) {
  start();
  const std::string folder = "C:\\Data";
  runtime::MkDir(folder);
  EXPECT_TRUE(Form1().WriteTextFile(" C:\\Data ", " deneme_sil ", "deneme_sil"));
  EXPECT_EQ(machine->readFile(folder + "\\deneme_sil"), "deneme_sil\r\n");
  EXPECT_TRUE(Form1().WriteTextFile(folder, "deneme_sil", ""));  // an existing file is emptied
  EXPECT_EQ(machine->readFile(folder + "\\deneme_sil"), "\r\n");
  EXPECT_TRUE(Form1().DeleteFileIn(" C:\\Data ", " deneme_sil "));
  EXPECT_FALSE(machine->exists(folder + "\\deneme_sil"));
  // Nothing there, a blank argument: True, nothing done.
  EXPECT_TRUE(Form1().DeleteFileIn(folder, "deneme_sil"));
  EXPECT_TRUE(Form1().DeleteFileIn("  ", "deneme_sil"));
  EXPECT_FALSE(Form1().WriteTextFile(folder, "   ", "x"));
  EXPECT_FALSE(Form1().WriteTextFile("", "x", "x"));
  EXPECT_FALSE(Form1().WriteTextFile("C:\\Missing", "x", "x"));
  EXPECT_FALSE(machine->exists("C:\\Missing"));
  EXPECT_EQ(boxes(), 0);
  EXPECT_EQ(runtime::FreeFile(), 1);  // no file number left open
}

TEST_F(SettingsStage, ReadOnlyHiddenAndFolderEntriesAreLeftAlone) {
  start();
  const std::string folder = "C:\\Data";
  machine->writeFile(folder + "\\deneme_sil", "old");
  runtime::SetAttr(folder + "\\deneme_sil", runtime::vbReadOnly);
  EXPECT_FALSE(Form1().WriteTextFile(folder, "deneme_sil", "deneme_sil"));
  EXPECT_FALSE(Form1().DeleteFileIn(folder, "deneme_sil"));
  EXPECT_EQ(machine->readFile(folder + "\\deneme_sil"), "old");
  runtime::SetAttr(folder + "\\deneme_sil", runtime::vbHidden);
  EXPECT_TRUE(Form1().DeleteFileIn(folder, "deneme_sil"));
  EXPECT_TRUE(machine->exists(folder + "\\deneme_sil"));
  runtime::MkDir(folder + "\\Sub");
  EXPECT_TRUE(Form1().DeleteFileIn(folder, "Sub"));
  EXPECT_TRUE(machine->exists(folder + "\\Sub"));
  EXPECT_EQ(boxes(), 0);
  EXPECT_EQ(runtime::FreeFile(), 1);
}

}  // namespace
}  // namespace zov::test
