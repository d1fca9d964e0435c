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
// Takes time in proportion to the text's length.
std::vector<IniSection> parseIni(const std::string& text, const std::filesystem::path& file);

// The text of one of the machine folder's INI files, read without following
// a link; false when there is none. Throws MachineFileError (line 1) when it
// is a link, no plain file, or cannot be read.
bool readIniFile(const std::filesystem::path& file, std::string& text);

}  // namespace zov::machine
