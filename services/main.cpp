#include "main.h"

#include "platform/ui/form.h"

namespace zov {

void Main() {
  // Creates the wizard window's default instance when it does not exist yet,
  // then shows it modeless; showing loads it, so Form_Load runs here.
  ui::DefaultInstance("Form1").Show();
}

}  // namespace zov
