// Translation of whole windows: each control kind, in the form's order.
#include <gtest/gtest.h>

#include "localisation/fill_translations.h"
#include "localisation/translate_form.h"
#include "localisation/translate_text.h"
#include "localisation/translation_state.h"
#include "platform/runtime/runtime_error.h"
#include "tests/support/test_machine.h"

namespace zov {
namespace {

class EveryKind : public ui::Form {
 public:
  EveryKind() : Form("EveryKind") {
    add(label), add(button), add(option), add(check), add(picture), add(image), add(combo), add(empty), add(text),
        add(frame), add(menu), add(blankMenu), add(line), add(drives);
  }
  ui::Label label{*this, "Label1"};
  ui::CommandButton button{*this, "Command1"};
  ui::OptionButton option{*this, "Option1"};
  ui::CheckBox check{*this, "Check1"};
  ui::PictureBox picture{*this, "Picture1"};
  ui::Image image{*this, "Image1"};
  ui::ComboBox combo{*this, "Combo1"};
  ui::ComboBox empty{*this, "Combo2"};
  ui::TextBox text{*this, "Text1"};
  ui::Frame frame{*this, "Frame1"};
  ui::Menu menu{*this, "mnuFile"};
  ui::Menu blankMenu{*this, "mnuBlank"};
  ui::Line line{*this, "Line1"};
  ui::DriveListBox drives{*this, "Drive1"};

 protected:
  void applyStoredLayout() override {
    Caption.reset("Cancel");
    for (ui::Control* c : Controls()) c->ToolTipText.reset("Finish");
    label.Caption.reset("Cancel");
    button.Caption.reset("Next >>");
    option.Caption.reset("Yes I Agree.");
    check.Caption.reset("Launch ZOV now.");
    combo.Clear();
    combo.AddItem("Cancel");
    combo.AddItem("Finish");
    combo.ListIndex.reset(1);
    empty.Clear();
    empty.AddItem("Cancel");
    text.Text.reset("Install");
    frame.Caption.reset("Warning");
    menu.Caption.reset("Error");
    blankMenu.Caption.reset("   ");
  }
};

class TranslateFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form.Show();
    LanguageIndex = 2;
    FillTranslations();
    TranslateText(std::string(kClearCacheKeyword));
  }
  void TearDown() override { LanguageIndex = 0; }
  test::TestMachine machine;
  EveryKind form;
};

TEST_F(TranslateFormTest, EachKindTranslatesItsTextsAndTooltips) {
  TranslateForm(form);
  const std::string finish = TranslateText("Finish");
  EXPECT_EQ(form.label.Caption.get(), TranslateText("Cancel"));
  EXPECT_EQ(form.button.Caption.get(), "Weiter >>");
  EXPECT_EQ(form.option.Caption.get(), TranslateText("Yes I Agree."));
  EXPECT_EQ(form.check.Caption.get(), TranslateText("Launch ZOV now."));
  EXPECT_EQ(form.text.Text.get(), TranslateText("Install"));
  EXPECT_EQ(form.frame.Caption.get(), TranslateText("Warning"));
  EXPECT_EQ(form.menu.Caption.get(), TranslateText("Error"));
  // Only the selected item of a list is translated.
  EXPECT_EQ(form.combo.List(0), "Cancel");
  EXPECT_EQ(form.combo.List(1), finish);
  for (ui::Control* c : {static_cast<ui::Control*>(&form.label), static_cast<ui::Control*>(&form.button),
                         static_cast<ui::Control*>(&form.picture), static_cast<ui::Control*>(&form.image),
                         static_cast<ui::Control*>(&form.combo), static_cast<ui::Control*>(&form.text)}) {
    EXPECT_EQ(c->ToolTipText.get(), finish) << c->name();
  }
}

TEST_F(TranslateFormTest, SomeKindsAndTheFormsCaptionAreLeftAlone) {
  TranslateForm(form);
  EXPECT_EQ(form.Caption.get(), "Cancel");
  EXPECT_EQ(form.frame.ToolTipText.get(), "Finish");  // a frame has no tool tip to translate
  EXPECT_EQ(form.empty.List(0), "Cancel");            // no selection
  EXPECT_EQ(form.empty.ToolTipText.get(), "Finish");
  EXPECT_EQ(form.blankMenu.Caption.get(), "   ");
  EXPECT_EQ(form.line.ToolTipText.get(), "Finish");
  EXPECT_EQ(form.drives.ToolTipText.get(), "Finish");
}

TEST_F(TranslateFormTest, EnglishChangesNothing) {
  LanguageIndex = 0;
  TranslateForm(form);
  EXPECT_EQ(form.button.Caption.get(), "Next >>");
  EXPECT_EQ(form.combo.List(1), "Finish");
}

TEST_F(TranslateFormTest, ARunTimeErrorEndsTheWalkSilently) {
  // The text box's Change handler fails while its text is written back.
  form.text.Change = [] { runtime::Raise(runtime::kTypeMismatch); };
  TranslateForm(form);
  EXPECT_EQ(form.button.Caption.get(), "Weiter >>");    // before the text box
  EXPECT_EQ(form.frame.Caption.get(), "Warning");       // after it
  EXPECT_EQ(form.menu.Caption.get(), "Error");
}

TEST(RestoreEnglish, ATableWithoutRowsChangesNothing) {
  SourceTexts.assign(1, std::string());
  EXPECT_NO_THROW(RestoreEnglishTexts());
}

}  // namespace
}  // namespace zov
