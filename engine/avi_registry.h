// The AVIFile registrations of Windows under HKEY_CLASSES_ROOT: the class
// identifiers of the AVI file library's stream compressors, its file
// handlers by extension and by RIFF form, and the library's own class.
#pragma once

#include <array>

namespace zov {

struct AviRegistration {
  const char* key;      // under HKEY_CLASSES_ROOT; its default value holds
  const char* classId;  // this text, of type REG_SZ
};

// In the order in which they are checked and repaired.
extern const std::array<AviRegistration, 10> AviRegistryTable;

// True when every key's default value, trimmed of blanks, is its class
// identifier exactly (letter case counts); stops at the first that is not.
// Only reads; shows nothing of its own.
bool CheckAviRegistry();
// Writes the ten default values in table order (always in the registry),
// each whatever the others achieved. False when a write failed: a run-time
// error, or a value that does not read back as written (the registry
// refused it). Shows nothing of its own.
bool FixAviRegistry();

}  // namespace zov
