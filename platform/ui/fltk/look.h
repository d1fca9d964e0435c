// The look of the real-window backend: the classic Windows palette and
// bevels, the stand-in for "MS Sans Serif", and the conversion of the
// model's texts and colours into FLTK's.
#pragma once

#include <FL/Enumerations.H>

#include <cstdint>
#include <string>

#include "platform/ui/font.h"

namespace zov::ui::fltk {

// Box types of the classic look, installed by installLook(): FL_UP_BOX is the
// raised bevel of a button, FL_DOWN_BOX the sunken well of a text field,
// kPressedBox a button held down.
inline constexpr Fl_Boxtype kPressedBox = FL_FREE_BOXTYPE;

// Sets FLTK's colours, box types and fonts once; the display must be open.
void installLook();

// A model colour: a system colour (high bit set, index in the low byte) or 0x00BBGGRR.
Fl_Color screenColor(std::uint32_t modelColor);
// A system colour by its index (15 button face, 16 shadow, 17 grey text, 20 highlight, ...).
Fl_Color systemColor(int index);

// The FLTK font and pixel size standing in for a model font (96 dots an inch).
Fl_Font face(const Font& font);
int pixelSize(const Font& font);

// A model text as FLTK draws it: CR LF and lone CR become LF.
std::string screenText(const std::string& text);
// A text from a multi-line FLTK field as the model holds it: LF becomes CR LF.
std::string modelText(const std::string& screen);

}  // namespace zov::ui::fltk
