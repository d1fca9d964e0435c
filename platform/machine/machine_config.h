// What a simulated machine is: the contents of its machine.ini.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/machine/machine_clock.h"

namespace zov::machine {

enum class VersionQuery { Answers, Fails, EntryPointMissing };

struct DriveConfig {
  char letter = 'C';
  // 0 unknown, 1 no root folder, 2 removable, 3 fixed, 4 network, 5 CD-ROM, 6 RAM disk.
  int type = 3;
  std::string label;
  // Host folder of the drive's content; empty means drives/<letter> in the
  // machine folder. A relative Host= in machine.ini is taken relative to the
  // machine folder.
  std::filesystem::path host;
  bool medium = true;     // false: the drive is there but holds no disk ("not ready")
  bool full = false;      // every write to the drive fails with "disk full"
  bool readOnly = false;  // every change on the drive is refused ("access denied")
  std::optional<std::uint64_t> freeBytes;  // reported free space; the host's when not set
};

struct Faults {
  VersionQuery versionQuery = VersionQuery::Answers;
  bool knownFoldersFail = false;
  bool userNameFails = false;
  bool accountLookupFails = false;
  // Windows paths (compared without case). Attributes of these cannot be changed.
  std::vector<std::string> lockedAttributes;
  // Windows paths refusing every change to themselves and to everything below them.
  std::vector<std::string> refuseWrites;
  // Files held open by another program: they cannot be written, replaced or deleted.
  std::vector<std::string> lockedFiles;
  // Registry keys ("HKEY_LOCAL_MACHINE\Software\X", compared without case)
  // that refuse to be read, with every key below them: opening them,
  // reading their values and listing their subkeys is access denied.
  std::vector<std::string> unreadableKeys;
  // Registry keys (full paths, e.g. HKEY_CLASSES_ROOT) refusing every change
  // to themselves and to every key below them.
  std::vector<std::string> refuseRegistryWrites;
  // Room left on the host disk that holds the machine folder, for this run:
  // every byte the machine writes there uses it up (unlimited when not set).
  std::optional<std::uint64_t> hostFreeBytes;
  // The program is killed (SIGKILL) at its Nth change of the machine's files
  // in this run (see kill_at_change.h); never when not set.
  std::optional<std::uint64_t> killAtChange;
};

// How a program of the machine behaves when it is started ([Program <file name>]).
struct ProgramConfig {
  std::string name;              // the program file's name, compared without case
  std::uint64_t runsFor = 0;     // milliseconds of machine time from its start to its end
  bool starts = true;            // false: it cannot be started (no process id)
  bool opens = true;             // false: OpenProcess refuses its processes
  bool keepsFileInUse = false;   // its file stays in use after it has ended
};

struct MachineConfig {
  // Version information as GetVersionExA reports it.
  std::uint32_t platformId = 2;
  std::uint32_t majorVersion = 6;
  std::uint32_t minorVersion = 1;
  std::uint32_t buildNumber = 7601;
  std::string servicePack = "Service Pack 1";

  std::string userName = "user";
  std::string domain;  // the account's domain; empty: the machine's own name
  std::string computerName = "ZOVPC";
  std::uint16_t uiLanguage = 0x0409;
  int codePage = 1252;
  // How time passes on the machine: real time for a person, virtual time for tests.
  ClockMode clock = ClockMode::Real;

  // Standard folders (Windows paths). An empty text means Windows cannot give it.
  std::string tempFolder;
  std::string windowsFolder;
  std::string systemFolder;
  std::string documentsFolder;
  std::string localAppDataFolder;
  std::string programsFolder;
  std::string desktopFolder;
  // The local application data of the user's domain-account profile; made
  // with the machine when set (no Windows function names it).
  std::string domainLocalAppDataFolder;

  std::map<char, DriveConfig> drives;  // by upper-case letter

  // Titles of the top-level windows of other programs, topmost first.
  std::vector<std::string> otherWindows;
  bool programManagerAnswers = true;

  Faults faults;

  // The programs of the [Program NAME] sections, by their names in upper
  // case (text::upper), so that a name is found without case in one step.
  std::map<std::string, ProgramConfig> programs;
  // Adds a program, or replaces the one whose name differs only in case.
  void addProgram(ProgramConfig program);
  // The behaviour of a program file (by its name, compared without case), or
  // nullptr for the plain one.
  const ProgramConfig* program(const std::string& fileName) const;

  // The default machine: Windows 7 SP1, user "user", A: removable, C: fixed, D: CD-ROM.
  static MachineConfig windows7();
  // Reads machine.ini; throws MachineFileError naming the line of any problem.
  static MachineConfig load(const std::filesystem::path& file);
  // The same from the text of a machine.ini; `file` names it in errors, and
  // its folder is the base of relative Host= folders.
  static MachineConfig parse(const std::string& text, const std::filesystem::path& file);
  // The text of a machine.ini describing this machine.
  std::string toIniText() const;

  const DriveConfig* drive(char letter) const;
};

}  // namespace zov::machine
