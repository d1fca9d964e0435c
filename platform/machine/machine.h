// One simulated Windows machine: a folder holding machine.ini (what the
// machine is), drives/ (the content of each drive), registry.reg, the
// attribute store and the log. Created with defaults on first use and kept
// between runs.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "platform/machine/attribute_store.h"
#include "platform/machine/file_system.h"
#include "platform/machine/machine_clock.h"
#include "platform/machine/machine_config.h"
#include "platform/machine/machine_log.h"
#include "platform/machine/program_manager.h"
#include "platform/machine/registry_store.h"

namespace zov::machine {

// A program started on the machine.
struct Process {
  std::uint32_t id = 0;
  std::string path;       // Windows path of the program file
  std::string arguments;  // the rest of the command line
  int windowStyle = 1;
  std::uint64_t endsAt = 0;      // machine time of its end
  bool opens = true;             // OpenProcess gives a handle
  bool keepsFileInUse = false;   // its file stays in use after its end
};

class Machine {
 public:
  // The machine folder chosen by the environment variable ZOV_MACHINE, or
  // the default one in the user's data folder.
  static std::filesystem::path chosenFolder();
  static constexpr const char* kFolderVariable = "ZOV_MACHINE";

  // Opens the machine in `folder`, creating a default Windows 7 machine when
  // the folder has no machine.ini (a registry.reg kept there is kept as it
  // is). Throws MachineFileError for a machine.ini or progman.ini and
  // RegistryFileError for a registry.reg that does not parse (the files are
  // left as they were), std::runtime_error when a folder cannot be created.
  // The folder of each drive kept in the machine folder is made when it is
  // missing.
  static std::unique_ptr<Machine> open(const std::filesystem::path& folder);
  // Writes a new machine folder from a configuration (tests and tools).
  static void create(const std::filesystem::path& folder, const MachineConfig& config);

  const std::filesystem::path& folder() const { return folder_; }
  const MachineConfig& config() const { return config_; }
  FileSystem& files() { return *files_; }
  RegistryStore& registry() { return *registry_; }
  AttributeStore& attributes() { return *attributes_; }
  MachineLog& log() { return *log_; }
  // The time of the machine (machine.ini's Clock): every wait goes through it.
  MachineClock& clock() { return clock_; }
  // Program Manager, the machine's DDE server; its groups are kept in progman.ini.
  ProgramManager& programManager() { return *programManager_; }

  // Starts a program by command line, as CreateProcess reads one: a quoted
  // program path, or the shortest run of words that names a program file.
  // Returns 0 when there is no such program (and `error` says why).
  // A simulated program says who it is: a file that begins with "MZ" CR LF,
  // a line "ZOVSIM <name>" and a line of greeting (each ended by CR LF)
  // writes "<name> (process <id>) says: <greeting> Arguments: <arguments,
  // without leading blanks, or none>" to the log after the start.
  // A program with a [Program <name>] section runs as that section says;
  // any other ends at once. While it runs its file is in use.
  std::uint32_t startProgram(const std::string& commandLine, int windowStyle, std::uint32_t& error);
  const Process* process(std::uint32_t id) const;
  bool running(const Process& process) const { return clock_.now() < process.endsAt; }
  // Lets machine time pass until the process has ended.
  void waitForEnd(const Process& process);
  const std::map<std::uint32_t, Process>& processes() const { return processes_; }

  // Removes the temporary files that saves of registry.reg, attributes and
  // progman.ini cut short by a kill left behind ("<file>.~zovsave-" and six
  // letters or digits), and no other file of the machine folder. Those of
  // registry.reg and attributes go under their files' locks; progman.ini has
  // no lock, so every one of its temporary files goes: call this only while
  // no other program can be saving progman.ini (one installer at a time).
  void removeLeftoverSaveFiles();

  // Titles of the other programs' top-level windows, topmost first.
  std::vector<std::string>& otherWindows() { return otherWindows_; }

 private:
  Machine(std::filesystem::path folder, MachineConfig config);
  // A started program's file that is in use: the program runs or keeps it.
  bool programFileInUse(const std::string& windowsPath) const;

  std::filesystem::path folder_;
  MachineConfig config_;
  HostDisk hostDisk_;
  std::unique_ptr<AttributeStore> attributes_;
  std::unique_ptr<FileSystem> files_;
  std::unique_ptr<RegistryStore> registry_;
  std::unique_ptr<MachineLog> log_;
  MachineClock clock_;
  std::unique_ptr<ProgramManager> programManager_;
  std::map<std::uint32_t, Process> processes_;
  std::uint32_t nextProcessId_ = 2412;
  std::vector<std::string> otherWindows_;
};

// The machine this program runs on, set once at start-up.
Machine& currentMachine();
void setCurrentMachine(std::unique_ptr<Machine> machine);
bool hasCurrentMachine();

}  // namespace zov::machine
