// Extracting all 56 members of setupmodern.exe into the temporary folder with
// ExtractMember, next to copying the same bytes with one read and one write
// per member on the host. The extraction should stay within twice the copy.
// Also the check of the whole payload that comes before any of it: what it
// adds to an install.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <random>
#include <sstream>
#include <vector>

#include "engine/install_run.h"
#include "engine/payload_slots.h"
#include "platform/machine/machine.h"
#include "platform/runtime/files.h"
#include "platform/ui/script/script.h"
#include "platform/ui/script/script_backend.h"
#include "services/shared_state.h"
#include "wizard/form1.h"
#include "wizard/wizard_windows.h"

namespace {

namespace fs = std::filesystem;

const fs::path kInstaller = ZOV_SETUPMODERN_EXE;
const std::string kExtractDir = "C:\\Users\\user\\AppData\\Local\\Temp\\ZOVTMP";

// A fresh Windows 7 machine with the installer's folder mounted, as a run of
// the installer sees it.
struct Bench {
  Bench() {
    std::random_device rd;
    folder = fs::temp_directory_path() / ("zov-bench-" + std::to_string(rd()));
    zov::machine::Machine::create(folder, zov::machine::MachineConfig::windows7());
    zov::machine::setCurrentMachine(zov::machine::Machine::open(folder));
    zov::ui::setBackend(std::make_unique<zov::ui::ScriptBackend>(zov::ui::parseScript("", "bench"), transcript));
    zov::RegisterWizardWindows();
    zov::ProgramName = "Zuzuzu Rudavero 5";
    installer = files().mountHostFolder(kInstaller.parent_path()) + kInstaller.filename().string();
    zov::runtime::MkDir(kExtractDir);
  }
  ~Bench() {
    zov::machine::setCurrentMachine(nullptr);
    fs::remove_all(folder);
  }
  static zov::machine::FileSystem& files() { return zov::machine::currentMachine().files(); }

  fs::path folder;
  std::ostringstream transcript;
  std::string installer;
  const std::array<zov::PayloadSlot, zov::kSlotCount> slots = zov::PayloadSlots();
};

Bench& bench() {
  static Bench b;
  return b;
}

std::int64_t payloadBytes() {
  std::int64_t sum = 0;
  for (const auto& s : bench().slots) sum += s.Length;
  return sum;
}

void BM_ExtractAllMembers(benchmark::State& state) {
  Bench& b = bench();
  for (auto _ : state) {
    std::int32_t endGap = 0;
    for (const auto& s : b.slots) {
      if (s.Length > 0 && !zov::Form1().ExtractMember(b.installer, kExtractDir + "\\" + s.CompressedName, s.Length, endGap)) {
        state.SkipWithError("an extraction failed");
      }
      endGap += s.Length;
    }
  }
  state.SetBytesProcessed(state.iterations() * payloadBytes());
}

void BM_CopyOneReadOneWrite(benchmark::State& state) {
  Bench& b = bench();
  const fs::path target = Bench::files().hostPath(kExtractDir);
  const int source = ::open(kInstaller.c_str(), O_RDONLY | O_CLOEXEC);
  const auto fileLength = static_cast<std::int64_t>(fs::file_size(kInstaller));
  for (auto _ : state) {
    std::int64_t endGap = 0;
    for (const auto& s : b.slots) {
      if (s.Length > 0) {
        std::vector<std::uint8_t> buffer(static_cast<std::size_t>(s.Length));
        const bool read = ::pread(source, buffer.data(), buffer.size(), fileLength - endGap - s.Length) == s.Length;
        const int dest = ::open((target / (s.CompressedName + ".copy")).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        const bool written = ::write(dest, buffer.data(), buffer.size()) == s.Length;
        ::close(dest);
        if (!read || !written) state.SkipWithError("a copy failed");
      }
      endGap += s.Length;
    }
  }
  ::close(source);
  state.SetBytesProcessed(state.iterations() * payloadBytes());
}

void BM_PayloadCheck(benchmark::State& state) {
  Bench& b = bench();
  for (auto _ : state) {
    if (!zov::PayloadIntact(b.installer, b.slots)) state.SkipWithError("the payload was refused");
  }
  state.SetBytesProcessed(state.iterations() * payloadBytes());
}

BENCHMARK(BM_PayloadCheck)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExtractAllMembers)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyOneReadOneWrite)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
