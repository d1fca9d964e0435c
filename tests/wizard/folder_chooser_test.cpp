// The folder chooser, opened by Change Dir on the destination page.
#include "services/shared_state.h"
#include "tests/wizard/wizard_fixture.h"
#include "wizard/form3.h"

namespace zov::test {
namespace {

using runtime::Trim;

const char* kOpenChooser = "click Command2\nclick Option1\nclick Command2\nclick Command4\n";

machine::DriveConfig drive(char letter, int type, bool medium = true) {
  machine::DriveConfig d;
  d.letter = letter, d.type = type, d.medium = medium;
  return d;
}

TEST_F(WizardTest, TheChooserOpensAtTheNearestPresentFolderAndOkGivesTheProductFolder) {
  run(kOpenChooser);
  Form1Window& f1 = Form1();
  Form3Window& f3 = Form3();
  EXPECT_FALSE(f1.Visible.get());
  EXPECT_TRUE(f3.Visible.get());
  EXPECT_EQ(f3.Dir1.Path.get(), "C:\\Program Files");
  EXPECT_EQ(f3.Drive1.Drive.get(), "c: [System]");
  EXPECT_EQ(f3.Label1.Caption.get(), "Select a destination for Rededi Dirirozo");
  EXPECT_NE(f3.Label3.Caption.get().find(" MB"), std::string::npos);
  more("click Command2\n");
  EXPECT_FALSE(f3.loaded());
  EXPECT_TRUE(f1.Visible.get());
  EXPECT_EQ(Trim(InstallDir), "C:\\Program Files\\ZOV Zuzuzu Rudavero 5");
  EXPECT_EQ(f1.Text2.Text.get(), "C:\\Program Files\\ZOV Zuzuzu Rudavero 5");
}

TEST_F(WizardTest, AnEmptyDestinationOpensAtTheSystemDrive) {
  run("click Command2\nclick Option1\nclick Command2\ntype Text2 \"\"\nclick Command4\n");
  EXPECT_EQ(Form3().Dir1.Path.get(), "C:\\");
  EXPECT_EQ(Form1().Text2.Text.get(), "C:\\");
  more("click Command2\n");  // the root: C:\ZOV Zuzuzu Rudavero 5
  EXPECT_EQ(Trim(InstallDir), "C:\\ZOV Zuzuzu Rudavero 5");
}

TEST_F(WizardTest, CancelKeepsTheTypedTextAndTheWalkEndsAtABareDrive) {
  run("click Command2\nclick Option1\nclick Command2\ntype Text2 E:\\A\\B\\C\nclick Command4\n",
      [](machine::MachineConfig& c) { c.drives['E'] = drive('E', 3); });
  EXPECT_EQ(Trim(InstallDir), "C:\\");  // E:'s current folder shows nothing: the system drive's root
  more("click Form3.Command3\n");
  EXPECT_TRUE(Form1().Visible.get());
  EXPECT_EQ(Form1().Text2.Text.get(), "E:\\A\\B\\C");
  EXPECT_EQ(Trim(InstallDir), "C:\\ZOV Zuzuzu Rudavero 5");
}

TEST_F(WizardTest, ACdDriveIsRefusedAndTheListsReturn) {
  run(std::string(kOpenChooser) + "choose Drive1 e:\nanswer OK Rededi Dirirozo can not be installed into a CD driver.\n",
      [](machine::MachineConfig& c) { c.drives['E'] = drive('E', 5); });
  EXPECT_EQ(Form3().Drive1.Drive.get(), "c: [System]");
  EXPECT_EQ(Form3().Dir1.Path.get(), "C:\\Program Files");
  EXPECT_NE(transcript().find("?? box \"Driver\""), std::string::npos);
}

TEST_F(WizardTest, ADriveWithoutARootSnapsBackSilentlyAndTheProgramGoesOn) {
  run(std::string(kOpenChooser) + "choose Drive1 h:\n", [](machine::MachineConfig& c) { c.drives['H'] = drive('H', 1); });
  EXPECT_FALSE(ended);
  EXPECT_EQ(Form3().Drive1.Drive.get(), "c: [System]");
  EXPECT_EQ(Form3().Dir1.Path.get(), "C:\\Program Files");
  EXPECT_EQ(transcript().find("?? box"), std::string::npos);
  more("click Command2\n");
  EXPECT_EQ(Trim(InstallDir), "C:\\Program Files\\ZOV Zuzuzu Rudavero 5");
}

TEST_F(WizardTest, NewFolderWithTheNameOfAFileSaysSo) {
  run(kOpenChooser);
  machine->writeFile("C:\\Program Files\\Games", "x");
  more("click Command1\ninput Games\nanswer OK \"A file named 'Games' is in C:\\Program Files already.\"\n");
  EXPECT_TRUE(Form3().loaded());
  EXPECT_EQ(Form3().Dir1.Path.get(), "C:\\Program Files");
  EXPECT_EQ(transcript().find("Could not create directory"), std::string::npos);
}

TEST_F(WizardTest, AnotherFixedDriveShowsItsCurrentFolder) {
  run(std::string(kOpenChooser) + "choose Drive1 f:\n", [](machine::MachineConfig& c) { c.drives['F'] = drive('F', 3); });
  EXPECT_EQ(Form3().Dir1.Path.get(), "F:\\");
  more("choose Drive1 c:\n");
  EXPECT_EQ(Form3().Dir1.Path.get(), "C:\\Program Files");
}

TEST_F(WizardTest, TooLittleFreeSpaceRefusesOk) {
  run(kOpenChooser, [](machine::MachineConfig& c) { c.drives['C'].freeBytes = 4880ull * 1024; });
  EXPECT_EQ(Form3().GetFreeSpaceKB(), 4880);
  more("click Command2\nanswer OK Space in drive is less than 5.000.000 bytes.\n");
  EXPECT_TRUE(Form3().loaded());
  EXPECT_FALSE(Form1().Visible.get());
}

TEST_F(WizardTest, EnoughFreeSpaceAcceptsOk) {
  run(std::string(kOpenChooser) + "click Command2\n", [](machine::MachineConfig& c) { c.drives['C'].freeBytes = 4884ull * 1024; });
  EXPECT_FALSE(Form3().loaded());
}

TEST_F(WizardTest, NewFolderMakesTheTrimmedNameAndMovesIntoIt) {
  run(std::string(kOpenChooser) + "click Command1\ninput \"  Games  \"\n");
  EXPECT_TRUE(machine->exists("C:\\Program Files\\Games"));
  EXPECT_EQ(Form3().Dir1.Path.get(), "C:\\Program Files\\Games");
  more("click Command1\ninput-cancel\nclick Command1\ninput a*b\nanswer OK\n");
  EXPECT_EQ(Form3().Dir1.Path.get(), "C:\\Program Files\\Games");
  EXPECT_NE(transcript().find("?? box \"Invalid Characters\""), std::string::npos);
  // A name the file system refuses for another reason does not end the program.
  more("click Command1\ninput a|b\nanswer OK\n");
  EXPECT_TRUE(Form3().loaded());
}

TEST_F(WizardTest, TheCloseBoxShowsTheWizardAgainAndKeepsItsText) {
  run(std::string(kOpenChooser) + "close Form3\n");
  EXPECT_FALSE(Form3().loaded());
  EXPECT_TRUE(Form1().Visible.get());
  EXPECT_EQ(Form1().Text2.Text.get(), "C:\\Program Files\\ZOV Zuzuzu Rudavero 5");
}

TEST_F(WizardTest, ADriveWithoutAMediumStillOpensTheChooser) {
  run("click Command2\nclick Option1\nclick Command2\ntype Text2 A:\\Setup\nclick Command4\n");
  EXPECT_TRUE(Form3().Visible.get());
  EXPECT_EQ(Form3().Dir1.Path.get(), "C:\\");
}

TEST(FreeSpaceText, GroupsThousandsAndShowsNothingForZero) {
  EXPECT_EQ(FormatMegabytes(0), "");
  EXPECT_EQ(FormatMegabytes(0.4), "");
  EXPECT_EQ(FormatMegabytes(999.6), "1,000");
  EXPECT_EQ(FormatMegabytes(1234567), "1,234,567");
}

}  // namespace
}  // namespace zov::test
