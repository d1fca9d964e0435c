// Form1, the installer's main window: the wizard.
#pragma once

#include "platform/ui/form.h"

namespace zov {

class Form1Window : public ui::Form {
 public:
  Form1Window();
  void Form_Load() override;

 protected:
  void applyStoredLayout() override;
};

// The default instance.
Form1Window& Form1();

}  // namespace zov
