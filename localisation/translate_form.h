// Translation of whole windows, and the English texts put back before a
// change of language.
#pragma once

#include "platform/ui/form.h"

namespace zov {

// Replaces each text property of every control of the form by its
// translation, in the form's control order; a run-time error ends the walk
// silently. Nothing happens in English.
void TranslateForm(ui::Form& frm);

// Sets the 14 fixed texts of Form1 back to their English keys.
void RestoreEnglishTexts();

}  // namespace zov
