// How the real window fits a text into its control. The stored sizes were
// made for Windows' "MS Sans Serif", which is narrower than the font standing
// in for it here, so a caption may not fit at its own size: it is then drawn
// smaller, down to 8 pixels, rather than cut or wrapped onto lines that its
// control does not have. Every control that draws a text of its own (label,
// command button, check box, option button, the message and input boxes'
// texts) fits it by this one rule.
#pragma once

#include <FL/Enumerations.H>

#include <string>

namespace zov::ui::fltk {

// A text as a control shows it: its font at its own size, and its room.
struct ShownText {
  std::string text;  // lines end in LF
  Fl_Font face = FL_HELVETICA;
  int size = 11;              // pixels
  int width = 0, height = 0;  // the room, in pixels
  bool wraps = false;         // wrapped at blanks to the room's width; otherwise its own lines only
  bool accessKeys = false;    // '&' marks an access key and takes no room
};

// Whether the text drawn at `size` lies whole in its room: no line wider than
// the room, and no more lines than the room is high.
bool showsWhole(const ShownText& shown, int size);
// The size it is drawn at: its own, or the largest smaller one at which it
// shows whole; the smallest when none does.
int fittedSize(const ShownText& shown);
// Draws it at its fitted size in its room at (x, y), with the alignment given
// (inside the room and clipped to it, wrapped where it wraps), in the colour set.
void drawFitted(const ShownText& shown, int x, int y, Fl_Align align);

// A widget that draws a text of its own tells what it shows.
class ShowsText {
 public:
  virtual ~ShowsText() = default;
  virtual ShownText shownText() const = 0;
};

}  // namespace zov::ui::fltk
