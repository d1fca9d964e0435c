// The settings store. Before Windows Vista, and whenever the caller passes
// ForceRegistry, settings live in the Windows registry. On Vista/7 (OsCode 4)
// any other flag keeps them as one small text file per value name in each of
// the two settings folders (AppDataDir, then DomainAppDataDir); root and key
// are then ignored, all values sharing the one set of files.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "platform/win32/types.h"

namespace zov {

// The flag that always selects the registry (callers pass 0 otherwise).
inline constexpr std::int32_t ForceRegistry = 999999;

void CreateRegKey(win32::HKEY root, const std::string& subKey, std::int32_t flag);
// In the registry: deletes one key that has no subkeys. In the settings
// folders: deletes every file of each folder and removes the folder.
void DeleteRegKey(win32::HKEY root, const std::string& subKey, std::int32_t flag);
void DeleteRegValue(win32::HKEY root, const std::string& subKey, const std::string& valueName, std::int32_t flag);

// A REG_SZ value, or the default when it is missing or of another type. In
// the settings folders: folder 1, then folder 2 when folder 1 gave a blank
// text; the empty text when neither folder exists.
std::string GetRegString(win32::HKEY root, const std::string& subKey, const std::string& valueName,
                         const std::string& defaultValue, std::int32_t flag);
// Stored as REG_SZ in the ANSI code page, without a terminating NUL.
void SetRegString(win32::HKEY root, const std::string& subKey, const std::string& valueName, const std::string& data,
                  std::int32_t flag);
// A REG_DWORD value, or the default. In the settings folders: folder 2, when
// it exists, decides over folder 1; 0 when neither folder exists.
std::int32_t GetRegDWord(win32::HKEY root, const std::string& subKey, const std::string& valueName,
                         std::int32_t defaultValue, std::int32_t flag);
void SetRegDWord(win32::HKEY root, const std::string& subKey, const std::string& valueName, std::int32_t data,
                 std::int32_t flag);

// True when the value reads back as `data` where the settings store keeps
// it: from the registry, or from every settings folder that is there (at
// least one). Shows no box: a value that cannot be read does not hold.
bool RegStringHolds(win32::HKEY root, const std::string& subKey, const std::string& valueName, const std::string& data,
                    std::int32_t flag);
bool RegDWordHolds(win32::HKEY root, const std::string& subKey, const std::string& valueName, std::int32_t data,
                   std::int32_t flag);

// The subkeys of a registry key (always the registry): 1 to 1024 names in
// the order Windows enumerates them, or the number -2 for no subkeys, a
// failure or more than 1024 subkeys. A trapped run-time error gives neither
// (std::monostate). Callers tell the results apart by kind, never by value.
using SubkeyList = std::variant<std::vector<std::string>, std::int16_t, std::monostate>;
SubkeyList EnumRegKeys(win32::HKEY root, const std::string& subKey);

// The value file `name` in `folder`, item by item: each line is an item, a
// quoted item loses its quotes, the trimmed items are joined and the result
// trimmed. Commas are part of the value. The default when the file does not exist.
std::string ReadConf(const std::string& folder, const std::string& name, const std::string& defaultValue);
// Creates or replaces the value file with the data and CR LF; true when written.
bool WriteConf(const std::string& folder, const std::string& name, const std::string& data);
void DeleteConf(const std::string& folder, const std::string& name);

}  // namespace zov
