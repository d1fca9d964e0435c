// The program's start-up procedure.
#pragma once

namespace zov {

// Brings up the wizard window without waiting for it; from then on the
// program runs in the windows' event handlers.
void Main();

}  // namespace zov
