// The installer's two windows, the message boxes and the New Folder box in
// the real window, in every language of the translation table: every text
// shows whole in its control, measured with the real font; the agreement box
// repaints whole after the cancel question and after a page change. The
// finish page is saved in the four languages of the list when
// ZOV_SCREENSHOTS names a folder.
#include <FL/Fl.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Input.H>
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include "engine/install_account.h"
#include "engine/progress_steps.h"
#include "localisation/fill_translations.h"
#include "localisation/translate_form.h"
#include "localisation/translate_text.h"
#include "localisation/translation_state.h"
#include "platform/runtime/strings.h"
#include "platform/ui/fltk/fltk_backend.h"
#include "platform/ui/fltk/form_window.h"
#include "platform/ui/fltk/text_fit.h"
#include "services/main.h"
#include "services/shared_state.h"
#include "tests/fltk/x_driver.h"
#include "tests/support/test_machine.h"
#include "tests/wizard/wizard_fixture.h"
#include "wizard/form3.h"
#include "wizard/wizard_windows.h"

namespace zov::test {
namespace {

using ui::fltk::ShownText;
using ui::fltk::ShowsText;

struct Language {
  int index;         // LanguageIndex
  int listPosition;  // its item in the language list; -1 when it has none
  const char* code;  // of the screenshots' names
};
void PrintTo(const Language& language, std::ostream* out) { *out << language.code; }

const std::array<Language, 5> kLanguages{{{0, 0, "en"}, {1, -1, "tr"}, {2, 1, "de"}, {3, 2, "fr"}, {4, 3, "es"}}};

const std::string kInstallDir = "C:\\Program Files\\ZOV Zuzuzu Rudavero 5";
const InstallAccount kNothingMade{false, false, false, false, false};

// Runs `inspect` on the next message or input box once it is shown, from
// inside the box's own loop; `inspect` answers or closes it.
void whenABoxOpens(std::function<void(Fl_Window&)> inspect, int triesLeft = 250) {
  later(0.02, [inspect = std::move(inspect), triesLeft]() mutable {
    Fl_Window* box = Fl::modal();
    if (box && box->shown() && box->visible()) {
      inspect(*box);
    } else if (triesLeft > 0) {
      whenABoxOpens(std::move(inspect), triesLeft - 1);
    }
  });
}

Fl_Button* buttonOf(Fl_Window& box, const std::string& caption) {
  for (int i = 0; i < box.children(); ++i) {
    auto* b = dynamic_cast<Fl_Button*>(box.child(i));
    if (b && b->label() && caption == b->label()) return b;
  }
  return nullptr;
}

// The wizard started in the real window on a fresh machine, in one language.
class WizardWindow : public ::testing::Test {
 protected:
  void start(const Language& language) {
    ASSERT_TRUE(ui::displayAvailable()) << "these tests run under xvfb-run";
    language_ = language;
    ResetProgramState();
    RegisterWizardWindows();
    ui::setBackend(ui::makeFltkBackend());
    Main();
    ASSERT_TRUE(runUntil([] { return windowOf(Form1()) != nullptr; }));
    windowOf(Form1())->wait_for_expose();
    chooseLanguage(language);
    settle();
  }
  void TearDown() override {
    // A finished wizard closes without asking.
    Form1().Command2.Caption = TranslateText("Finish");
    for (ui::Form* f : ui::AllForms()) ui::Unload(*f);
    ui::setBackend(nullptr);
  }

  // As the language list does; Turkish, which the list lacks, the way a choice in the list switches a language.
  static void chooseLanguage(const Language& language) {
    if (language.listPosition >= 0) {
      Form1().Combo1.ListIndex = language.listPosition;
      return;
    }
    LanguageIndex = language.index;
    FillTranslations();
    TranslateText(std::string(kClearCacheKeyword));
    TranslateForm(Form1());
    Form1().Caption = TranslateText(Form1().Caption);
  }
  // Lets the windows draw what the model holds.
  static void settle() { runUntil([] { return false; }, 0.1); }

  // Every text shown in the window lies whole in its control's room.
  void expectWhole(Fl_Window& window, const std::string& what) {
    auto* form = dynamic_cast<ui::fltk::FormWindow*>(&window);
    expectWhole(window, [&](Fl_Widget& w) {
      if (form) {
        for (ui::Control* c : form->form().Controls()) {
          ui::fltk::View* v = form->view(*c);
          if (v && &v->widget() == &w) return form->form().name() + "." + c->fullName();
        }
      }
      return what;
    });
    ++checkedWindows_;
  }
  void expectWhole(Fl_Group& group, const std::function<std::string(Fl_Widget&)>& name) {
    for (int i = 0; i < group.children(); ++i) {
      Fl_Widget& w = *group.child(i);
      if (!w.visible_r()) continue;
      if (const auto* shows = dynamic_cast<const ShowsText*>(&w)) {
        const ShownText shown = shows->shownText();
        const auto [needW, needH] = neededRoom(shown);
        EXPECT_TRUE(needW <= shown.width && needH <= shown.height && shown.width <= w.w() && shown.height <= w.h())
            << name(w) << " in " << language_.code << ": \"" << shown.text << "\" needs " << needW << " x " << needH
            << " pixels at size " << ui::fltk::fittedSize(shown) << "; its room is " << shown.width << " x "
            << shown.height << " in a control of " << w.w() << " x " << w.h();
        ++checkedTexts_;
      }
      if (Fl_Group* inner = w.as_group()) expectWhole(*inner, name);
    }
  }
  // Opens a message box and checks its texts before closing it.
  void expectWholeBox(const std::string& prompt, int style, const std::string& title) {
    whenABoxOpens([this, title](Fl_Window& box) {
      expectWhole(box, "the message box \"" + title + "\"");
      box.hide();
    });
    ui::MsgBox(prompt, style, title);
  }

