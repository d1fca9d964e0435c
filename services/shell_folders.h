// Shell special folders, the user's Documents and Local AppData folders, and
// the wide strings the shell hands out. None of them keeps state.
#pragma once

#include <cstdint>
#include <string>

#include "platform/win32/types.h"

namespace zov {

// The path of a shell special folder (a CSIDL number), without a trailing
// NUL; the empty text when the shell cannot give it. Run-time errors reach
// the caller.
std::string GetSpecialFolderPath(std::int32_t csidl);

// Kind 1 the Documents folder, kind 2 the Local AppData folder. On Vista/7
// (OsCode 4) they are known folders; before that both kinds give the
// Documents special folder. Every failure gives the empty text, silently.
std::string GetUserFolder(std::uint8_t kind);

// The NUL-terminated UTF-16 text at an address of the shell's memory; the
// empty text for address 0. The memory is not released.
std::string StringFromWidePtr(win32::Address address);

}  // namespace zov
