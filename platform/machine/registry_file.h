// The text of registry.reg: REGEDIT4 with UTF-8 text.
//
//   REGEDIT4
//
//   ; "Folder" is the text "C:\\Zov" without a terminating NUL
//   [HKEY_CURRENT_USER\Software\Zideruv]
//   @="default text"
//   "Version"="5.2"
//   "Folder"=hex(1):43,3a,5c,5a,6f,76
//   "Data"=hex:01,02,03
//   "Count"=dword:0000001a
//
// Long hex lists are wrapped as regedit wraps them: a backslash at the end
// of a line continues the list on the next one.
// String data are ANSI bytes of the machine's code page; the quoted form is
// written only when it gives back exactly those bytes, everything else is
// written as hex with its type number ("Folder" above is a REG_SZ stored
// without its terminating NUL). The file holds no comment lines, so that
// other programs' REGEDIT4 readers take it.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/machine/registry_store.h"

namespace zov::machine {

// Receives what the reader finds, in file order.
class RegistryTextSink {
 public:
  // A "[path]" line: returns "" when the key is taken, else the reason it is refused.
  virtual std::string key(std::string_view path) = 0;
  // The value lines that follow a key line, checked, with the blank and
  // comment lines between them; readRegistryValues builds the values from them.
  virtual void values(std::string_view lines) = 0;

 protected:
  ~RegistryTextSink() = default;
};

// Reads the text of a registry file; throws RegistryFileError naming the line
// of the first problem. Every value is checked as readRegistryValues reads it,
// but not built: loading a large file costs little, and each key's values are
// built when they are needed.
void readRegistryText(std::string_view text, const std::filesystem::path& file, int codePage, RegistryTextSink& sink);
// Builds the values of lines that readRegistryText passed on, in their order.
void readRegistryValues(std::string_view lines, int codePage,
                        std::vector<std::pair<std::string, RegistryValue>>& values);

// "REGEDIT4" and the blank line after it.
void appendRegistryHeader(std::string& out);
// "[path]".
void appendKeyLine(std::string& out, std::string_view path);
// The line of one value.
void appendValueLines(std::string& out, std::string_view name, const RegistryValue& value, int codePage);

}  // namespace zov::machine
