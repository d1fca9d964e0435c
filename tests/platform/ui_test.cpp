// The window toolkit: forms, events in a person's order, message boxes and
// the script backend's rules.
#include <gtest/gtest.h>

#include "platform/runtime/app.h"
#include "platform/runtime/runtime_error.h"
#include "platform/ui/backend.h"
#include "platform/ui/form.h"
#include "tests/support/test_machine.h"

namespace zov {
namespace {

// A small form with one control of most kinds.
class Sample : public ui::Form {
 public:
  Sample() : Form("Sample") {
    add(Text1);
    add(Command1);
    add(Frame1);
    add(Option1, &Frame1);
    add(Option2, &Frame1);
    add(Check1);
    add(Combo1);
    Text1.LostFocus = [this] { events.push_back("Text1_LostFocus " + Text1.Text.get()); };
    Command1.Click = [this] {
      events.push_back("Command1_Click");
      ui::MsgBox("Sure?", 292, "Question");
    };
    Option1.Click = [this] { events.push_back("Option1_Click"); };
    Option2.Click = [this] { events.push_back("Option2_Click"); };
    Check1.Click = [this] { events.push_back("Check1_Click " + std::to_string(Check1.Value.get())); };
    Combo1.Click = [this] { events.push_back("Combo1_Click " + Combo1.Text()); };
  }
  void Form_Load() override { events.push_back("Form_Load"); }
  void Form_QueryUnload(int& cancel, int mode) override { events.push_back("QueryUnload " + std::to_string(mode)); }
  void Form_Unload(int& cancel) override {
    events.push_back("Form_Unload");
    cancel = keepOpen ? 1 : 0;
  }
  ui::TextBox Text1{*this, "Text1"};
  ui::CommandButton Command1{*this, "Command1"};
  ui::Frame Frame1{*this, "Frame1"};
  ui::OptionButton Option1{*this, "Option1"};
  ui::OptionButton Option2{*this, "Option2"};
  ui::CheckBox Check1{*this, "Check1"};
  ui::ComboBox Combo1{*this, "Combo1"};
  std::vector<std::string> events;
  bool keepOpen = false;

