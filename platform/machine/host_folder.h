// The host folder of a drive, as a Host= line of machine.ini names it. An
// absolute one may be any folder of the host. A relative one is a folder
// inside the machine folder, reached from it through no symbolic link: its
// components are walked as written, one folder at a time, none followed if it
// is a link, so that a ".." after a link ("sub/link/..") does not hide the link.
#pragma once

#include <filesystem>
#include <string>

namespace zov::machine {

// Reads a Host= value into `folder`; returns "" or the reason it is refused
// (it leads out of the machine folder, names the machine folder itself, goes
// through a symbolic link, or is no folder).
std::string readHostFolder(const std::filesystem::path& machineFolder, const std::string& value,
                           std::filesystem::path& folder);

}  // namespace zov::machine
