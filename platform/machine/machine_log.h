// The log of what happened outside the installer on the machine: programs
// started, Program Manager commands, folders opened in the shell. One line
// per event, appended whole.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace zov::machine {

class MachineLog {
 public:
  explicit MachineLog(std::filesystem::path file) : file_(std::move(file)) {}
  void write(const std::string& event);
  // The events written so far by this run, without time stamps (for tests).
  const std::vector<std::string>& thisRun() const { return thisRun_; }
  const std::filesystem::path& file() const { return file_; }

 private:
  std::filesystem::path file_;
  std::vector<std::string> thisRun_;
};

}  // namespace zov::machine
