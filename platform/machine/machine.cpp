#include "machine.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <system_error>

#include "platform/machine/atomic_file.h"
#include "platform/machine/kill_at_change.h"
#include "platform/machine/shared_file.h"
#include "platform/machine/windows_errors.h"
#include "platform/text/case_map.h"

namespace zov::machine {

namespace fs = std::filesystem;

namespace {

std::unique_ptr<Machine>& current() {
  static std::unique_ptr<Machine> machine;
  return machine;
}

// Registry content of a fresh Windows installation that the installer meets.
void seedRegistry(RegistryStore& reg) {
  auto check = [&](RegistryResult result) {
    if (result.code) {
      throw std::runtime_error(reg.file().string() + ": cannot be written (error " + std::to_string(result.code) + ")");
    }
  };
  check(reg.createKey("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall"));
  check(reg.createKey("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion"));
  auto sz = [&](const std::string& key, const std::string& text) {
    check(reg.createKey(key));
    RegistryValue v{1, std::vector<std::uint8_t>(text.begin(), text.end())};
    v.data.push_back(0);
    check(reg.setValue(key, "", v));
  };
  sz("HKEY_CLASSES_ROOT\\.txt", "txtfile");
  sz("HKEY_CLASSES_ROOT\\.avi", "AVIFile");
  sz("HKEY_CLASSES_ROOT\\txtfile", "Text Document");
  // The shell object of Windows Script Host, created by its ProgID.
  sz("HKEY_CLASSES_ROOT\\WScript.Shell\\CLSID", "{72C24DD5-D70A-438B-8A42-98424B88AFB8}");
  const char* avi[][2] = {
      {"Compressors\\vids", "{00020001-0000-0000-C000-000000000046}"},
      {"Compressors\\auds", "{0002000F-0000-0000-C000-000000000046}"},
      {"Extensions\\WAV", "{00020003-0000-0000-C000-000000000046}"},
      {"Extensions\\AVI", "{00020000-0000-0000-C000-000000000046}"},
      {"Extensions\\AU", "{00020003-0000-0000-C000-000000000046}"},
      {"Extensions\\BMP", "{00020006-0000-0000-C000-000000000046}"},
      {"Extensions\\DIB", "{00020006-0000-0000-C000-000000000046}"},
      {"RIFFHandlers\\AVI", "{00020000-0000-0000-C000-000000000046}"},
      {"RIFFHandlers\\WAVE", "{00020003-0000-0000-C000-000000000046}"},
      {"CLSID", "{00022602-0000-0000-C000-000000000046}"},
  };
  for (const auto& [key, clsid] : avi) sz(std::string("HKEY_CLASSES_ROOT\\AVIFile\\") + key, clsid);
}

// What a simulated program says when it starts: its name and its greeting,
// or nothing for a file that is no such program.
bool simulatedProgram(FileSystem& files, const std::string& path, std::string& name, std::string& greeting) {
  std::unique_ptr<OpenFile> file;
  if (files.openFile(path, FileAccess::Read, FileDisposition::OpenExisting, FileShare::All, file) != kErrorSuccess) {
    return false;
  }
  std::string head(1024, '\0');
  std::size_t got = 0;
  if (file->read(0, head.data(), head.size(), got) != kErrorSuccess) return false;
  head.resize(got);
  constexpr std::string_view kSignature = "MZ\r\nZOVSIM ";
  if (head.compare(0, kSignature.size(), kSignature) != 0) return false;
  const auto nameEnd = head.find("\r\n", kSignature.size());
  const auto greetingEnd = nameEnd == std::string::npos ? nameEnd : head.find("\r\n", nameEnd + 2);
  if (greetingEnd == std::string::npos) return false;
  name = head.substr(kSignature.size(), nameEnd - kSignature.size());
  greeting = head.substr(nameEnd + 2, greetingEnd - nameEnd - 2);
  return true;
}

void makeFolders(FileSystem& files, const std::string& windowsPath) {
  if (windowsPath.size() < 3) return;
  std::string path;
  std::size_t pos = 0;
  while (pos != std::string::npos) {
    pos = windowsPath.find('\\', pos + 1);
    path = windowsPath.substr(0, pos);
    if (path.size() > 2) files.createDirectory(path);
  }
}

// Makes drives/<letter> in the machine folder where it is missing, through
// no link: a "drives" that is a link makes nothing outside. 0 or the errno.
int makeDriveFolder(const fs::path& machineFolder, char letter) {
  const int folder = ::open(machineFolder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  if (folder < 0) return errno;
  int err = ::mkdirat(folder, "drives", 0777) == 0 || errno == EEXIST ? 0 : errno;
  const int drives = err ? -1 : ::openat(folder, "drives", O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (!err && drives < 0) err = errno;
  const char name[] = {letter, '\0'};
  if (!err && ::mkdirat(drives, name, 0777) != 0 && errno != EEXIST) err = errno;
  if (drives >= 0) ::close(drives);
  ::close(folder);
  return err;
}

}  // namespace

fs::path Machine::chosenFolder() {
  if (const char* chosen = std::getenv(kFolderVariable); chosen && *chosen) return chosen;
  if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data) return fs::path(data) / "zov5" / "machine";
  const char* home = std::getenv("HOME");
  return fs::path(home && *home ? home : "/tmp") / ".local" / "share" / "zov5" / "machine";
}

Machine::Machine(fs::path folder, MachineConfig config)
    : folder_(std::move(folder)),
      config_(std::move(config)),
      hostDisk_{config_.faults.hostFreeBytes},
      clock_(config_.clock),
      otherWindows_(config_.otherWindows) {
  killAtChange(config_.faults.killAtChange);
  for (const auto& [letter, d] : config_.drives) {
    if (!d.host.empty()) continue;
    if (const int err = makeDriveFolder(folder_, letter)) {
      throw std::runtime_error((folder_ / "drives").string() + ": the folder of drive " + letter + " cannot be made: " +
                               (err == ENOTDIR ? "drives is a symbolic link or no folder" : std::strerror(err)));
    }
  }
  attributes_ = std::make_unique<AttributeStore>(folder_ / "attributes", &hostDisk_);
  files_ = std::make_unique<FileSystem>(config_, folder_, *attributes_, &hostDisk_);
  registry_ =
      std::make_unique<RegistryStore>(RegistryStore::load(folder_ / "registry.reg", config_.codePage, &hostDisk_));
  log_ = std::make_unique<MachineLog>(folder_ / "log", clock_);
  programManager_ = std::make_unique<ProgramManager>(folder_ / "progman.ini", config_.programManagerAnswers, *log_);
  files_->setInUseCheck([this](const std::string& path) { return programFileInUse(path); });
}

bool Machine::programFileInUse(const std::string& windowsPath) const {
  for (const auto& [id, p] : processes_) {
    if ((p.keepsFileInUse || running(p)) && text::upper(p.path) == text::upper(windowsPath)) return true;
  }
  return false;
}

void Machine::waitForEnd(const Process& process) {
  const std::uint64_t before = clock_.now();
  clock_.waitUntil(process.endsAt);
  log_->write("waited for process " + std::to_string(process.id) + " to end (" +
              std::to_string(clock_.now() - before) + " ms)");
}

void Machine::create(const fs::path& folder, const MachineConfig& config) {
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec) throw std::runtime_error(folder.string() + ": the machine folder cannot be created: " + ec.message());
  writeFileAtomically(folder / "machine.ini", config.toIniText());
  // A registry kept from an earlier machine.ini holds the machine's values: it is not seeded again.
  const bool keptRegistry = fs::exists(folder / "registry.reg", ec);
  std::unique_ptr<Machine> m(new Machine(folder, config));
  for (const std::string* f : {&config.windowsFolder, &config.systemFolder, &config.tempFolder, &config.documentsFolder,
                               &config.localAppDataFolder, &config.programsFolder, &config.desktopFolder,
                               &config.domainLocalAppDataFolder}) {
    makeFolders(*m->files_, *f);
  }
  makeFolders(*m->files_, config.windowsFolder.substr(0, 2) + "\\Program Files");
  if (!keptRegistry) seedRegistry(*m->registry_);
}

std::unique_ptr<Machine> Machine::open(const fs::path& folder) {
  const fs::path ini = folder / "machine.ini";
  std::error_code ec;
  if (!fs::exists(ini, ec)) create(folder, MachineConfig::windows7());
  return std::unique_ptr<Machine>(new Machine(folder, MachineConfig::load(ini)));
}

std::uint32_t Machine::startProgram(const std::string& commandLine, int windowStyle, std::uint32_t& error) {
  error = kErrorSuccess;
  std::string program, arguments;
  auto isFile = [&](const std::string& path) {
    std::uint32_t attrs = 0;
    return files_->attributes(path, attrs) == kErrorSuccess && !(attrs & kAttrDirectory);
  };
  std::string line = commandLine;
  while (!line.empty() && line.front() == ' ') line.erase(0, 1);
  if (!line.empty() && line.front() == '"') {
    const auto close = line.find('"', 1);
    program = line.substr(1, close == std::string::npos ? std::string::npos : close - 1);
    arguments = close == std::string::npos ? "" : line.substr(close + 1);
    if (!isFile(program) && isFile(program + ".exe")) program += ".exe";
    if (!isFile(program)) program.clear();
  } else {
    // Unquoted: try "C:\Program", "C:\Program Files\A", ... up to the whole line.
    std::size_t pos = 0;
    while (true) {
      const auto space = line.find(' ', pos);
      const std::string candidate = line.substr(0, space);
      if (isFile(candidate) || isFile(candidate + ".exe")) {
        program = isFile(candidate) ? candidate : candidate + ".exe";
        arguments = space == std::string::npos ? "" : line.substr(space);
        break;
      }
      if (space == std::string::npos) break;
      pos = space + 1;
    }
  }
  if (program.empty()) {
    error = kErrorFileNotFound;
    log_->write("could not start: " + commandLine);
    return 0;
  }
  WindowsPath parsed;
  files_->parse(program, parsed);
  const std::string path = files_->canonical(parsed);
  const ProgramConfig plain;
  const ProgramConfig* behaviour = config_.program(path.substr(path.rfind('\\') + 1));
  if (!behaviour) behaviour = &plain;
  if (!behaviour->starts) {
    error = kErrorAccessDenied;
    log_->write("could not start: " + commandLine + " (the machine refuses to start it)");
    return 0;
  }
  Process p{nextProcessId_, path, arguments, windowStyle, clock_.now() + behaviour->runsFor, behaviour->opens,
            behaviour->keepsFileInUse};
  nextProcessId_ += 4;
  processes_[p.id] = p;
  log_->write("started process " + std::to_string(p.id) + ": " + p.path + (arguments.empty() ? "" : " |" + arguments) +
              " (window style " + std::to_string(windowStyle) + ")");
  std::string name, greeting;
  if (simulatedProgram(*files_, p.path, name, greeting)) {
    const auto first = arguments.find_first_not_of(' ');
    log_->write(name + " (process " + std::to_string(p.id) + ") says: " + greeting +
                " Arguments: " + (first == std::string::npos ? "none" : arguments.substr(first)));
  }
  return p.id;
}

void Machine::removeLeftoverSaveFiles() {
  for (const fs::path* file : {&registry_->file(), &attributes_->file()}) SharedFile(*file).removeLeftovers();
  removeLeftoverTemporaries(programManager_->file());
}

const Process* Machine::process(std::uint32_t id) const {
  const auto it = processes_.find(id);
  return it == processes_.end() ? nullptr : &it->second;
}

Machine& currentMachine() {
  if (!current()) throw std::logic_error("no machine has been opened");
  return *current();
}

void setCurrentMachine(std::unique_ptr<Machine> machine) { current() = std::move(machine); }

bool hasCurrentMachine() { return current() != nullptr; }

}  // namespace zov::machine
