// The module-level state that the whole installer shares. It lives for the
// whole run and belongs to no window; texts start empty, numbers at 0.
#pragma once

#include <cstdint>
#include <string>

#include "platform/runtime/strings.h"

namespace zov {

// Current wizard page: 1 welcome, 2 agreement, 4 destination, 5 check and install.
inline std::uint8_t WizardPage = 0;
// Destination folder; read through Trim.
inline runtime::FixedString<256> InstallDir;
// The Windows temporary folder without a trailing "\"; read through Trim.
inline runtime::FixedString<256> TempDir;
// The Windows folder without a trailing "\"; its first two characters are the system drive.
inline std::string WindowsDir;
// Base name of the product's main program.
inline std::string ProgramName;
// Folder of an installed copy of this version found by the destination checks.
inline std::string SameVersionDir;
// Windows classification: 0 other, 1 Windows 95/98/Me, 2 NT before 5, 3 NT 5 and 7+, 4 NT 6 (Vista, 7).
inline std::int32_t OsCode = 0;
// Per-user data folder and the first settings folder below it (Vista and 7 only).
inline std::string UserDir;
inline std::string AppDataDir;
// The same in a domain account's profile folder (the second settings folder).
inline std::string DomainUserDir;
inline std::string DomainAppDataDir;

}  // namespace zov