  // Leaves the wizard in its finish state as the install routine does, after
  // a whole installation or after one whose files did not all install.
  // The finish state after a run that made what `account` says.
  void finish(InstallAccount account = {}) {
    Form1Window& f = Form1();
    machine.writeFile(kInstallDir + "\\Zuzuzu Rudavero 5.exe", "MZ");
    InstallDir = kInstallDir;
    WizardPage = 5;
    for (int i = 1; i <= 3; ++i) f.Frame1(i).Visible = false;
    f.Frame1(4).Visible = true;
    f.Command1.Enabled = false;
    f.Label11.Caption = TranslateText("Now creating shortcuts...");
    f.ShowProgress(StepPercent(58));
    f.MakeShortcutsAndFinish(account);
    settle();
  }

  Language language_{};
  int checkedWindows_ = 0;
  int checkedTexts_ = 0;
  TestMachine machine;
};

class EveryLanguage : public WizardWindow, public ::testing::WithParamInterface<Language> {
 protected:
  void SetUp() override { start(GetParam()); }
};

TEST_P(EveryLanguage, EveryTextOfEveryPageAndBoxShowsWhole) {
  Form1Window& f = Form1();
  // The welcome, agreement and destination pages, as Next and Back show them.
  for (std::uint8_t page : {1, 2, 4}) {
    WizardPage = page;
    f.sayfagoster();
    settle();
    expectWhole(*windowOf(f), "Form1");
  }
  // The texts of the progress page, then the finish state.
  f.Frame1(3).Visible = false;
  f.Frame1(4).Visible = true;
  for (const std::string& status :
       {TranslateText("Copying files into temporary folder and expanding into install directory..."),
        TranslateText("'.qev' file type registry..."), TranslateText("Registry settings are being done..."),
        TranslateText("Temporary files are being deleted..."), TranslateText("Deleting temporary files..."),
        TranslateText("ZOV has been sucessfully installed into '") + kInstallDir + TranslateText("' directory.") +
            runtime::vbCrLf + runtime::vbCrLf + TranslateText("Now creating shortcuts..."),
        InstalledStatusLine(kNothingMade, kInstallDir)}) {
    f.Label11.Caption = status;
    settle();
    expectWhole(*windowOf(f), "Form1");
  }
  finish();
  expectWhole(*windowOf(f), "Form1");
  // The longest finish text says that every kind of part is missing.
  finish(kNothingMade);
  expectWhole(*windowOf(f), "Form1");

  // The folder chooser, its New Folder box, and the box refusing a name.
  WizardPage = 4;
  f.sayfagoster();
  f.Command4_Click();
  ASSERT_TRUE(runUntil([] { return windowOf(Form3()) != nullptr; }));
  settle();
  expectWhole(*windowOf(Form3()), "Form3");
  whenABoxOpens([this](Fl_Window& box) {
    expectWhole(box, "the New Folder box");
    for (int i = 0; i < box.children(); ++i) {
      if (auto* input = dynamic_cast<Fl_Input*>(box.child(i))) input->value("new*folder");
    }
    whenABoxOpens([this](Fl_Window& refusal) {
      expectWhole(refusal, "the box refusing the name");
      refusal.hide();
    });
    if (Fl_Button* ok = buttonOf(box, "OK")) ok->do_callback();
    box.hide();
  });
  Form3().Command1_Click();
  Form3().Command3_Click();

  // The other boxes of the two windows and of the destination checks.
  expectWholeBox(TranslateText("Do you want to cancel the installation?"), 4388, TranslateText("Rededi Dirirozo"));
  expectWholeBox(TranslateText("Another installation of ZOV Rededi Dirirozo is running. Please wait until it has "
                               "finished, then start the installation again."),
                 48, TranslateText("Rededi Dirirozo"));
  expectWholeBox(TranslateText("Will not install Microsoft Visual C++ 2005 Redistributable"), 64,
                 TranslateText("Install"));
  expectWholeBox(TranslateText("Space in drive is less than 5.000.000 bytes.") + runtime::Chr(13) +
                     TranslateText("You need more space to install Rededi Dirirozo."),
                 48, TranslateText("Warning"));
  expectWholeBox(TranslateText("Rededi Dirirozo can not be installed into a network driver."), 4144, "Driver");
  expectWholeBox(TranslateText("Error: Could not create directory : ") + runtime::vbCrLf + runtime::vbCrLf + kInstallDir,
                 48, "ZOV");
  expectWholeBox(TranslateText("Folder name cannot contain any of the *,?,<, :, /, | characters. The directory name "
                               "you've entered :") +
                     runtime::vbCrLf + runtime::vbCrLf + kInstallDir + "\\a|b",
                 48, "ZOV");
  expectWholeBox(TranslateText("A version of ZOV Zuzuzu Rudavero 5 is already installed on your computer and now you "
                               "are installing again to another directory. It is recommended to install into the same "
                               "directory with the installed version or uninstall it before installing this one.") +
                     runtime::vbCrLf + runtime::vbCrLf + TranslateText("Are you sure to install into this directory?"),
                 36, "ZOV Rededi Dirirozo");
  expectWholeBox(TranslateText("Version 4 of ZOV Rededi Dirirozo is installed in this folder. Please select another "
                               "directory to install the new version."),
                 48, "ZOV Install");
  EXPECT_EQ(checkedWindows_, 3 + 7 + 2 + 1 + 2 + 9);
  EXPECT_GT(checkedTexts_, 80);
}

TEST_P(EveryLanguage, TheFinishPageIsPhotographed) {
  const char* folder = std::getenv("ZOV_SCREENSHOTS");
  if (!folder || GetParam().listPosition < 0) GTEST_SKIP() << "the README shows the languages of the list";
  finish();
  std::filesystem::create_directories(folder);
  EXPECT_TRUE(saveScreenshot(*windowOf(Form1()), std::string(folder) + "/" + GetParam().code + "-6-finish.png"));
  // The finish of a run that could make nothing: its longest text.
  finish(kNothingMade);
  EXPECT_TRUE(
      saveScreenshot(*windowOf(Form1()), std::string(folder) + "/" + GetParam().code + "-7-finish-incomplete.png"));
}

class AgreementBox : public WizardWindow {
 protected:
  void SetUp() override {
    start(kLanguages[0]);
    Form1().Command2_Click();  // Next: the agreement
    settle();
  }
  // The agreement box's pixels on the screen.
  std::vector<unsigned long> shown() {
    Fl_Widget& box = dynamic_cast<ui::fltk::FormWindow&>(*windowOf(Form1())).view(Form1().Text1)->widget();
    return pixels(*windowOf(Form1()), box.x(), box.y(), box.w(), box.h());
  }
  // How many of them differ from those before.
  std::size_t changedSince(const std::vector<unsigned long>& before) {
    const std::vector<unsigned long> now = shown();
    if (now.size() != before.size()) return before.size();
    std::size_t changed = 0;
    for (std::size_t i = 0; i < now.size(); ++i) changed += now[i] != before[i] ? 1 : 0;
    return changed;
  }
  // Clicks a control of the wizard where a person would.
  void clickOn(ui::Control& control) {
    Fl_Widget& w = dynamic_cast<ui::fltk::FormWindow&>(*windowOf(Form1())).view(control)->widget();
    click(Form1(), w.x() + w.w() / 2, w.y() + w.h() / 2);
  }
};

TEST_F(AgreementBox, RepaintsWholeAfterTheCancelQuestionAndAfterAPageChange) {
  const std::vector<unsigned long> before = shown();
  ASSERT_FALSE(before.empty());
  for (int round = 0; round < 20; ++round) {
    bool asked = false;
    whenABoxOpens([&](Fl_Window& box) {
      asked = true;
      Fl_Button* no = buttonOf(box, "&No");
      if (!no) {
        ADD_FAILURE() << "the cancel question has no No button";
        box.hide();
        return;
      }
      xdotool("mousemove " + std::to_string(box.x_root() + no->x() + no->w() / 2) + " " +
              std::to_string(box.y_root() + no->y() + no->h() / 2) + " sleep 0.05 click 1");
    });
    // Cancel, or the close box.
    if (round % 2) {
      clickOn(Form1().Command3);
    } else {
      sendCloseRequest(Form1());
    }
    ASSERT_TRUE(runUntil([&] { return asked && !Fl::modal(); })) << "round " << round;
    settle();
    ASSERT_TRUE(Form1().loaded());
    EXPECT_EQ(changedSince(before), 0u) << "pixels changed after the question, round " << round;
  }
  for (int round = 0; round < 3; ++round) {
    Form1().Option1.Value = true;
    Form1().Command2_Click();  // the destination page
    settle();
    Form1().Command1_Click();  // back to the agreement
    settle();
    EXPECT_EQ(changedSince(before), 0u) << "pixels changed after a page change, round " << round;
  }
}

INSTANTIATE_TEST_SUITE_P(Languages, EveryLanguage, ::testing::ValuesIn(kLanguages),
                         [](const ::testing::TestParamInfo<Language>& param) { return std::string(param.param.code); });

}  // namespace
}  // namespace zov::test
