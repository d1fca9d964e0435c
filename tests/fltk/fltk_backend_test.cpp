// The FLTK backend under a virtual X server: the form's window, where its
// controls are drawn, and real clicks and keys turned into the model's events.
#include <FL/Fl.H>
#include <FL/Fl_Button.H>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>

#include "platform/runtime/runtime_error.h"
#include "platform/ui/backend.h"
#include "platform/ui/fltk/fltk_backend.h"
#include "platform/ui/fltk/text_fit.h"
#include "tests/fltk/sample_form.h"
#include "tests/fltk/x_driver.h"
#include "tests/support/test_machine.h"

namespace zov::test {
namespace {

using Log = std::vector<std::string>;

class FltkBackendTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(ui::displayAvailable()) << "these tests run under xvfb-run";
    ui::setBackend(ui::makeFltkBackend());
    form = std::make_unique<SampleForm>();
    form->Show();
    ASSERT_TRUE(runUntil([&] { return windowOf(*form) != nullptr; }));
    windowOf(*form)->wait_for_expose();
    form->log.clear();
  }
  void TearDown() override {
    if (form) {
      form->cancelUnload = 0;
      ui::Unload(*form);
    }
    ui::setBackend(nullptr);
  }
  bool logged(const std::string& what) const {
    return std::find(form->log.begin(), form->log.end(), what) != form->log.end();
  }
  // Waits until the form has noted `what`.
  bool waitFor(const std::string& what) {
    return runUntil([&] { return logged(what); });
  }

  TestMachine machine{[](machine::MachineConfig& c) {
    machine::DriveConfig e;
    e.letter = 'E', e.type = 3, e.label = "Data";
    c.drives['E'] = e;
  }};
  std::unique_ptr<SampleForm> form;
};

TEST_F(FltkBackendTest, TheWindowHasTheFormsCaptionAndClientSizeAndIsCentred) {
  Fl_Window* w = windowOf(*form);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->w(), 400);
  EXPECT_EQ(w->h(), 300);
  EXPECT_EQ(w->x(), (Fl::w() - 400) / 2);
  EXPECT_EQ(w->y(), (Fl::h() - 300) / 2);
  form->Caption = "Renamed";
  EXPECT_STREQ(w->label(), "Renamed");
}

TEST_F(FltkBackendTest, ControlsAreDrawnAtTheirPlacesInsideTheirContainers) {
  const std::array<int, 3> red{255, 0, 0}, face{212, 208, 200}, white{255, 255, 255};
  // The label lies 10 pixels inside the picture box's border, which starts at 220, 80.
  EXPECT_EQ(pixel(*form, 250, 110), red);
  EXPECT_EQ(pixel(*form, 231, 110), face);
  EXPECT_EQ(pixel(*form, 272, 110), face);
  EXPECT_EQ(pixel(*form, 150, 20), white);  // inside Text1
  // Refresh repaints at once, without waiting for the loop.
  form->Label1.BackColor = 0x0000FF00;
  form->Label1.Refresh();
  EXPECT_EQ(pixel(*form, 250, 110), (std::array<int, 3>{0, 255, 0}));
  form->Picture1.Visible = false;
  form->Refresh();
  EXPECT_EQ(pixel(*form, 250, 110), face);
}

TEST_F(FltkBackendTest, TypingEditsTheTextAndTheTextBoxLosesTheFocusBeforeTheClick) {
  click(*form, 100, 22);
  ASSERT_TRUE(waitFor("Text1.GotFocus"));
  xdotool("type --delay 30 abc");
  ASSERT_TRUE(runUntil([&] { return form->Text1.Text.get() == "abc"; }));
  EXPECT_EQ(std::count(form->log.begin(), form->log.end(), "Text1.Change"), 3);
  EXPECT_EQ(form->Text1.SelStart.get(), 3);
  form->log.clear();
  click(*form, 260, 22);
  ASSERT_TRUE(waitFor("Command1.Click"));
  EXPECT_EQ(form->log, (Log{"Text1.LostFocus", "Command1.Click"}));
  EXPECT_EQ(form->activeControl(), &form->Command1);
}

