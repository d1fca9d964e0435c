#include "os_version.h"

#include <string>

#include "platform/runtime/runtime_error.h"
#include "platform/ui/backend.h"
#include "platform/win32/kernel.h"

namespace zov {

std::uint8_t GetOsCode() {
  try {
    // A failed call leaves the record zero, which classifies as 0.
    win32::OSVERSIONINFO info{};
    info.dwOSVersionInfoSize = sizeof(win32::OSVERSIONINFO);
    win32::GetVersionExA(info);
    if (info.dwPlatformId == 2 && info.dwMajorVersion >= 5) return info.dwMajorVersion == 6 ? 4 : 3;
    if (info.dwPlatformId == 1) return 1;
    if (info.dwPlatformId == 2) return 2;
    return 0;
  } catch (const runtime::RuntimeError& e) {
    ui::MsgBox("Error : 4-" + std::to_string(e.number()) + " " + e.description(), 0);
    return 0;
  }
}

}  // namespace zov
