// Reading a shortcut file back with lnkinfo (Debian liblnk-utils), a reader
// that other people wrote: the fields it prints, by their names.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>

namespace zov::test {

struct LnkInfo {
  int exitCode = -1;
  std::string output;
  // "Local path", "Description", "Working directory", "Command line arguments",
  // "Icon location", "Icon index", ...: the text after the colon, as printed.
  std::map<std::string, std::string> fields;
};

inline LnkInfo RunLnkinfo(const std::filesystem::path& file) {
  LnkInfo info;
  const std::string command = "lnkinfo '" + file.string() + "' 2>&1";
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) throw std::runtime_error("lnkinfo cannot be started");
  char buffer[4096];
  std::size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) info.output.append(buffer, n);
  const int status = ::pclose(pipe);
  info.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::size_t pos = 0;
  while (pos < info.output.size()) {
    const auto end = info.output.find('\n', pos);
    const std::string line = info.output.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
    pos = end == std::string::npos ? info.output.size() : end + 1;
    const auto colon = line.find("\t: ");
    if (colon == std::string::npos) continue;
    std::string name = line.substr(0, colon);
    name.erase(0, name.find_first_not_of("\t "));
    name.erase(name.find_last_not_of("\t ") + 1);
    info.fields[name] = line.substr(colon + 3);
  }
  return info;
}

}  // namespace zov::test
