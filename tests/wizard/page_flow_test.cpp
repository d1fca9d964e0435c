// The wizard's pages through the script backend, as a person walks them.
#include "localisation/translation_state.h"
#include "services/shared_state.h"
#include "tests/wizard/wizard_fixture.h"

namespace zov::test {
namespace {

using runtime::Trim;

const char* kToPage4 = "click Command2\nclick Option1\nclick Command2\n";

bool visible(ui::Control& c) { return c.shown(); }

TEST_F(WizardTest, TheWindowOpensOnTheWelcomePageWithBackDisabled) {
  EXPECT_FALSE(run(""));
  Form1Window& f = Form1();
  EXPECT_TRUE(f.Visible.get());
  EXPECT_TRUE(visible(f.Frame1(1)));
  EXPECT_FALSE(visible(f.Frame1(2)) || visible(f.Frame1(3)) || visible(f.Frame1(4)));
  EXPECT_FALSE(f.Command1.Enabled.get());
  EXPECT_EQ(f.Command2.Caption.get(), "Next >>");
  EXPECT_EQ(f.Caption.get(), "ZOV Rededi Dirirozo - Install");
  EXPECT_EQ(f.Label5.Caption.get(), "Version 5.2.6");
  EXPECT_EQ(Trim(InstallDir), "C:\\Program Files\\ZOV Zuzuzu Rudavero 5");
  EXPECT_EQ(f.Text2.Text.get(), "C:\\Program Files\\ZOV Zuzuzu Rudavero 5");
  EXPECT_EQ(f.Text2.SelStart.get(), 38);
  EXPECT_FALSE(f.Image1.picture().empty());
  EXPECT_EQ(f.Combo1.Text(), "English");
  EXPECT_EQ(WizardPage, 1);
}

TEST_F(WizardTest, BackOnTheFirstPageOnlyDisablesItself) {
  run("click Command2\nclick Command1\n");
  Form1Window& f = Form1();
  EXPECT_EQ(WizardPage, 1);
  EXPECT_TRUE(visible(f.Frame1(1)));
  EXPECT_FALSE(f.Command1.Enabled.get());
  f.Command1_Click();  // called as a method on page 1
  EXPECT_EQ(WizardPage, 1);
  EXPECT_FALSE(f.Command1.Enabled.get());
}

TEST_F(WizardTest, TheAgreementPageAsksForYesEveryTime) {
  run(std::string(kToPage4) + "click Command1\n");
  Form1Window& f = Form1();
  EXPECT_EQ(WizardPage, 2);
  EXPECT_FALSE(f.Option1.Value.get());
  EXPECT_FALSE(f.Option2.Value.get());
  EXPECT_FALSE(f.Command2.Enabled.get());
  EXPECT_EQ(f.Command2.Caption.get(), "Next >>");
  more("click Option1\nclick Option2\n");
  EXPECT_FALSE(f.Command2.Enabled.get());
  more("click Command2\n");  // disabled: nothing happens
  EXPECT_EQ(WizardPage, 2);
}

TEST_F(WizardTest, TheDestinationPageShowsTheFolderAndInstallGoesToTheProgressPage) {
  run(kToPage4);
  Form1Window& f = Form1();
  EXPECT_EQ(WizardPage, 4);
  EXPECT_TRUE(visible(f.Frame1(3)));
  EXPECT_EQ(f.Command2.Caption.get(), "Install");
  EXPECT_TRUE(f.Command1.Enabled.get());
  // The product's folder is not appended twice.
  EXPECT_EQ(f.Text2.Text.get(), "C:\\Program Files\\ZOV Zuzuzu Rudavero 5");
  more("type Text2 C:\\Apps\\\nclick Command2\n");
  EXPECT_EQ(WizardPage, 5);
  EXPECT_EQ(Trim(InstallDir), "C:\\Apps");
  EXPECT_EQ(f.Text2.Text.get(), "C:\\Apps");
  EXPECT_TRUE(visible(f.Frame1(4)));
  EXPECT_FALSE(visible(f.Frame1(3)));
}

TEST_F(WizardTest, TwoTrailingBackslashesLoseOnlyOne) {
  run(std::string(kToPage4) + "type Text2 C:\\Apps\\\\\nclick Command2\n");
  EXPECT_EQ(Trim(InstallDir), "C:\\Apps\\");
  EXPECT_EQ(Form1().Text2.Text.get(), "C:\\Apps\\");
}

TEST_F(WizardTest, NextOnTheProgressPageChangesNoPageButEnablesBack) {
  run(std::string(kToPage4) + "click Command2\n");
  Form1Window& f = Form1();
  f.Command1.Enabled = false;
  f.Command2_Click();
  EXPECT_EQ(WizardPage, 5);
  EXPECT_TRUE(f.Command1.Enabled.get());
}

TEST_F(WizardTest, SixClicksOnThePictureSkipTheRuntimePackage) {
  std::string clicks;
  for (int i = 0; i < 5; ++i) clicks += "click Image1\n";
  run(clicks);
  EXPECT_EQ(Form1().Image1.Tag.get(), "");
  more("click Image1\nanswer OK Will not install Microsoft Visual C++ 2005 Redistributable\n" + clicks);
  EXPECT_EQ(Form1().Image1.Tag.get(), "1");
  EXPECT_NE(transcript().find("?? box \"Install\" [OK, information"), std::string::npos);
  // The twelfth click shows the box again.
  more("click Image1\nanswer OK\n");
  std::size_t boxes = 0;
  for (auto at = transcript().find("Will not install"); at != std::string::npos;
       at = transcript().find("Will not install", at + 1)) {
    ++boxes;
  }
  EXPECT_EQ(boxes, 2u);
}

TEST_F(WizardTest, GermanThenEnglishPutsTheEnglishTextsBack) {
  run("choose Combo1 Deutsch\n");
  Form1Window& f = Form1();
  EXPECT_EQ(f.Command2.Caption.get(), "Weiter >>");
  EXPECT_EQ(f.Caption.get(), "ZOV Bildschirm Recorder - Installation");
  EXPECT_NE(f.Text1.Text.get().find("BITTE"), std::string::npos);
  more("choose Combo1 English\n");
  EXPECT_EQ(f.Command2.Caption.get(), "Next >>");
  EXPECT_EQ(f.Caption.get(), "ZOV Rededi Dirirozo - Install");
  EXPECT_EQ(f.Label1.Caption.get().substr(0, 19), "ZOV Rededi Dirirozo");
  EXPECT_EQ(f.Combo1.Text(), "English");
  EXPECT_EQ(LanguageIndex, 0);
}

TEST_F(WizardTest, TheLanguageListFollowsTheSystemLanguage) {
  run("", [](machine::MachineConfig& c) { c = windowsXp(), c.uiLanguage = 0x0407; });
  EXPECT_EQ(Form1().Combo1.Text(), "Deutsch");
  EXPECT_EQ(Form1().Command3.Caption.get(), "Abbrechen");
}

TEST_F(WizardTest, ClosingAndAnsweringNoChangesNothing) {
  run(std::string(kToPage4) + "close Form1\nanswer No Do you want to cancel the installation?\n");
  Form1Window& f = Form1();
  EXPECT_TRUE(f.loaded());
  EXPECT_EQ(WizardPage, 4);
  EXPECT_TRUE(visible(f.Frame1(3)));
  EXPECT_EQ(f.Command2.Caption.get(), "Install");
  EXPECT_TRUE(f.Command1.Enabled.get());
  EXPECT_EQ(f.Label11.Caption.get(), "");
}

TEST_F(WizardTest, CancelAnsweredYesDeletesTheTemporaryFilesAndEnds) {
  run("");
  const std::string temp = "C:\\Users\\user\\AppData\\Local\\Temp\\ZOVTMP";
  machine->writeFile(temp + "\\MCD28m.wa_", "member");
  EXPECT_TRUE(more("click Command3\nanswer Yes\n"));
  EXPECT_FALSE(Form1().loaded());
  EXPECT_FALSE(machine->exists(temp));
  // The status text goes to the progress page, which is not on the screen.
  EXPECT_EQ(Form1().Label11.Caption.get(), "Temporary files are being deleted...");
  EXPECT_EQ(transcript().find("Label11:"), std::string::npos);
  EXPECT_NE(transcript().find("== Form1 closed"), std::string::npos);
}

TEST_F(WizardTest, FinishedWindowsCloseWithoutAskingAndStartTheProductWhenTicked) {
  run(kToPage4);
  Form1Window& f = Form1();
  f.Command2.Caption = "Finish";
  f.Check1.Value = 1;
  f.Command2_Click();
  EXPECT_FALSE(f.loaded());
  EXPECT_EQ(transcript().find("?? box"), std::string::npos);
  // The product is not there, so starting it fails; the failure is ignored.
  EXPECT_NE(machine->machine().log().thisRun().back().find("could not start: \"C:\\Program Files\\ZOV Zuzuzu Rudavero 5\\Zuzuzu Rudavero 5.exe\""),
            std::string::npos);
}

TEST_F(WizardTest, FinishWithTheBoxUntickedStartsNothing) {
  run(kToPage4);
  Form1Window& f = Form1();
  f.Command2.Caption = "Finish";
  f.Command2_Click();
  EXPECT_FALSE(f.loaded());
  EXPECT_TRUE(machine->machine().log().thisRun().empty());
}

}  // namespace
}  // namespace zov::test