TEST_F(FltkBackendTest, CheckBoxesToggleAndOptionsClearTheirNeighbours) {
  click(*form, 20, 60);
  ASSERT_TRUE(waitFor("Check1.Click"));
  EXPECT_EQ(form->Check1.Value.get(), 1);
  click(*form, 20, 60);
  ASSERT_TRUE(runUntil([&] { return form->Check1.Value.get() == 0; }));
  EXPECT_EQ(std::count(form->log.begin(), form->log.end(), "Check1.Click"), 2);

  click(*form, 30, 140);
  ASSERT_TRUE(waitFor("Option2.Click"));
  EXPECT_TRUE(form->Option2.Value.get());
  click(*form, 30, 110);
  ASSERT_TRUE(waitFor("Option1.Click"));
  EXPECT_TRUE(form->Option1.Value.get());
  EXPECT_FALSE(form->Option2.Value.get());
}

TEST_F(FltkBackendTest, DisabledAndHiddenControlsIgnoreClicks) {
  click(*form, 350, 22);  // Command2, disabled
  click(*form, 350, 62);  // Command3, hidden
  click(*form, 260, 22);  // Command1, to know the clicks before it have been handled
  ASSERT_TRUE(waitFor("Command1.Click"));
  EXPECT_EQ(form->log, (Log{"Command1.Click"}));
}

TEST_F(FltkBackendTest, ALabelOrImageTakesClicksOnlyWhenTheFormHandlesThem) {
  form->Image1.setPicture({32, 32, std::vector<std::uint32_t>(32 * 32, 0xFF0000FFu)});
  EXPECT_EQ(pixel(*form, 360, 110), (std::array<int, 3>{0, 0, 255}));  // drawn at its own 32 x 32
  click(*form, 360, 110);
  ASSERT_TRUE(waitFor("Image1.Click"));
}

TEST_F(FltkBackendTest, AComboBoxChoiceSetsListIndexAndRaisesClick) {
  click(*form, 60, 210);  // drops the list down; the keys choose its second item
  later(0.5, [] { xdotool("key --delay 50 Down Down Return"); });
  ASSERT_TRUE(waitFor("Combo1.Click"));
  EXPECT_EQ(form->Combo1.ListIndex.get(), 1);
  EXPECT_EQ(form->activeControl(), &form->Combo1);
  form->log.clear();
  xdotool("key Down");  // the focused list, closed: the next item
  ASSERT_TRUE(waitFor("Combo1.Click"));
  EXPECT_EQ(form->Combo1.Text(), "Gamma");
}

TEST_F(FltkBackendTest, TheDriveListAndTheFolderListChangeTheirModel) {
  form->Drive1.SetFocus();
  xdotool("mousemove " + std::to_string(windowOf(*form)->x_root() + 300) + " " +
          std::to_string(windowOf(*form)->y_root() + 150) + " sleep 0.05");
  xdotool("key End");  // the last drive, e:
  ASSERT_TRUE(waitFor("Drive1.Change"));
  EXPECT_EQ(form->Drive1.Drive.get(), "e: [Data]");

  const auto below = form->Dir1.List();
  ASSERT_FALSE(below.empty());
  click(*form, 60, 232 + 17 + 8, 2);  // a double click on the first folder below c:\ (rows of 17 pixels)
  ASSERT_TRUE(waitFor("Dir1.Change"));
  EXPECT_EQ(form->Dir1.Path.get(), "C:\\" + below.front());
}

