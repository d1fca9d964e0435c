// FitPathToLabel with the script backend's fixed measure: 7 units a
// character in the wizard's font when the form's scale is pixels, and whole
// pixels on both sides when it is twips (15 twips a pixel).
#include <gtest/gtest.h>

#include "engine/fit_path_to_label.h"
#include "tests/support/test_machine.h"
#include "wizard/form1.h"
#include "wizard/wizard_windows.h"

namespace zov::test {
namespace {

constexpr int kScalePixels = 3;
const std::string kPath = "D:\\My Files\\Sample Suite\\beep.wav";

class FitPathToLabelTest : public ::testing::Test {
 protected:
  FitPathToLabelTest() { RegisterWizardWindows(); }
  std::string fit(const std::string& path, float room, int scaleMode = kScalePixels) {
    Form1().ScaleMode = scaleMode;
    Form1().Label12.Width = room;
    return FitPathToLabel(path, Form1(), Form1().Label12);
  }
  TestMachine m;
};

TEST_F(FitPathToLabelTest, CutsTheFolderFromItsEndUntilThePathIsNarrowerThanTheLabel) {
  const std::pair<float, std::string> table[] = {
      {231, kPath},                                  // exactly as wide as the room fits
      {230, "D:\\My Files\\Sample S...\\beep.wav"},  // the first candidate is as long as the path
      {134, "D:\\My F...\\beep.wav"},
      {133, "D:\\My...\\beep.wav"},  // the blank left at the folder's end is dropped
      {57, "D...\\beep.wav"},        // one character of folder stays, too wide or not
      {56, "beep.wav"},              // the name alone is as wide as the room
  };
  for (const auto& [room, result] : table) EXPECT_EQ(fit(kPath, room), result) << room;
  EXPECT_EQ(fit("ABC\\beep.wav", 80), "...\\beep.wav");
  EXPECT_EQ(fit("D:\\My Files\\Sample Suite\\", 126), "D:\\My Files\\S...\\");
  const std::string noFolder(30, 'n');
  EXPECT_EQ(fit(noFolder, 100), noFolder);
  // Only the last backslash splits; a slash is an ordinary character.
  EXPECT_EQ(fit("D:\\aaaa/bbbb\\c.txt", 90), "D:\\...\\c.txt");
}

TEST_F(FitPathToLabelTest, BlanksCountOnlyWhereThePathIsGivenWhole) {
  EXPECT_EQ(fit("", 100), "");
  EXPECT_EQ(fit("    ", 1), "");
  EXPECT_EQ(fit("  C:\\a.wav", 100), "  C:\\a.wav");
  EXPECT_EQ(fit("  " + kPath, 134), "D:\\My F...\\beep.wav");
  // Names with letters of more than one byte are cut by characters.
  EXPECT_EQ(fit("C:\\Büro Ünterlagen\\ç.wav", 105), "C:\\Bü...\\ç.wav");
}

TEST_F(FitPathToLabelTest, InTwipsBothSidesAreWholePixels) {
  // 49 characters: 5145 twips, 343 pixels.
  const std::string path = "C:\\Program Files\\ZOV Zuzuzu Rudavero 5\\Qmark1.jpg";
  ASSERT_EQ(path.size(), 49u);
  EXPECT_EQ(fit(path, 5145, 1), path);
  EXPECT_EQ(fit(path, 5138, 1), path);  // 342.53 pixels round to 343
  EXPECT_EQ(fit(path, 5137, 1), "C:\\Program Files\\ZOV Zuzuzu Rudave...\\Qmark1.jpg");  // 342.47 round to 342
}

}  // namespace
}  // namespace zov::test
