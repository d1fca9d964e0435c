// Input that arrives while the destination checks create the destination's
// levels, one yield after each: a confirmed cancel ends the program there,
// and the page-flow clicks neither start a second check nor change the
// destination. On Windows XP and 7.
#include "localisation/translation_state.h"
#include "platform/runtime/strings.h"
#include "services/shared_state.h"
#include "tests/wizard/wizard_fixture.h"

namespace zov::test {
namespace {

const char* kToPage4 = "click Command2\nclick Option1\nclick Command2\n";
const char* kNoInstallerFile = "answer OK Installation file is not complete.\n";

// C:\L1\L2...: `n` levels below the drive's root, none of them there on a fresh machine.
std::string level(int n) {
  std::string path = "C:";
  for (int i = 1; i <= n; ++i) path += "\\L" + std::to_string(i);
  return path;
}

// Install with the destination typed, then `passed` yields go by before the busy input that follows.
std::string installThenAtYield(const std::string& destination, int passed) {
  std::string script = std::string(kToPage4) + "type Text2 " + destination + "\nclick Command2\n";
  for (int i = 0; i < passed; ++i) script += "busy pass\n";
  return script;
}

class InputDuringChecksTest : public WizardTest, public ::testing::WithParamInterface<bool> {
 protected:
  void start(const std::string& script) {
    run(script, [](machine::MachineConfig& c) {
      if (GetParam()) c = windowsXp();
    });
  }
};

TEST_P(InputDuringChecksTest, ACancelConfirmedAtAnyYieldEndsTheProgramThere) {
  for (int levels = 1; levels <= 5; ++levels) {
    for (int at = 1; at <= levels; ++at) {
      // The Cancel button and the close box take turns.
      const char* cancel = (levels + at) % 2 ? "busy click Command3\n" : "busy close Form1\n";
      start(installThenAtYield(level(levels), at - 1) + cancel + "answer Yes Do you want to cancel the installation?\n");
      const std::string where = level(levels) + " cancelled at yield " + std::to_string(at);
      EXPECT_TRUE(ended) << where;
      EXPECT_FALSE(Form1().loaded()) << where;
      EXPECT_TRUE(machine->exists(level(at))) << where;
      EXPECT_FALSE(machine->exists(level(at + 1))) << where;
      // The check went no further: the install routine never began.
      EXPECT_EQ(count("?? box"), 1u) << where << transcript();
      EXPECT_EQ(transcript().substr(transcript().rfind("\n", transcript().size() - 2) + 1), "== Form1 closed\n")
          << where;
      TearDown();
    }
  }
}

TEST_P(InputDuringChecksTest, PageClicksAtEveryYieldNeitherCheckAgainNorChangeTheDestination) {
  const std::string destination = level(3);
  for (int at = 1; at <= 3; ++at) {
    // Back three times would reach the language list; the agreement and the
    // language follow, then Install, Change Dir, a typed destination and a
    // Cancel answered No, which takes the focus from the destination box.
    start(installThenAtYield(destination, at - 1) +
          "busy click Command1\nbusy click Command1\nbusy click Command1\nbusy click Option2\n"
          "busy choose Combo1 Deutsch\nbusy click Command2\nbusy click Command4\nbusy type Text2 C:\\Other\n"
          "busy click Command3\nanswer No\n" +
          kNoInstallerFile);
    const std::string where = "at yield " + std::to_string(at);
    EXPECT_FALSE(ended) << where;
    // One check, which passed; the routine then found no installer file.
    EXPECT_EQ(count("?? box"), 2u) << where << transcript();
    EXPECT_EQ(count("Installation file is not complete."), 1u) << where;
    EXPECT_TRUE(machine->exists(destination)) << where;
    EXPECT_FALSE(machine->exists("C:\\Other")) << where;
    // The refusal brought the destination page back, with the product folder appended.
    EXPECT_EQ(runtime::Trim(InstallDir), destination + "\\ZOV Zuzuzu Rudavero 5") << where;
    EXPECT_FALSE(ui::DefaultInstanceExists("Form3") && ui::DefaultInstance("Form3").loaded()) << where;
    EXPECT_EQ(LanguageIndex, 0) << where;
    EXPECT_EQ(WizardPage, 4) << where;
    EXPECT_TRUE(Form1().Visible.get()) << where;
    // The destination box takes typing again once the check is over.
    more("type Text2 C:\\Other\nclick Command2\n" + std::string(kNoInstallerFile));
    EXPECT_TRUE(machine->exists("C:\\Other")) << where;
    TearDown();
  }
}

INSTANTIATE_TEST_SUITE_P(Windows, InputDuringChecksTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& p) { return p.param ? "Xp" : "Seven"; });

}  // namespace
}  // namespace zov::test
