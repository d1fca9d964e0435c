// Registers the installer's windows with the window toolkit, so that their
// default instances can be created by name.
#pragma once

namespace zov {
void RegisterWizardWindows();
}  // namespace zov
