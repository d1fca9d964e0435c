// The log of what happened outside the installer on the machine: programs
// started, Program Manager commands, folders opened in the shell. One line
// per event, stamped with the machine's time of day, appended whole; control
// characters, bytes that are not UTF-8 and '%' stand as %XX, so that an
// event never splits a line. The log is written only as a plain file of the
// machine folder: not through a symbolic link, and not in place while
// another hard link to it may be a file outside.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/machine/machine_clock.h"

namespace zov::machine {

class MachineLog {
 public:
  // Throws std::runtime_error naming the file when the log there is a link
  // or no plain file.
  MachineLog(std::filesystem::path file, const MachineClock& clock);
  void write(const std::string& event);
  // The events written so far by this run, without time stamps (for tests).
  const std::vector<std::string>& thisRun() const { return thisRun_; }
  const std::filesystem::path& file() const { return file_; }

 private:
  std::filesystem::path file_;
  const MachineClock& clock_;
  std::vector<std::string> thisRun_;
};

}  // namespace zov::machine