TEST_F(FltkBackendTest, ALockedMultiLineBoxRefusesTyping) {
  click(*form, 260, 260);
  ASSERT_TRUE(runUntil([&] { return form->activeControl() == &form->Text2; }));
  xdotool("type --delay 30 xyz");
  click(*form, 260, 22);
  ASSERT_TRUE(waitFor("Command1.Click"));
  EXPECT_EQ(form->Text2.Text.get(), "First line\r\nSecond line");
}

TEST_F(FltkBackendTest, TheCloseBoxUnloadsTheFormButEscapeDoesNot) {
  click(*form, 260, 22);
  ASSERT_TRUE(waitFor("Command1.Click"));
  xdotool("key Escape");
  form->cancelUnload = 1;
  sendCloseRequest(*form);
  ASSERT_TRUE(waitFor("QueryUnload 0"));
  EXPECT_TRUE(form->loaded());
  EXPECT_EQ(std::count(form->log.begin(), form->log.end(), "QueryUnload 0"), 1);  // Escape asked nothing
  form->cancelUnload = 0;
  sendCloseRequest(*form);
  ASSERT_TRUE(runUntil([&] { return !form->loaded(); }));
  EXPECT_EQ(windowOf(*form), nullptr);
  EXPECT_FALSE(ui::backend().waitForInput());  // no window is left
}

TEST_F(FltkBackendTest, AnErrorInAHandlerComesOutOfTheMessageLoop) {
  form->failOnClick = true;
  click(*form, 260, 22);
  try {
    while (ui::backend().waitForInput()) {
    }
    FAIL() << "the loop ended without the error";
  } catch (const runtime::RuntimeError& e) {
    EXPECT_EQ(e.number(), runtime::kFileNotFound);
  }
}

TEST_F(FltkBackendTest, TextWidthComesFromTheRealFont) {
  const ui::Backend& b = ui::backend();
  const ui::Font window, small = ui::smallFont();
  EXPECT_LT(b.textWidth(window, "iiii"), b.textWidth(window, "WWWW"));
  EXPECT_LT(b.textWidth(small, "Next >>"), b.textWidth(window, "Next >>"));
  EXPECT_EQ(static_cast<int>(b.textWidth(window, "Language :")) % 15, 0);
  EXPECT_EQ(form->TextWidth(""), 0.0f);
}

// What a message box showed, and the answer it gave.
struct Seen {
  std::string title;
  std::vector<std::string> buttons;
  std::string focused;
};

Seen look() {
  Seen seen;
  Fl_Window* box = Fl::modal();
  if (!box) return seen;
  seen.title = box->label() ? box->label() : "";
  for (int i = 0; i < box->children(); ++i) {
    if (auto* b = dynamic_cast<Fl_Button*>(box->child(i))) {
      seen.buttons.push_back(b->label());
      if (Fl::focus() == b) seen.focused = b->label();
    }
  }
  return seen;
}

struct BoxCase {
  int style;
  std::string keys;
  int answer;
  std::vector<std::string> buttons;
  std::string focused;
};

TEST_F(FltkBackendTest, MessageBoxesShowTheirStyleAndAnswerByKey) {
  const std::vector<BoxCase> cases{
      {4388, "Return", ui::vbNo, {"&Yes", "&No"}, "&No"},             // the cancel question: No is the default
      {4388, "Escape Left Return", ui::vbYes, {"&Yes", "&No"}, "&No"},  // Escape does nothing in a Yes/No box
      {305, "Escape", ui::vbCancel, {"OK", "Cancel"}, "Cancel"},
      {48, "Escape", ui::vbOK, {"OK"}, "OK"},
      {2, "Tab Return", ui::vbRetry, {"&Abort", "&Retry", "&Ignore"}, "&Abort"},
      {3, "y", ui::vbYes, {"&Yes", "&No", "Cancel"}, "&Yes"},
  };
  for (const BoxCase& c : cases) {
    Seen seen;
    later(0.4, [&] {
      seen = look();
      pointAtScreenCentre();
      xdotool("key --delay 60 " + c.keys);
    });
    const int answer = ui::MsgBox("Do you want to cancel the installation?", c.style, std::string("Rededi Dirirozo"));
    EXPECT_EQ(answer, c.answer) << "style " << c.style << ", keys " << c.keys;
    EXPECT_EQ(seen.title, "Rededi Dirirozo");
    EXPECT_EQ(seen.buttons, c.buttons) << "style " << c.style;
    EXPECT_EQ(seen.focused, c.focused) << "style " << c.style;
  }
}

