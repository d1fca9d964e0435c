#include "tests/fltk/sample_form.h"

#include "platform/runtime/runtime_error.h"

namespace zov::test {

SampleForm::SampleForm() : Form("Sample") {
  add(Text1);
  add(Command1);
  add(Command2);
  add(Command3);
  add(Check1);
  add(Frame1);
  add(Option1, &Frame1);
  add(Option2, &Frame1);
  add(Picture1);
  add(Label1, &Picture1);
  add(Image1);
  add(Line1);
  add(Combo1);
  add(Drive1);
  add(Dir1);
  add(Text2);
  add(Label2);

  auto note = [this](const std::string& what) { return [this, what] { log.push_back(what); }; };
  Text1.Change = note("Text1.Change");
  Text1.GotFocus = note("Text1.GotFocus");
  Text1.LostFocus = note("Text1.LostFocus");
  Command1.Click = [this] {
    log.push_back("Command1.Click");
    if (failOnClick) runtime::Raise(runtime::kFileNotFound);
  };
  Command2.Click = note("Command2.Click");
  Command3.Click = note("Command3.Click");
  Check1.Click = note("Check1.Click");
  Option1.Click = note("Option1.Click");
  Option2.Click = note("Option2.Click");
  Image1.Click = note("Image1.Click");
  Combo1.Click = note("Combo1.Click");
  Drive1.Change = note("Drive1.Change");
  Dir1.Change = note("Dir1.Change");
}

void SampleForm::Form_QueryUnload(int& cancel, int unloadMode) {
  log.push_back("QueryUnload " + std::to_string(unloadMode));
  cancel = cancelUnload;
}

void SampleForm::applyStoredLayout() {
  Caption.reset("Sample window");
  ClientWidth = 6000;  // 400 x 300 pixels
  ClientHeight = 4500;
  Text1.place(150, 150, 3000, 375);  // pixels 10, 10, 200 x 25
  Command1.place(3300, 150, 1200, 375);
  Command1.Caption.reset("&Go");
  Command2.place(4650, 150, 1200, 375);
  Command2.Caption.reset("Off");
  Command2.Enabled.reset(false);
  Command3.place(4650, 750, 1200, 375);
  Command3.Caption.reset("Hidden");
  Command3.Visible.reset(false);
  Check1.place(150, 750, 2250, 300);
  Check1.Caption.reset("Tick");
  Frame1.place(150, 1200, 3000, 1500);  // 10, 80, 200 x 100
  Frame1.Caption.reset("Group");
  Option1.place(150, 300, 1500, 300);  // 20, 100
  Option1.Caption.reset("One");
  Option2.place(150, 750, 1500, 300);  // 20, 130
  Option2.Caption.reset("Two");
  Picture1.place(3300, 1200, 1500, 1500);  // 220, 80; its inside starts at 222, 82
  Label1.place(150, 150, 600, 600);        // 232, 92, 40 x 40
  Label1.BackColor.reset(0x000000FF);      // red
  Label1.Caption.reset("");
  Image1.place(4950, 1200, 300, 300);  // 330, 80; shown at its picture's 32 x 32
  Image1.setPicture({});
  Line1.X1.reset(150), Line1.Y1.reset(2850), Line1.X2.reset(3150), Line1.Y2.reset(2850);
  Combo1.place(150, 3000, 2250, 315);  // 10, 200, 150 x 21
  Combo1.Clear();
  for (const char* item : {"Alpha", "Beta", "Gamma"}) Combo1.AddItem(item);
  Drive1.place(3300, 3000, 2250, 315);  // 220, 200
  Dir1.place(150, 3450, 3000, 900);     // 10, 230, 200 x 60
  Text2.place(3300, 3450, 2250, 900);   // 220, 230, 150 x 60
  Text2.MultiLine.reset(true);
  Text2.Locked.reset(true);
  Text2.ScrollBars.reset(2);
  Text2.Text.reset("First line\r\nSecond line");
  Label2.place(4650, 1650, 1200, 600);  // 310, 110
  Label2.Caption.reset("Right");
  Label2.Alignment.reset(1);
  Label2.BackStyle.reset(0);
  Dir1.Path.reset("C:\\");
  Drive1.Drive.reset("c: [System]");
  cancelUnload = 0;
  log.clear();
}

}  // namespace zov::test
