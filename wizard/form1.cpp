#include "form1.h"

#include "services/os_version.h"
#include "services/shared_state.h"
#include "wizard/product_icon.h"

namespace zov {

Form1Window::Form1Window() : Form("Form1") {}

void Form1Window::applyStoredLayout() {
  Caption.reset("ZOV Rededi Dirirozo - Install");
  ClientWidth = 6450;
  ClientHeight = 4635;
  BorderStyle = 1;  // fixed single, close box, no minimise or maximise button
  closeBox = true;
  font = ui::Font{"MS Sans Serif", 9.75f, false};
  ScaleMode = 1;
  icon = ProductIcon();
}

void Form1Window::Form_Load() { OsCode = GetOsCode(); }

Form1Window& Form1() { return static_cast<Form1Window&>(ui::DefaultInstance("Form1")); }

}  // namespace zov
