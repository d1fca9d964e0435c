#include "main.h"

#include "platform/machine/machine.h"
#include "platform/ui/form.h"
#include "services/installer_mutex.h"

namespace zov {

void Main() {
  // A second installer on the machine says so and ends, having changed
  // nothing: two would delete each other's temporary files and replace
  // each other's work.
  if (!TakeInstallerMutex()) {
    SayAnotherInstallationRuns();
    return;
  }
  // No other installer is saving now: the machine's own save files that
  // killed installations left behind go.
  if (HoldsInstallerMutex()) machine::currentMachine().removeLeftoverSaveFiles();
  // Creates the wizard window's default instance when it does not exist yet,
  // then shows it modeless; showing loads it, so Form_Load runs here.
  ui::DefaultInstance("Form1").Show();
}

}  // namespace zov
