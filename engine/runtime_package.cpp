// The Visual C++ runtime package: started from the install folder, waited
// for until it ends, then removed again.
#include "engine/install_run.h"
#include "platform/runtime/app.h"
#include "platform/runtime/files.h"
#include "platform/runtime/runtime_error.h"
#include "platform/runtime/strings.h"
#include "platform/win32/kernel.h"
#include "services/shared_state.h"

namespace zov {

namespace {
constexpr int kNormalFocus = 1;
}

void RunRuntimePackage(InstallRun& run) {
  const std::string package = runtime::Trim(InstallDir) + "\\vcredist_x86.exe";
  if (!runtime::Dir(package).empty()) {
    // A package that cannot be started gives no process id: it is not
    // waited for, and deleted all the same.
    std::uint32_t processId = 0;
    runtime::IgnoreErrors([&] { processId = runtime::Shell(package, kNormalFocus); });
    if (processId != 0) {
      const win32::HANDLE process = win32::OpenProcess(win32::SYNCHRONIZE, win32::FALSE, processId);
      if (process != 0) {
        // The window neither repaints nor reacts until the package has ended.
        win32::WaitForSingleObject(process, win32::INFINITE);
        win32::CloseHandle(process);
      }
    }
  }
  run.form.InstallDoEvents();
  run.form.DeleteFileWarn(package, false);
}

}  // namespace zov
