// The calling thread's last-error value, set by the functions that fail.
#pragma once

#include "platform/win32/types.h"

namespace zov::win32 {
void SetLastError(DWORD error);
}  // namespace zov::win32
