// The install routine (RunInstallation from the start to the finish state:
// every member extracted and expanded into place, the settings, the
// registrations and the shortcuts), next to
// `cp` copying the same expanded files, and `cp` of the members next to
// extracting them alone. Each pair runs side by side in one run of this
// program, on the same disk. A third measure is the floor of the routine's
// own file work: each member written to the temporary folder, its expanded
// file written into place and the member deleted, straight on the host.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <unistd.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <vector>

#include "engine/payload_slots.h"
#include "platform/machine/machine.h"
#include "platform/runtime/app.h"
#include "platform/ui/script/script.h"
#include "platform/ui/script/script_backend.h"
#include "services/main.h"
#include "services/shared_state.h"
#include "wizard/form1.h"
#include "wizard/wizard_windows.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

const fs::path kInstaller = ZOV_SETUPMODERN_EXE;
const fs::path kPayload = ZOV_SETUPMODERN_PAYLOAD;
const std::string kInstallDir = "C:\\Program Files\\ZOV Zuzuzu Rudavero 5";

// A fresh Windows 7 machine on virtual time with the wizard started and the
// installer's own folder mounted, as an unattended run reaches Install.
struct Install {
  Install() {
    std::random_device rd;
    folder = fs::temp_directory_path() / ("zov-bench-install-" + std::to_string(rd()));
    auto config = zov::machine::MachineConfig::windows7();
    config.clock = zov::machine::ClockMode::Virtual;
    zov::machine::Machine::create(folder, config);
    zov::machine::setCurrentMachine(zov::machine::Machine::open(folder));
    zov::ui::setBackend(std::make_unique<zov::ui::ScriptBackend>(zov::ui::parseScript("", "bench"), transcript));
    zov::RegisterWizardWindows();
    zov::runtime::App() = zov::runtime::Application{"", "", "ZOV Rededi Dirirozo"};
    zov::Main();
    auto& files = zov::machine::currentMachine().files();
    zov::runtime::App().Path = files.mountHostFolder(kInstaller.parent_path());
    zov::runtime::App().EXEName = kInstaller.stem().string();
  }
  ~Install() {
    zov::machine::setCurrentMachine(nullptr);
    fs::remove_all(folder);
  }
  // What a previous round left: the installed files and the temporary folder.
  void clear() {
    for (const fs::path& p : {host(kInstallDir), host(zov::runtime::Trim(zov::TempDir) + "\\ZOVTMP"),
                              host("C:\\Windows\\system32"), host("C:\\Users\\user\\Documents\\ZOV Projects")}) {
      fs::remove_all(p);
    }
    fs::create_directories(host(kInstallDir));
    fs::create_directories(host("C:\\Windows\\system32"));
  }
  static fs::path host(const std::string& windowsPath) {
    return zov::machine::currentMachine().files().hostPath(windowsPath);
  }
  fs::path folder;
  std::ostringstream transcript;
};

Install& install() {
  static Install i;
  return i;
}

std::int64_t bytesIn(const fs::path& folder) {
  std::int64_t sum = 0;
  for (const auto& e : fs::directory_iterator(folder)) sum += static_cast<std::int64_t>(e.file_size());
  return sum;
}

// cp -r FROM/. TO, as a person copies a folder.
bool copyWithCp(const fs::path& from, const fs::path& to) {
  std::string source = (from / ".").string(), target = to.string();
  std::string cp = "cp", recursive = "-r";
  char* argv[] = {cp.data(), recursive.data(), source.data(), target.data(), nullptr};
  pid_t child = 0;
  if (posix_spawnp(&child, "cp", nullptr, nullptr, argv, environ) != 0) return false;
  int status = 0;
  return ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool writeWhole(const fs::path& path, const std::string& bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  const bool whole = ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  return ::close(fd) == 0 && whole;
}

std::string readWhole(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void BM_TheRoutinesFileWorkOnTheHost(benchmark::State& state) {
  Install& i = install();
  struct Pair {
    std::string member, expanded, memberName, expandedName;
  };
  std::vector<Pair> pairs;
  std::int64_t bytes = 0;
  for (const auto& slot : zov::PayloadSlots()) {
    const fs::path member = kPayload / "members" / slot.CompressedName;
    const fs::path expanded = kPayload / "sample" / slot.TargetName;
    if (slot.Length == 0 || !fs::exists(member) || !fs::exists(expanded)) continue;
    pairs.push_back({readWhole(member), readWhole(expanded), slot.CompressedName, slot.TargetName});
    bytes += static_cast<std::int64_t>(pairs.back().expanded.size());
  }
  const fs::path temp = Install::host(zov::runtime::Trim(zov::TempDir)) / "ZOVTMP";
  for (auto _ : state) {
    state.PauseTiming();
    i.clear();
    fs::create_directories(temp);
    state.ResumeTiming();
    for (const Pair& p : pairs) {
      if (!writeWhole(temp / p.memberName, p.member) || !writeWhole(Install::host(kInstallDir) / p.expandedName, p.expanded) ||
          ::unlink((temp / p.memberName).c_str()) != 0) {
        state.SkipWithError("a host write failed");
      }
    }
  }
  state.SetBytesProcessed(state.iterations() * bytes);
}

void BM_InstallRoutine(benchmark::State& state) {
  Install& i = install();
  for (auto _ : state) {
    state.PauseTiming();
    i.clear();
    state.ResumeTiming();
    zov::Form1().RunInstallation();
  }
  state.SetBytesProcessed(state.iterations() * bytesIn(kPayload / "sample"));
}

void BM_CpOfTheExpandedFiles(benchmark::State& state) {
  Install& i = install();
  for (auto _ : state) {
    state.PauseTiming();
    i.clear();
    state.ResumeTiming();
    if (!copyWithCp(kPayload / "sample", Install::host(kInstallDir))) state.SkipWithError("cp failed");
  }
  state.SetBytesProcessed(state.iterations() * bytesIn(kPayload / "sample"));
}

void BM_CpOfTheMembers(benchmark::State& state) {
  Install& i = install();
  for (auto _ : state) {
    state.PauseTiming();
    i.clear();
    state.ResumeTiming();
    if (!copyWithCp(kPayload / "members", Install::host(kInstallDir))) state.SkipWithError("cp failed");
  }
  state.SetBytesProcessed(state.iterations() * bytesIn(kPayload / "members"));
}

BENCHMARK(BM_InstallRoutine)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TheRoutinesFileWorkOnTheHost)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CpOfTheExpandedFiles)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CpOfTheMembers)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
