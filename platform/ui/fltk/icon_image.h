// A picture of the model (rows of 0xAARRGGBB) as an FLTK image with alpha.
#pragma once

#include <FL/Fl_RGB_Image.H>

#include <memory>

#include "platform/ui/control.h"

namespace zov::ui::fltk {

// nullptr for an empty picture.
std::unique_ptr<Fl_RGB_Image> iconImage(const Icon& icon);

}  // namespace zov::ui::fltk
