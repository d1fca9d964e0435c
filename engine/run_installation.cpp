// The install routine: the start, the check of the installer's own file,
// the temporary folder, the 57 payload slots with their progress steps, then
// the settings and registrations, the shortcuts and the finish state.
#include "engine/install_run.h"
#include "engine/progress_steps.h"
#include "localisation/contact_addresses.h"
#include "localisation/translate_text.h"
#include "platform/runtime/app.h"
#include "platform/runtime/files.h"
#include "platform/runtime/runtime_error.h"
#include "platform/runtime/strings.h"
#include "platform/ui/backend.h"
#include "services/shared_state.h"

namespace zov {

namespace {

using runtime::Trim;

// The installer refuses a file shorter than this.
constexpr std::int64_t kShortestInstallerFile = 9'000'000;

// The length of the installer's own file; 0 when it cannot be found (the
// program runs under another extension than ".exe"), which refuses it.
std::int64_t InstallerLength(const std::string& path) {
  std::int64_t length = 0;
  runtime::IgnoreErrors([&] { length = runtime::FileLen(path); });
  return length;
}

// The installer's own file: its folder, "\", its base name and ".exe".
std::string OwnInstallerPath() {
  std::string folder = Trim(runtime::App().Path);
  if (runtime::Right(folder, 1) == "\\") folder = runtime::Left(folder, runtime::Len(folder) - 1);
  return Trim(folder) + "\\" + runtime::App().EXEName + ".exe";
}

}  // namespace

void Form1Window::InstallDoEvents() {
  const bool wasLoaded = loaded();
  runtime::DoEvents();
  // A cancel confirmed in the yield has deleted the temporary files and
  // closed the window: nothing may go on working against it.
  if (wasLoaded && !loaded()) runtime::End();
}

void Form1Window::RunInstallation() {
  Command1.Enabled = false;
  Command2.Enabled = false;
  Label11.Caption = TranslateText("Copying files into temporary folder and expanding into install directory...");

  InstallRun run(*this);
  run.InstallerPath = OwnInstallerPath();
  const std::array<PayloadSlot, kSlotCount> slots = PayloadSlots();
  // A file too short to hold the payload, or one whose members are not those
  // the build packed where the slot table puts them (bytes appended, lost or
  // changed), would install garbage: it is refused before anything is written.
  if (InstallerLength(Trim(run.InstallerPath)) < kShortestInstallerFile ||
      !PayloadIntact(Trim(run.InstallerPath), slots)) {
    ui::MsgBox(TranslateText(IncompleteInstallerText()), 48, TranslateText("ZOV Rededi Dirirozo"));
    Command1_Click();
    return;
  }

  run.ExtractDir = Trim(TempDir) + "\\ZOVTMP";
  // A folder that cannot be made is not reported here: every extraction
  // into it then fails with its box, and the main program's ends the run.
  runtime::IgnoreErrors([&] {
    if (runtime::Dir(Trim(run.ExtractDir), runtime::vbDirectory).empty()) runtime::MkDir(Trim(run.ExtractDir));
  });
  InstallDoEvents();

  ShowProgress(StepPercent(0));
  run.EndGap = 0;
  for (const PayloadSlot& slot : slots) ProcessSlot(run, slot);

  WriteSettingsAndRegistrations(run.Account);
  MakeShortcutsAndFinish(run.Account);
}

}  // namespace zov
