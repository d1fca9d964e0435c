#include "localisation/translate_form.h"

#include "localisation/translate_text.h"
#include "localisation/translation_state.h"
#include "platform/runtime/runtime_error.h"
#include "platform/runtime/strings.h"

namespace zov {

namespace {

template <typename P>
void translate(P& property) {
  property = TranslateText(property.get());
}

void translateControl(ui::Control& c) {
  using ui::ControlKind;
  switch (c.kind()) {
    case ControlKind::Label:
      translate(static_cast<ui::Label&>(c).Caption);
      translate(c.ToolTipText);
      break;
    case ControlKind::CommandButton:
      translate(static_cast<ui::CommandButton&>(c).Caption);
      translate(c.ToolTipText);
      break;
    case ControlKind::OptionButton:
      translate(static_cast<ui::OptionButton&>(c).Caption);
      translate(c.ToolTipText);
      break;
    case ControlKind::CheckBox:
      translate(static_cast<ui::CheckBox&>(c).Caption);
      translate(c.ToolTipText);
      break;
    case ControlKind::PictureBox:
    case ControlKind::Image:
      translate(c.ToolTipText);
      break;
    case ControlKind::ComboBox: {
      auto& box = static_cast<ui::ComboBox&>(c);
      if (box.ListCount() > 0 && box.ListIndex != -1) {
        box.SetList(box.ListIndex, TranslateText(box.List(box.ListIndex)));
        translate(c.ToolTipText);
      }
      break;
    }
    case ControlKind::TextBox:
      translate(static_cast<ui::TextBox&>(c).Text);
      translate(c.ToolTipText);
      break;
    case ControlKind::Frame:
      translate(static_cast<ui::Frame&>(c).Caption);
      break;
    case ControlKind::Menu: {
      auto& menu = static_cast<ui::Menu&>(c);
      if (!runtime::Trim(menu.Caption.get()).empty()) translate(menu.Caption);
      break;
    }
    default:
      break;
  }
}

}  // namespace

void TranslateForm(ui::Form& frm) {
  if (LanguageIndex == 0) return;
  try {
    for (ui::Control* c : frm.Controls()) translateControl(*c);
  } catch (const runtime::RuntimeError&) {
    // The controls after the failing one keep their texts.
  }
}

}  // namespace zov

namespace zov {

namespace {

// Sets the text property of a control found by name: a caption, or a text box's text.
void setText(ui::Form& form, const char* name, const std::string& text) {
  ui::Control* c = form.control(name);
  if (!c) runtime::Raise(runtime::kObjectNotSet);
  switch (c->kind()) {
    case ui::ControlKind::Label: static_cast<ui::Label*>(c)->Caption = text; break;
    case ui::ControlKind::CommandButton: static_cast<ui::CommandButton*>(c)->Caption = text; break;
    case ui::ControlKind::OptionButton: static_cast<ui::OptionButton*>(c)->Caption = text; break;
    case ui::ControlKind::CheckBox: static_cast<ui::CheckBox*>(c)->Caption = text; break;
    case ui::ControlKind::TextBox: static_cast<ui::TextBox*>(c)->Text = text; break;
    default: runtime::Raise(runtime::kTypeMismatch);
  }
}

}  // namespace

void RestoreEnglishTexts() {
  if (SourceTexts.size() < 2) return;  // upper bound below 1
  if (SourceTexts.size() < 15) runtime::Raise(runtime::kSubscriptOutOfRange);
  ui::Form& form1 = ui::DefaultInstance("Form1");
  setText(form1, "Label1", SourceTexts[1]);
  setText(form1, "Label2", SourceTexts[2]);
  setText(form1, "Label4", SourceTexts[3]);
  setText(form1, "Command3", SourceTexts[5]);
  setText(form1, "Command1", SourceTexts[6]);
  setText(form1, "Command2", SourceTexts[7]);
  form1.Caption = SourceTexts[4];
  setText(form1, "Label3", SourceTexts[8]);
  setText(form1, "Text1", SourceTexts[9]);
  setText(form1, "Option1", SourceTexts[10]);
  setText(form1, "Option2", SourceTexts[11]);
  setText(form1, "Check1", SourceTexts[12]);
  setText(form1, "Label9", SourceTexts[13]);
  setText(form1, "Command4", SourceTexts[14]);
}

}  // namespace zov
