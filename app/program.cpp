#include "app/program.h"

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>

#include "platform/machine/machine.h"
#include "platform/runtime/app.h"
#include "platform/runtime/files.h"
#include "platform/runtime/runtime_error.h"
#include "platform/ui/backend.h"
#include "platform/ui/fltk/fltk_backend.h"
#include "platform/ui/form.h"
#include "platform/ui/script/script_backend.h"
#include "services/main.h"
#include "wizard/wizard_windows.h"

namespace zov {

namespace {

// The title of message boxes that name none.
constexpr const char* kApplicationTitle = "ZOV Rededi Dirirozo";

std::string env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

// The script backend, reading ZOV_SCRIPT (a file, or standard input when
// unset or "-") and writing the transcript to ZOV_TRANSCRIPT (a file, or
// standard output).
std::unique_ptr<ui::Backend> scriptBackend(std::unique_ptr<std::ofstream>& transcriptFile) {
  const std::string scriptPath = env("ZOV_SCRIPT");
  std::stringstream text;
  if (scriptPath.empty() || scriptPath == "-") {
    text << std::cin.rdbuf();
  } else {
    std::ifstream in(scriptPath);
    if (!in) throw ui::ScriptError(scriptPath + ": the script cannot be read");
    text << in.rdbuf();
  }
  auto commands = ui::parseScript(text.str(), scriptPath.empty() ? "standard input" : scriptPath);
  std::ostream* out = &std::cout;
  if (const std::string t = env("ZOV_TRANSCRIPT"); !t.empty()) {
    transcriptFile = std::make_unique<std::ofstream>(t);
    if (!*transcriptFile) throw ui::ScriptError(t + ": the transcript cannot be written");
    out = transcriptFile.get();
  }
  return std::make_unique<ui::ScriptBackend>(std::move(commands), *out);
}

}  // namespace

int RunProgram(const char* hostExecutable) {
  try {
    machine::setCurrentMachine(machine::Machine::open(machine::Machine::chosenFolder()));
  } catch (const std::exception& e) {
    std::cerr << "The simulated machine cannot be opened: " << e.what() << "\n";
    return 2;
  }
  runtime::LocateProgram(hostExecutable, kApplicationTitle);

  std::unique_ptr<std::ofstream> transcriptFile;
  try {
    // ZOV_UI chooses the backend: "fltk" a real window, "script" the headless
    // one; unset, the real window when a display is there.
    const std::string choice = env("ZOV_UI");
    if (choice == "fltk" || (choice.empty() && ui::displayAvailable())) {
      ui::setBackend(ui::makeFltkBackend());
    } else if (choice.empty() || choice == "script") {
      ui::setBackend(scriptBackend(transcriptFile));
    } else {
      std::cerr << "ZOV_UI=" << choice << ": the backends are fltk and script\n";
      return 3;
    }
  } catch (const ui::ScriptError& e) {
    std::cerr << e.what() << "\n";
    return 3;
  } catch (const std::runtime_error& e) {
    std::cerr << e.what() << "\n";
    return 3;
  }

  RegisterWizardWindows();
  int status = 0;
  try {
    Main();
    if (!ui::RunMessageLoop()) {
      std::cerr << "The input ended while windows were still open.\n";
      status = 3;
    }
  } catch (const runtime::ProgramEnd&) {
    status = 0;
  } catch (const ui::ScriptAbort& e) {
    std::cerr << e.what() << "\n";
    status = 3;
  } catch (const runtime::RuntimeError& e) {
    // The runtime's standard report of an error that no handler took.
    try {
      ui::MsgBox("Run-time error '" + std::to_string(e.number()) + "':\r\n\r\n" + e.description(), 16);
    } catch (const ui::ScriptAbort&) {
    }
    status = 1;
  }
  runtime::CloseAll();
  return status;
}

}  // namespace zov
