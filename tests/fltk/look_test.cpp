// The FLTK backend's parts that need no display: texts, colours, font sizes
// and the rows of the folder list.
#include <FL/Fl.H>
#include <gtest/gtest.h>

#include "platform/ui/control.h"
#include "platform/ui/fltk/folder_tree.h"
#include "platform/ui/fltk/look.h"

namespace zov::ui::fltk {
namespace {

TEST(FltkLook, LineBreaksOfTheModelBecomeFltksAndBack) {
  EXPECT_EQ(screenText("a\r\nb\rc\nd"), "a\nb\nc\nd");
  EXPECT_EQ(screenText("x\r\n\r\ny"), "x\n\ny");
  EXPECT_EQ(modelText("a\nb\n"), "a\r\nb\r\n");
  EXPECT_EQ(modelText(screenText("one\r\ntwo")), "one\r\ntwo");
}

TEST(FltkLook, ModelColoursAreSystemColoursOrBlueGreenRed) {
  EXPECT_EQ(screenColor(0x000000FF), fl_rgb_color(255, 0, 0));
  EXPECT_EQ(screenColor(0x0000C000), fl_rgb_color(0, 192, 0));
  EXPECT_EQ(screenColor(0x00FF0000), fl_rgb_color(0, 0, 255));
  EXPECT_EQ(screenColor(kColorButtonFace), fl_rgb_color(212, 208, 200));
  EXPECT_EQ(screenColor(kColorDarkShadow), fl_rgb_color(64, 64, 64));
  EXPECT_EQ(screenColor(kColorWindow), fl_rgb_color(255, 255, 255));
  EXPECT_EQ(screenColor(0x800000FF), screenColor(kColorWindowText));  // no such system colour: text colour
}

TEST(FltkLook, FontSizesArePointsAtNinetySixDotsAnInch) {
  EXPECT_EQ(pixelSize(Font{}), 13);
  EXPECT_EQ(pixelSize(smallFont()), 11);
  EXPECT_NE(face(Font{"MS Sans Serif", 8.25f, true}), face(smallFont()));
}

TEST(FltkFolderTree, APathOpensEveryFolderFromItsRootAndListsWhatIsBelow) {
  const auto rows = folderRows("C:\\Program Files\\Zideruv", {"A", "B"});
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows[0].text, "c:\\");
  EXPECT_EQ(rows[0].path, "C:\\");
  EXPECT_EQ(rows[1].text, "Program Files");
  EXPECT_EQ(rows[1].path, "C:\\Program Files");
  EXPECT_EQ(rows[2].path, "C:\\Program Files\\Zideruv");
  EXPECT_TRUE(rows[2].open);
  EXPECT_EQ(rows[2].depth, 2);
  EXPECT_EQ(rows[3].path, "C:\\Program Files\\Zideruv\\A");
  EXPECT_FALSE(rows[3].open);
  EXPECT_EQ(rows[4].depth, 3);
  EXPECT_EQ(currentFolderRow(rows), 2);
}

TEST(FltkFolderTree, TheRootAloneHasItsFoldersOneStepIn) {
  const auto rows = folderRows("D:\\", {"Data"});
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].text, "d:\\");
  EXPECT_EQ(rows[1].path, "D:\\Data");
  EXPECT_EQ(rows[1].depth, 1);
  EXPECT_EQ(currentFolderRow(rows), 0);
  EXPECT_TRUE(folderRows("", {}).empty());
  EXPECT_EQ(currentFolderRow({}), -1);
}

}  // namespace
}  // namespace zov::ui::fltk