TEST_F(FltkBackendTest, AMessageBoxButtonAnswersWhenClicked) {
  later(0.4, [] {
    Fl_Window* box = Fl::modal();
    for (int i = 0; box && i < box->children(); ++i) {
      auto* b = dynamic_cast<Fl_Button*>(box->child(i));
      if (b && std::string(b->label()) == "&Yes") {
        xdotool("mousemove " + std::to_string(box->x_root() + b->x() + b->w() / 2) + " " +
                std::to_string(box->y_root() + b->y() + b->h() / 2) + " sleep 0.05 click 1");
      }
    }
  });
  EXPECT_EQ(ui::MsgBox("Do you want to cancel the installation?", 4388, std::string("Rededi Dirirozo")), ui::vbYes);
}

TEST_F(FltkBackendTest, TheInputBoxGivesTheTextOrNothingOnCancel) {
  later(0.4, [] {
    pointAtScreenCentre();
    xdotool("key --delay 40 ctrl+a");
    xdotool("type --delay 40 Projects");
    xdotool("key Return");
  });
  EXPECT_EQ(ui::InputBox("Enter a name for new folder :\r\n\r\nC:\\", "New Folder", "old"), "Projects");
  later(0.4, [] {
    pointAtScreenCentre();
    xdotool("key Escape");
  });
  EXPECT_EQ(ui::backend().inputBox("Name:", "New Folder", "kept"), std::nullopt);
}

TEST_F(FltkBackendTest, TheTitleBarHasACloseBoxAndNoMinimiseButton) {
  // The Motif hints the window manager reads: functions move and close;
  // decorations border, title and menu.
  const std::vector<long> hints = windowProperty(*form, "_MOTIF_WM_HINTS");
  ASSERT_EQ(hints.size(), 5u);
  EXPECT_EQ(hints[1], 4 | 32);
  EXPECT_EQ(hints[2], 2 | 8 | 16);
}

TEST_F(FltkBackendTest, ATextTooBigForItsRoomIsDrawnSmallerToShowWhole) {
  using ui::fltk::ShownText;
  const ShownText go{"&Go", FL_HELVETICA, 11, 80, 20, false, true};
  EXPECT_EQ(ui::fltk::fittedSize(go), 11);
  ShownText folder{"&Nouveau R\xC3\xA9pertoire", FL_HELVETICA, 11, 100, 20, false, true};
  const int size = ui::fltk::fittedSize(folder);
  EXPECT_LT(size, 11);
  EXPECT_GT(size, 8);  // it fits there, above the smallest size
  EXPECT_TRUE(ui::fltk::showsWhole(folder, size));
  EXPECT_FALSE(ui::fltk::showsWhole(folder, size + 1));
  // A wrapping text may take the lines its room holds, and no more.
  ShownText two{"Lancer ZOV maintenant.", FL_HELVETICA, 11, 100, 30, true, false};
  EXPECT_EQ(ui::fltk::fittedSize(two), 11);
  two.height = 14;  // one line
  const int oneLine = ui::fltk::fittedSize(two);
  EXPECT_LT(oneLine, 11);
  EXPECT_TRUE(ui::fltk::showsWhole(two, oneLine));
  // What does not fit even at the smallest size is drawn at the smallest.
  folder.width = 10;
  EXPECT_EQ(ui::fltk::fittedSize(folder), 8);
  EXPECT_FALSE(ui::fltk::showsWhole(folder, 8));
}

}  // namespace
}  // namespace zov::test
