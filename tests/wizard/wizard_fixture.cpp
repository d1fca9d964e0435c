#include "tests/wizard/wizard_fixture.h"

#include "localisation/translation_state.h"
#include "platform/runtime/runtime_error.h"
#include "platform/ui/script/script_backend.h"
#include "services/installer_mutex.h"
#include "services/main.h"
#include "services/shared_state.h"
#include "wizard/wizard_windows.h"

namespace zov::test {

void ResetProgramState() {
  WizardPage = 0;
  InstallDir = runtime::FixedString<256>();
  TempDir = runtime::FixedString<256>();
  WindowsDir.clear();
  ProgramName.clear();
  SameVersionDir.clear();
  OsCode = 0;
  UserDir.clear();
  AppDataDir.clear();
  DomainUserDir.clear();
  DomainAppDataDir.clear();
  LanguageIndex = 0;
  SourceTexts.clear();
  TranslatedTexts.clear();
  TranslationCache.fill(std::string());
  ReleaseInstallerMutex();
}

bool WizardTest::run(const std::string& script, const std::function<void(machine::MachineConfig&)>& edit,
                     const std::function<void(TestMachine&)>& prepare) {
  machine = std::make_unique<TestMachine>(edit);
  if (prepare) prepare(*machine);
  ResetProgramState();
  RegisterWizardWindows();
  machine->script(script);
  try {
    Main();
    ended = ui::RunMessageLoop();
  } catch (const runtime::ProgramEnd&) {
    ended = true;
  }
  return ended;
}

std::size_t WizardTest::count(const std::string& text) const {
  const std::string t = transcript();
  std::size_t n = 0;
  for (auto at = t.find(text); at != std::string::npos; at = t.find(text, at + 1)) ++n;
  return n;
}

bool WizardTest::more(const std::string& script) {
  machine->script(script);
  try {
    ended = ui::RunMessageLoop();
  } catch (const runtime::ProgramEnd&) {
    ended = true;
  }
  return ended;
}

void WizardTest::TearDown() {
  if (!machine) return;
  // Close what the test left open, answering whatever the closing asks.
  machine->script("answer Yes\nanswer Yes\n");
  for (ui::Form* f : ui::AllForms()) {
    try {
      ui::Unload(*f);
    } catch (const ui::ScriptAbort&) {
    }
  }
  machine.reset();
}

}  // namespace zov::test
