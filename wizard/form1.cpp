// Form1's page flow, its buttons and options, the language switch and the closing.
#include "wizard/form1.h"

#include "localisation/fill_translations.h"
#include "localisation/translate_form.h"
#include "localisation/translate_text.h"
#include "localisation/translation_state.h"
#include "platform/runtime/app.h"
#include "platform/runtime/runtime_error.h"
#include "platform/runtime/strings.h"
#include "platform/ui/backend.h"
#include "services/shared_state.h"

namespace zov {

using runtime::Trim;

Form1Window& Form1() { return static_cast<Form1Window&>(ui::DefaultInstance("Form1")); }

// Held while page 5 checks the destination and installs (see working_).
class Form1Window::Working {
 public:
  explicit Working(Form1Window& form) : form_(form) {
    form_.working_ = true;
    form_.Text2.Locked = true;
  }
  ~Working() {
    form_.working_ = false;
    form_.Text2.Locked = false;
  }
  Working(const Working&) = delete;
  Working& operator=(const Working&) = delete;

 private:
  Form1Window& form_;
};

std::int32_t LanguageCodeOfItem(const std::string& item) {
  if (item == "Deutsch") return 2;
  if (item == "Français") return 3;
  if (item == "Espanol") return 4;
  return 0;
}

void Form1Window::sayfagoster() {
  for (int i = 1; i <= 4; ++i) Frame1(i).Visible = false;
  if (WizardPage == 1) {
    Command2.Enabled = true;
    Frame1(1).Visible = true;
  }
  if (WizardPage == 2) {
    Option1.Value = false;
    Option2.Value = false;
    Command2.Enabled = false;
    Frame1(2).Visible = true;
    Command2.Caption = TranslateText("Next >>");
  }
  if (WizardPage == 4) {
    DizinGuncelle();
    Text2.Text = Trim(InstallDir);
    Command2.Enabled = true;
    Frame1(3).Visible = true;
    Command2.Caption = TranslateText("Install");
  }
  if (WizardPage == 5) {
    const Working working(*this);
    Frame1(3).Visible = true;
    const std::string dir = Trim(InstallDir);
    if (runtime::Right(dir, 1) == "\\") InstallDir = runtime::Left(dir, runtime::Len(dir) - 1);
    Text2.Text = Trim(InstallDir);
    const bool ok = CheckInstallDir();
    Frame1(3).Visible = false;
    if (ok) {
      Frame1(4).Visible = true;
      RunInstallation();
    } else {
      WizardPage = 4;
      sayfagoster();
    }
  }
}

void Form1Window::Command1_Click() {
  if (WizardPage != 1) {
    WizardPage = static_cast<std::uint8_t>(WizardPage - 1);
    if (WizardPage == 3) WizardPage = 2;
    sayfagoster();
  }
  if (WizardPage == 1) Command1.Enabled = false;
}

void Form1Window::Command2_Click() {
  if (Command2.Caption == TranslateText("Finish")) {
    ui::Unload(*this);
    return;
  }
  if (WizardPage != 5) {
    WizardPage = static_cast<std::uint8_t>(WizardPage + 1);
    if (WizardPage == 3) WizardPage = 4;
    sayfagoster();
  }
  if (!(Command2.Caption == TranslateText("Finish")) && WizardPage > 1) Command1.Enabled = true;
}

void Form1Window::Command3_Click() { ui::Unload(*this); }

void Form1Window::Command4_Click() {
  Visible = false;
  ui::DefaultInstance("Form3").Show();
}

void Form1Window::Option1_Click() { Command2.Enabled = true; }

void Form1Window::Option2_Click() { Command2.Enabled = false; }

void Form1Window::Text2_LostFocus() {
  // From page 5 on, the destination is the one the checks accepted and the
  // installation used; the launch at Finish starts the product there. A
  // focus that leaves the box later (a click into it while the checks ran,
  // then Finish) must not put the box's text back over it.
  if (WizardPage == 5) return;
  InstallDir = Trim(Text2.Text);
}

void Form1Window::Image1_Click() {
  ++image1Clicks_;
  if (image1Clicks_ > 5) {
    Image1.Tag = "1";
    ui::MsgBox(TranslateText("Will not install Microsoft Visual C++ 2005 Redistributable"), 64, TranslateText("Install"));
    image1Clicks_ = 0;
  }
}

void Form1Window::Combo1_Click() {
  if (LanguageIndex != 0 && LanguageIndex != -1) {
    RestoreEnglishTexts();
    LanguageIndex = LanguageCodeOfItem(Combo1.List(Combo1.ListIndex));
    FillTranslations();
  } else {
    LanguageIndex = LanguageCodeOfItem(Combo1.List(Combo1.ListIndex));
  }
  TranslateText(std::string(kClearCacheKeyword));
  TranslateForm(*this);
  Caption = TranslateText(Caption);
}

void Form1Window::DizinGuncelle() {
  std::string dir = Trim(InstallDir);
  if (runtime::Right(dir, 1) == "\\") {
    dir = runtime::Left(dir, runtime::Len(dir) - 1);
    InstallDir = dir;
  }
  dir = Trim(InstallDir);
  // A folder that already ends in one of the product's names is the
  // product's own folder; the tail is appended to any other. The product's
  // own tail lies within the last 25 characters, so a second call changes nothing.
  const std::string tail = runtime::LCase(runtime::Right(dir, 25));
  const bool productFolder = runtime::InStr(tail, "screen recorder") || runtime::InStr(tail, "rededi dirirozo") ||
                             runtime::InStr(tail, "zuzuzu rudavero");
  if (!productFolder) InstallDir = dir + "\\ZOV Zuzuzu Rudavero 5";
}

void Form1Window::Form_Unload(int& cancel) {
  if (Command2.Caption == TranslateText("Finish")) {
    if (Check1.Value == 1) {
      runtime::IgnoreErrors([] {
        runtime::Shell('"' + Trim(InstallDir) + '\\' + Trim(ProgramName) + ".exe\"", 1);
      });
    }
    runtime::IgnoreErrors([] { runtime::DoEvents(); });
    runtime::IgnoreErrors([] { ui::UnloadIfLoaded("Form3"); });
    runtime::IgnoreErrors([] { runtime::DoEvents(); });
    return;
  }
  const int answer =
      ui::MsgBox(TranslateText("Do you want to cancel the installation?"), 4388, TranslateText("Rededi Dirirozo"));
  if (answer == ui::vbNo) {
    cancel = 1;
    return;
  }
  Label11.Caption = TranslateText("Deleting temporary files...");
  Label11.Refresh();
  DeleteTempFiles();
  ui::UnloadIfLoaded("Form3");
}

}  // namespace zov
