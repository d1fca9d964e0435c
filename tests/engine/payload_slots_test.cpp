// The slot table: what goes where, and with which texts.
#include <gtest/gtest.h>

#include <set>

#include "engine/payload_slots.h"
#include "services/shared_state.h"
#include "tests/localisation/translation_rows.h"

namespace zov {
namespace {

class PayloadSlotTable : public ::testing::Test {
 protected:
  PayloadSlotTable() { ProgramName = "Zuzuzu Rudavero 5"; }
  ~PayloadSlotTable() override { ProgramName.clear(); }
  const PayloadSlot& slot(int k) const { return slots[k - 1]; }
  std::array<PayloadSlot, kSlotCount> slots = PayloadSlots();
};

bool endsWith(const std::string& s, const std::string& end) {
  return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

TEST_F(PayloadSlotTable, NamesAndFolders) {
  EXPECT_EQ(slot(1).CompressedName, "MCD28m.wa_");
  EXPECT_EQ(slot(49).CompressedName, "Zuzuzu Rudavero 5.exe.ma_");
  EXPECT_EQ(slot(49).TargetName, "Zuzuzu Rudavero 5.exe.manifest");
  EXPECT_EQ(slot(4).CompressedName, "");
  EXPECT_EQ(slot(4).Length, 0);
  EXPECT_EQ(slot(30).Folder, SlotFolder::Projects);
  std::set<std::string> targets;
  int libraries = 0;
  for (const PayloadSlot& s : slots) {
    if (s.Number == 4) continue;
    EXPECT_TRUE(targets.insert(s.TargetName).second) << s.TargetName;
    EXPECT_GT(s.Length, 0) << "slot " << s.Number;
    const bool library = endsWith(s.TargetName, ".dll");
    libraries += library;
    if (s.Number != 30) {
      EXPECT_EQ(s.Folder, library ? SlotFolder::System : SlotFolder::Install) << s.TargetName;
    }
  }
  EXPECT_EQ(libraries, 7);
}

TEST_F(PayloadSlotTable, TheMainProgramIsNamedAfterProgramNameAndEndsTheInstallationOnFailure) {
  ProgramName = " Other Name  ";
  const auto renamed = PayloadSlots();
  EXPECT_EQ(renamed[2].CompressedName, "Other Name.ex_");
  EXPECT_EQ(renamed[2].TargetName, "Other Name.exe");
  EXPECT_EQ(renamed[2].OnFailure, SlotFailureRule::DeleteTempFilesAndEnd);
  EXPECT_EQ(renamed[2].ExtractFailureText, "");
  EXPECT_EQ(renamed[2].ExpandFailureText, "");
  for (const PayloadSlot& s : slots) {
    if (s.Number != 3) {
      EXPECT_EQ(s.OnFailure, SlotFailureRule::ReportAndGoOn);
    }
  }
}

TEST_F(PayloadSlotTable, FailureTextsNameTheFileAndHaveTranslationRows) {
  EXPECT_EQ(slot(1).ExtractFailureText, "File 'MCD28m.wav' could not be extracted!");
  EXPECT_EQ(slot(18).ExpandFailureText, "File 'Graphics.zov' could not be expanded!");
  EXPECT_EQ(slot(31).ExtractFailureText, "ZOV uninstall file could not be extracted!");
  EXPECT_EQ(slot(16).ExpandFailureText, "ZOV 'Uninstall' file could not be expanded!");
  EXPECT_EQ(slot(17).ExtractFailureText, "ZOV help file could not be extracted!");
  EXPECT_EQ(slot(32).ExpandFailureText, "vcredist_x86.exe file could not be expanded!");
  for (const PayloadSlot& s : slots) EXPECT_EQ(s.TranslateExtractFailureTitle, s.Number != 5) << "slot " << s.Number;
  ExpectHasTranslationRow("Rededi Dirirozo");
  for (const PayloadSlot& s : slots) {
    // The translation table carries no rows for MCU116m.wav, zovlback.dll
    // and zoveffs.dll: their boxes stay English.
    if (s.ExtractFailureText.empty() || s.Number == 37 || s.Number == 56 || s.Number == 57) continue;
    ExpectHasTranslationRow(s.ExtractFailureText);
    ExpectHasTranslationRow(s.ExpandFailureText);
  }
}

}  // namespace
}  // namespace zov
