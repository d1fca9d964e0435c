// DeleteFileWarn: the file goes when it can, and a file in use stays with a
// box only when the caller asks for one.
#include <gtest/gtest.h>

#include "platform/machine/windows_errors.h"
#include "localisation/fill_translations.h"
#include "localisation/translation_state.h"
#include "tests/support/test_machine.h"
#include "wizard/form1.h"
#include "wizard/wizard_windows.h"

namespace zov::test {
namespace {

const std::string kPackage = "C:\\Program Files\\ZOV Zuzuzu Rudavero 5\\vcredist_x86.exe";

class DeleteFileWarnTest : public ::testing::Test {
 protected:
  explicit DeleteFileWarnTest(const std::function<void(machine::MachineConfig&)>& edit = {}) : m(edit) {
    RegisterWizardWindows();
  }
  bool del(const std::string& path, bool warn) { return Form1().DeleteFileWarn(path, warn); }
  bool boxShown() const { return m.transcript().find("?? box") != std::string::npos; }
  TestMachine m;
};

TEST_F(DeleteFileWarnTest, APresentFileIsDeletedAndAnAbsentOneCountsAsDeleted) {
  m.writeFile(kPackage, "MZ");
  EXPECT_TRUE(del("  " + kPackage + " ", true));
  EXPECT_FALSE(m.exists(kPackage));
  EXPECT_TRUE(del(kPackage, true));
  EXPECT_TRUE(del("C:\\No Such Folder\\x.exe", true));
  EXPECT_FALSE(boxShown());
}

TEST_F(DeleteFileWarnTest, FoldersHiddenAndSystemFilesCountAsAbsentAndStay) {
  m.writeFile("C:\\Data\\hidden.exe", "x");
  m.writeFile("C:\\Data\\system.exe", "x");
  ASSERT_EQ(m.machine().files().setAttributes("C:\\Data\\hidden.exe", machine::kAttrHidden), 0u);
  ASSERT_EQ(m.machine().files().setAttributes("C:\\Data\\system.exe", machine::kAttrSystem), 0u);
  for (const char* p : {"C:\\Data", "C:\\Data\\hidden.exe", "C:\\Data\\system.exe"}) {
    EXPECT_TRUE(del(p, true)) << p;
    EXPECT_TRUE(m.exists(p)) << p;
  }
  EXPECT_FALSE(boxShown());
}

class InUseTest : public DeleteFileWarnTest {
 protected:
  InUseTest()
      : DeleteFileWarnTest([](machine::MachineConfig& c) { c.addProgram({"vcredist_x86.exe", 0, true, true, true}); }) {
    m.writeFile(kPackage, "MZ");
    std::uint32_t error = 0;
    m.machine().startProgram(kPackage, 1, error);
  }
};

TEST_F(InUseTest, AFileInUseStaysSilentlyUnlessAWarningIsAskedFor) {
  EXPECT_FALSE(del(kPackage, false));
  EXPECT_FALSE(boxShown());
  EXPECT_TRUE(m.exists(kPackage));

  m.script("answer OK\n");
  EXPECT_FALSE(del(" " + kPackage, true));
  EXPECT_NE(m.transcript().find("?? box \"Rededi Dirirozo\" [OK, exclamation, default OK, system modal]\n   File '" +
                                kPackage +
                                "' could not be deleted! It can be in use!\\nLater you may delete this file manually, "
                                "installation of Rededi Dirirozo is now continuing...\n"),
            std::string::npos)
      << m.transcript();
  EXPECT_TRUE(m.exists(kPackage));
}

TEST_F(InUseTest, TheWarningIsTranslatedPieceByPieceAroundThePath) {
  LanguageIndex = 2;
  FillTranslations();
  TranslationCache.fill({});
  m.script("answer OK\n");
  EXPECT_FALSE(del(kPackage, true));
  LanguageIndex = 0;
  SourceTexts.clear();
  TranslatedTexts.clear();
  TranslationCache.fill({});
  const std::string t = m.transcript();
  EXPECT_EQ(t.find("could not be deleted! It can be in use!"), std::string::npos) << t;
  EXPECT_NE(t.find(kPackage), std::string::npos) << t;
}

}  // namespace
}  // namespace zov::test
