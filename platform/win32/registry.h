// Windows registry functions (ANSI), on the machine's registry store. They
// return Windows error codes (0 success, 2 not found, 6 bad handle, 234 more
// data, 259 no more items) and never throw.
#pragma once

#include <string>

#include "platform/win32/types.h"

namespace zov::win32 {

LONG RegOpenKeyA(HKEY key, const std::string& subKey, HKEY& result);
LONG RegCreateKeyA(HKEY key, const std::string& subKey, HKEY& result);
// With `data` null only the type and size are returned. A buffer smaller
// than the value gives 234 and the size it needs.
LONG RegQueryValueExA(HKEY key, const std::string& valueName, DWORD* type, void* data, DWORD* size);
LONG RegSetValueExA(HKEY key, const std::string& valueName, DWORD type, const void* data, DWORD size);
// Deletes a key that has no subkeys.
LONG RegDeleteKeyA(HKEY key, const std::string& subKey);
LONG RegDeleteValueA(HKEY key, const std::string& valueName);
// The name of the subkey at `index` in Windows order, into a buffer of `size` bytes.
LONG RegEnumKeyA(HKEY key, DWORD index, std::string& buffer, DWORD size);
LONG RegCloseKey(HKEY key);

}  // namespace zov::win32
