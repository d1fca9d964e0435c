// The runtime's message box and input box as real, modal windows, centred
// on the screen. Each runs its own loop until it is answered.
#pragma once

#include <optional>
#include <string>

#include "platform/ui/backend.h"

namespace zov::ui::fltk {

// The answer of the button chosen (vbOK .. vbNo).
int runMessageBox(const MessageBoxRequest& request);
// The text entered, or nullopt for Cancel.
std::optional<std::string> runInputBox(const std::string& prompt, const std::string& title, const std::string& initial);

}  // namespace zov::ui::fltk
