#include "wizard/wizard_windows.h"

#include "wizard/form1.h"

namespace zov {

void RegisterWizardWindows() {
  ui::RegisterDefaultInstance("Form1", [] { return std::make_unique<Form1Window>(); });
}

}  // namespace zov
