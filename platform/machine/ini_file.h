// A small INI reader for machine.ini: sections, "key=value" lines, ';' or
// '#' comments, repeated keys kept in order. The text must be UTF-8 without a
// byte order mark, NUL or stray carriage return (CR LF line ends are read);
// a section may stand only once, and a file without any is refused. Errors
// name the file and line.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace zov::machine {

struct MachineFileError : std::runtime_error {
  MachineFileError(const std::filesystem::path& file, int line, const std::string& reason);
  std::filesystem::path file;
  int line;
};

struct IniEntry {
  std::string key;
  std::string value;
  int line = 0;
};

struct IniSection {
  std::string name;
  int line = 0;
  std::vector<IniEntry> entries;
};

// Parses the text of an INI file. Section and key names keep their case.
std::vector<IniSection> parseIni(const std::string& text, const std::filesystem::path& file);

}  // namespace zov::machine