 protected:
  void applyStoredLayout() override {
    Caption.reset("Sample");
    Text1.Text.reset("");
    Option1.Value.reset(false);
    Option2.Value.reset(false);
    Combo1.Clear();
    Combo1.AddItem("English");
    Combo1.AddItem("Deutsch");
  }
};

TEST(Toolkit, ATextBoxLosesTheFocusBeforeTheClickedButtonsClickRuns) {
  test::TestMachine m;
  Sample form;
  m.script("type Text1 C:\\Games\nclick Command1\nanswer No Sure\nclose Sample\n");
  form.Show();
  EXPECT_TRUE(ui::RunMessageLoop());
  EXPECT_EQ(form.events, (std::vector<std::string>{"Form_Load", "Text1_LostFocus C:\\Games", "Command1_Click",
                                                   "QueryUnload 0", "Form_Unload"}));
  EXPECT_NE(m.transcript().find("?? box \"Question\" [Yes/No, question, default No]"), std::string::npos);
  EXPECT_NE(m.transcript().find(">> No"), std::string::npos);
}

TEST(Toolkit, OptionButtonsOfOneContainerExcludeEachOther) {
  test::TestMachine m;
  Sample form;
  form.Show();
  form.Option1.Value = true;
  form.Option2.Value = true;
  EXPECT_FALSE(form.Option1.Value.get());
  form.Option2.Value = true;  // already set: no second Click
  form.Option1.Value = false;
  EXPECT_EQ(form.events, (std::vector<std::string>{"Form_Load", "Option1_Click", "Option2_Click"}));
}

TEST(Toolkit, SettingListIndexOrValueRaisesClickOnlyOnAChange) {
  test::TestMachine m;
  Sample form;
  form.Show();
  form.Combo1.ListIndex = 1;
  form.Combo1.ListIndex = 1;
  form.Check1.Value = 1;
  EXPECT_EQ(form.events, (std::vector<std::string>{"Form_Load", "Combo1_Click Deutsch", "Check1_Click 1"}));
  EXPECT_THROW(form.Combo1.ListIndex = 2, runtime::RuntimeError);
  EXPECT_EQ(form.Combo1.ListIndex.get(), 1);
}

TEST(Toolkit, AnUnloadCanBeCancelledAndAReloadStartsFromTheStoredLayout) {
  test::TestMachine m;
  Sample form;
  form.Show();
  form.Text1.Text = "typed";
  form.keepOpen = true;
  EXPECT_FALSE(ui::Unload(form));
  EXPECT_TRUE(form.loaded());
  form.keepOpen = false;
  EXPECT_TRUE(ui::Unload(form));
  EXPECT_FALSE(form.loaded());
  EXPECT_FALSE(ui::AnyFormLoaded());
  form.Show();
  EXPECT_EQ(form.Text1.Text.get(), "");
}

TEST(Toolkit, BusyCommandsArriveWhileTheProgramWorks) {
  test::TestMachine m;
  Sample form;
  m.script("busy click Check1\nclick Check1\n");
  form.Show();
  runtime::DoEvents();
  EXPECT_EQ(form.Check1.Value.get(), 1);
  runtime::DoEvents();  // the next command is for the idle program
  EXPECT_EQ(form.Check1.Value.get(), 1);
  ui::RunMessageLoop();
  EXPECT_EQ(form.Check1.Value.get(), 0);
}

TEST(Toolkit, ABusyPassLetsOneMomentGoBy) {
  test::TestMachine m;
  Sample form;
  m.script("busy click Check1\nbusy pass\nbusy pass\nbusy click Check1\nbusy click Check1\n");
  form.Show();
  auto clicks = [&m] {
    const std::string t = m.transcript();
    int n = 0;
    for (auto at = t.find("(while busy) click"); at != std::string::npos; at = t.find("(while busy) click", at + 1)) ++n;
    return n;
  };
  runtime::DoEvents();  // the first click, then the moment goes by
  EXPECT_EQ(clicks(), 1);
  runtime::DoEvents();  // nothing at all
  EXPECT_EQ(clicks(), 1);
  runtime::DoEvents();  // the two clicks that follow come together
  EXPECT_EQ(clicks(), 3);
  EXPECT_EQ(form.Check1.Value.get(), 1);
  EXPECT_FALSE(ui::RunMessageLoop());
}

TEST(Toolkit, DisabledOrHiddenControlsIgnoreClicks) {
  test::TestMachine m;
  Sample form;
  m.script("click Command1\nclick Option1\n");
  form.Show();
  form.Command1.Enabled = false;
  form.Frame1.Visible = false;
  ui::RunMessageLoop();
  EXPECT_EQ(form.events, (std::vector<std::string>{"Form_Load"}));
  EXPECT_NE(m.transcript().find("(Command1 is disabled: nothing happens)"), std::string::npos);
}

TEST(Toolkit, TheScriptMustAnswerEveryBoxWithAButtonItHas) {
  test::TestMachine m;
  m.script("click Check1\n");
  EXPECT_THROW(ui::MsgBox("Hello", 0, "T"), ui::ScriptAbort);
  m.script("answer Yes\n");
  EXPECT_THROW(ui::MsgBox("Hello", 0, "T"), ui::ScriptAbort);
  m.script("answer OK Bye\n");
  EXPECT_THROW(ui::MsgBox("Hello", 0, "T"), ui::ScriptAbort);
  m.script("answer OK\n");
  EXPECT_EQ(ui::MsgBox("Hello"), ui::vbOK);
  EXPECT_NE(m.transcript().find("?? box \"ZOV Rededi Dirirozo\""), std::string::npos);  // the default title
  m.script("input \"  spaced  \"\ninput-cancel\n");
  EXPECT_EQ(ui::InputBox("Name?"), "  spaced  ");
  EXPECT_EQ(ui::InputBox("Name?"), "");
}

TEST(Toolkit, ScriptsWithUnknownCommandsAreRefusedWithTheirLine) {
  try {
    ui::parseScript("click Command1\n\n  jump Command2\n", "walk.zs");
    FAIL();
  } catch (const ui::ScriptError& e) {
    EXPECT_STREQ(e.what(), "walk.zs:3: unknown command 'jump'");
  }
  EXPECT_THROW(ui::parseScript("click\n", "s"), ui::ScriptError);
  EXPECT_THROW(ui::parseScript("close Form1 now\n", "s"), ui::ScriptError);
  const auto c = ui::parseScript("busy type Text2 \" C:\\A \"\n", "s");
  ASSERT_EQ(c.size(), 1u);
  EXPECT_TRUE(c[0].busy);
  EXPECT_EQ(c[0].argument, " C:\\A ");
}

}  // namespace
}  // namespace zov
