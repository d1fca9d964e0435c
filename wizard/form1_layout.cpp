// Form1 as stored: every control with its container, position, font, text and state.
#include "localisation/translation_table.h"
#include "services/build_identity.h"
#include "wizard/form1.h"
#include "wizard/product_icon.h"

namespace zov {

namespace {

constexpr std::uint32_t kBarGreen = 0x0000C000;  // red 0, green 192, blue 0

const ui::Font kWindowFont{"MS Sans Serif", 9.75f, false};
const ui::Font kSmallFont{"MS Sans Serif", 8.25f, false};

}  // namespace

Form1Window::Form1Window() : Form("Form1") {
  add(Command3);
  add(Command2);
  add(Command1);
  add(Frame2);
  add(Picture1, &Frame2);
  add(Image1, &Picture1);
  add(Frame1(1));
  add(Combo1, &Frame1(1));
  add(Label2, &Frame1(1));
  add(Label5, &Frame1(1));
  add(Line1, &Frame1(1));
  add(Label4, &Frame1(1));
  add(Label1, &Frame1(1));
  add(Frame1(2));
  add(Option2, &Frame1(2));
  add(Option1, &Frame1(2));
  add(Text1, &Frame1(2));
  add(Label3, &Frame1(2));
  add(Frame1(4));
  add(Picture2, &Frame1(4));
  add(Label8, &Picture2);
  add(Label7, &Picture2);
  add(Check1, &Frame1(4));
  add(Label12, &Frame1(4));
  add(Label11, &Frame1(4));
  add(Frame1(3));
  add(Text2, &Frame1(3));
  add(Command4, &Frame1(3));
  add(Label9, &Frame1(3));

  // Input for the page flow and the destination does nothing while page 5
  // works; Cancel, the close box and the picture always act.
  auto unlessWorking = [this](void (Form1Window::*handler)()) {
    return [this, handler] {
      if (!working_) (this->*handler)();
    };
  };
  Command1.Click = unlessWorking(&Form1Window::Command1_Click);
  Command2.Click = unlessWorking(&Form1Window::Command2_Click);
  Command3.Click = [this] { Command3_Click(); };
  Command4.Click = unlessWorking(&Form1Window::Command4_Click);
  Option1.Click = unlessWorking(&Form1Window::Option1_Click);
  Option2.Click = unlessWorking(&Form1Window::Option2_Click);
  Text2.LostFocus = unlessWorking(&Form1Window::Text2_LostFocus);
  Image1.Click = [this] { Image1_Click(); };
  Combo1.Click = unlessWorking(&Form1Window::Combo1_Click);
}

void Form1Window::applyStoredLayout() {
  Caption.reset("ZOV Rededi Dirirozo - Install");
  ClientWidth = 6450;
  ClientHeight = 4635;
  BorderStyle = 1;  // fixed single: close box, no minimise or maximise button
  closeBox = true;
  font = kWindowFont;
  ScaleMode = 1;
  icon = ProductIcon();
  image1Clicks_ = 0;
  placeControls();
}

void Form1Window::placeControls() {
  const auto& english = TranslationRows();
  auto button = [](ui::CommandButton& b, const char* caption, float l, float t, float w, float h) {
    b.place(l, t, w, h);
    b.font = kSmallFont;
    b.Caption.reset(caption);
    b.Visible.reset(true);
    b.Enabled.reset(true);
  };
  auto label = [](ui::Label& lb, const std::string& caption, float l, float t, float w, float h, const ui::Font& f) {
    lb.place(l, t, w, h);
    lb.font = f;
    lb.Caption.reset(caption);
    lb.Alignment.reset(0);
    lb.BackStyle.reset(1);
    lb.BackColor.reset(ui::kColorButtonFace);
    lb.ForeColor.reset(ui::kColorWindowText);
    lb.Visible.reset(true);
  };
  auto frame = [](ui::Frame& f, float l, float t, float w, float h, bool visible) {
    f.place(l, t, w, h);
    f.font = kSmallFont;
    f.Caption.reset("");
    f.Visible.reset(visible);
  };

  button(Command3, "Cancel", 3060, 4185, 1125, 360);
  button(Command2, "Next >>", 5370, 4185, 975, 360);
  button(Command1, "<< Back", 4320, 4185, 975, 360);
  Command1.Enabled.reset(false);

  frame(Frame2, 90, 0, 795, 4065, true);
  Picture1.place(135, 270, 555, 555);
  Picture1.font = kSmallFont;
  Picture1.LinkTopic.reset("");
  Picture1.LinkItem.reset("");
  Picture1.LinkMode.reset(0);
  Image1.place(15, 15, 435, 435);
  Image1.setPicture({});
  Image1.Tag.reset("");

  frame(Frame1(1), 960, 0, 5415, 4080, true);
  Combo1.place(1410, 1995, 1875, 315);
  Combo1.font = kSmallFont;
  Combo1.Clear();
  for (const char* item : {"English", "Deutsch", "Français", "Espanol"}) Combo1.AddItem(item);
  label(Label2, "Language :", 180, 2010, 1125, 255, kWindowFont);
  Label2.Alignment.reset(1);
  label(Label5, VersionLabel(), 165, 3735, 5055, 225, kWindowFont);
  Label5.ForeColor.reset(ui::kColorDarkShadow);
  Label5.BackStyle.reset(0);
  Line1.place(120, 3375, 5190, 0);
  Line1.X1.reset(120), Line1.Y1.reset(3375), Line1.X2.reset(5310), Line1.Y2.reset(3375);
  Line1.BorderColor.reset(ui::kColorDarkShadow);
  label(Label4, "ZOV Rededi Dirirozo", 165, 3465, 4995, 255, kWindowFont);
  Label4.ForeColor.reset(ui::kColorDarkShadow);
  Label4.BackStyle.reset(0);
  label(Label1,
        "ZOV Rededi Dirirozo is going to be installed on your computer. Please click on the 'Next' button to "
        "determinine a directory.",
        120, 270, 5175, 2190, kWindowFont);
  Label1.BackStyle.reset(0);

  frame(Frame1(2), 960, 0, 5415, 4080, false);
  Option2.place(210, 3600, 3675, 240);
  Option2.font = kSmallFont;
  Option2.Caption.reset("No I Do Not Agree.");
  Option2.Value.reset(false);
  Option1.place(210, 3240, 3495, 240);
  Option1.font = kSmallFont;
  Option1.Caption.reset("Yes I Agree.");
  Option1.Value.reset(false);
  Text1.place(120, 900, 5145, 2115);
  Text1.font = kSmallFont;
  Text1.MultiLine.reset(true);
  Text1.ScrollBars.reset(2);
  Text1.Locked.reset(true);
  Text1.Text.reset(english[9][kEnglish]);
  label(Label3, "Please read before you continue :", 180, 390, 3735, 315, kWindowFont);

  frame(Frame1(4), 960, 0, 5415, 4065, false);
  Picture2.place(90, 2730, 5235, 315);
  Picture2.font = kSmallFont;
  Picture2.Visible.reset(true);
  label(Label8, "0%", 0, 0, 5205, 255, kWindowFont);
  Label8.Alignment.reset(2);
  Label8.BackStyle.reset(0);
  label(Label7, "", 0, 0, 5205, 315, kSmallFont);
  Label7.BackColor.reset(kBarGreen);
  Check1.place(3375, 3645, 1950, 195);
  Check1.font = kSmallFont;
  Check1.Caption.reset("Launch ZOV now.");
  Check1.Value.reset(0);
  Check1.Visible.reset(false);
  label(Label12, "", 135, 1710, 5175, 795, kWindowFont);
  Label12.Alignment.reset(2);
  label(Label11, "", 120, 240, 5205, 1185, kWindowFont);

  frame(Frame1(3), 960, 0, 5415, 4065, false);
  Text2.place(180, 945, 5055, 375);
  Text2.font = kWindowFont;
  Text2.Text.reset("");
  Text2.MultiLine.reset(false);
  button(Command4, "Change Dir", 3480, 1455, 1755, 375);
  label(Label9, "Click on the 'Install' button to install the Rededi Dirirozo into the following directory :", 180,
        240, 5115, 615, kWindowFont);
}

}  // namespace zov
