#include "wizard/wizard_windows.h"

#include "wizard/form1.h"
#include "wizard/form3.h"

namespace zov {

void RegisterWizardWindows() {
  ui::RegisterDefaultInstance("Form1", [] { return std::make_unique<Form1Window>(); });
  ui::RegisterDefaultInstance("Form3", [] { return std::make_unique<Form3Window>(); });
}

}  // namespace zov
