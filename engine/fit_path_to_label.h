// Fitting a file path into a one-line label: the beginning of the folder,
// "...\" and the whole file name, or the file name alone when even that is
// too wide.
#pragma once

#include <string>

#include "platform/ui/control.h"
#include "platform/ui/form.h"

namespace zov {

// The text to show for Path on Lbl, measured with Frm's TextWidth; with
// twips as Frm's scale both sides are compared in whole screen pixels.
std::string FitPathToLabel(const std::string& Path, const ui::Form& Frm, const ui::Label& Lbl);

}  // namespace zov
