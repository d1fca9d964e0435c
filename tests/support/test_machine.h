// A fresh simulated machine in a temporary folder for one test, made the
// current machine, with the script backend installed (its transcript kept).
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <sstream>
#include <string>

#include "platform/machine/machine.h"
#include "platform/ui/script/script_backend.h"

namespace zov::test {

class TestMachine {
 public:
  // A default Windows 7 machine, changed by `edit` before it is written.
  explicit TestMachine(const std::function<void(machine::MachineConfig&)>& edit = {});
  ~TestMachine();

  machine::Machine& machine() { return machine::currentMachine(); }
  const std::filesystem::path& folder() const { return folder_; }
  // Host path of a Windows path on this machine.
  std::filesystem::path host(const std::string& windowsPath) { return machine().files().hostPath(windowsPath); }
  // Writes a file (creating its folders) at a Windows path.
  void writeFile(const std::string& windowsPath, const std::string& content);
  std::string readFile(const std::string& windowsPath);
  bool exists(const std::string& windowsPath);
  // Closes the machine and opens it again from its folder, as the next run would.
  void reopen();

  // Installs the script backend with these commands (one per line).
  ui::ScriptBackend& script(const std::string& commands);
  std::string transcript() const { return transcript_.str(); }

 private:
  std::filesystem::path folder_;
  std::ostringstream transcript_;
  ui::ScriptBackend* backend_ = nullptr;
};

// The machine configuration of a Windows XP machine.
machine::MachineConfig windowsXp();

// The whole content of a host file; empty when it cannot be read.
std::string readHostFile(const std::filesystem::path& file);

}  // namespace zov::test
