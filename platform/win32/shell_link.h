// The Shell Link binary file format (.lnk) that the shell's shortcut object
// writes: a 76-byte header, the link information that names the target on
// its volume, the string data (description, working folder, arguments, icon
// location) in UTF-16, and the terminal block.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zov::win32 {

struct ShellLink {
  std::string targetPath;  // a drive path such as C:\Folder\Program.exe; empty for none
  std::string arguments;
  std::string workingDirectory;
  std::string description;
  std::string iconLocation;
  std::int32_t iconIndex = 0;
  std::uint32_t showCommand = 1;  // 1 normal, 3 maximised, 7 minimised without focus
  // What the link records of its target and the target's volume.
  std::uint32_t targetAttributes = 0;
  std::uint32_t targetSize = 0;
  std::uint32_t driveType = 0;
  std::string volumeLabel;
};

// The file's bytes; the ANSI copies of the target path and volume label are
// in `codePage`. Nothing when a text is longer than the format can hold
// (65535 UTF-16 units).
std::optional<std::vector<std::uint8_t>> ShellLinkBytes(const ShellLink& link, int codePage);

}  // namespace zov::win32
