// ExpandFile from a member on the machine to a file on the machine, as the
// install routine calls it: its speed (MB/s of expanded data) on the same
// random data and text as lz_bench, into a new file and over an installed
// one (which it replaces through a new file renamed over it), and the rise
// of the process's peak resident size while it expands members of 5 MiB,
// 100 MiB and 1000 MiB.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>

#include "packaging/szdd_compressor.h"
#include "platform/machine/machine.h"
#include "platform/ui/script/script.h"
#include "platform/ui/script/script_backend.h"
#include "services/expand_files.h"
#include "tests/lz/support/corpus.h"
#include "tests/lz/support/random_member.h"

namespace {

namespace fs = std::filesystem;
namespace t = zov::lz::testing;

// A fresh Windows 7 machine on virtual time, with the members of the speed
// measures in C:\Bench.
struct BenchMachine {
  BenchMachine() {
    std::random_device rd;
    folder = fs::temp_directory_path() / ("zov-bench-expand-" + std::to_string(rd()));
    auto config = zov::machine::MachineConfig::windows7();
    config.clock = zov::machine::ClockMode::Virtual;
    zov::machine::Machine::create(folder, config);
    zov::machine::setCurrentMachine(zov::machine::Machine::open(folder));
    zov::ui::setBackend(std::make_unique<zov::ui::ScriptBackend>(zov::ui::parseScript("", "bench"), transcript));
    fs::create_directories(host("C:\\Bench"));
    write("C:\\Bench\\random.ex_", zov::packaging::compressSzdd(t::randomBytes(6 * 1024 * 1024, 41)));
    write("C:\\Bench\\text.ex_", zov::packaging::compressSzdd(t::text(8 * 1024 * 1024 + 512 * 1024, 42)));
  }
  ~BenchMachine() {
    zov::machine::setCurrentMachine(nullptr);
    fs::remove_all(folder);
  }
  static fs::path host(const std::string& windowsPath) {
    return zov::machine::currentMachine().files().hostPath(windowsPath);
  }
  static void write(const std::string& windowsPath, const t::Bytes& bytes) {
    std::ofstream out(host(windowsPath), std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  fs::path folder;
  std::ostringstream transcript;
};

BenchMachine& benchMachine() {
  static BenchMachine m;
  return m;
}

const std::string kTarget = "C:\\Bench\\expanded";

std::string member(const benchmark::State& state) {
  return state.range(0) == 0 ? "C:\\Bench\\random.ex_" : "C:\\Bench\\text.ex_";
}

void expandOnce(benchmark::State& state, const std::string& source) {
  const std::int32_t written = zov::ExpandFile(source, kTarget, false);
  if (written <= 0) state.SkipWithError("the expansion failed");
  state.SetBytesProcessed(state.bytes_processed() + written);
}

void BM_ExpandFileIntoANewFile(benchmark::State& state) {
  benchMachine();
  const std::string source = member(state);
  for (auto _ : state) {
    state.PauseTiming();
    fs::remove(BenchMachine::host(kTarget));
    state.ResumeTiming();
    expandOnce(state, source);
  }
  state.SetLabel(state.range(0) == 0 ? "random" : "text");
}
BENCHMARK(BM_ExpandFileIntoANewFile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ExpandFileOverAnInstalledFile(benchmark::State& state) {
  benchMachine();
  const std::string source = member(state);
  zov::ExpandFile(source, kTarget, false);
  for (auto _ : state) expandOnce(state, source);
  state.SetLabel(state.range(0) == 0 ? "random" : "text");
}
BENCHMARK(BM_ExpandFileOverAnInstalledFile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// A line of /proc/self/status in KiB ("VmHWM", "VmRSS").
long statusKiB(const std::string& key) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.compare(0, key.size() + 1, key + ":") == 0) return std::stol(line.substr(key.size() + 1));
  }
  return -1;
}

// The peak resident size made equal to the resident size now, after the
// heap has given back what earlier measures freed, so that the buffers an
// expansion takes count afresh.
bool resetPeak() {
  malloc_trim(0);
  std::ofstream clear("/proc/self/clear_refs");
  clear << "5";
  return static_cast<bool>(clear.flush());
}

void BM_ExpandFilePeakMemory(benchmark::State& state) {
  benchMachine();
  const auto size = static_cast<std::uint32_t>(state.range(0) << 20);
  const std::string source = "C:\\Bench\\large.ex_";
  {
    // Written a block at a time, so that making it raises no peak of its own.
    t::RandomMemberReader reader(size, 7);
    std::ofstream out(BenchMachine::host(source), std::ios::binary);
    std::vector<std::uint8_t> block(1 << 16);
    for (std::ptrdiff_t n; (n = reader.read(block.data(), block.size())) > 0;) {
      out.write(reinterpret_cast<const char*>(block.data()), n);
    }
  }
  long rise = 0;
  for (auto _ : state) {
    state.PauseTiming();
    fs::remove(BenchMachine::host(kTarget));
    if (!resetPeak()) state.SkipWithError("the peak resident size cannot be reset");
    const long before = statusKiB("VmRSS");
    state.ResumeTiming();
    expandOnce(state, source);
    rise = statusKiB("VmHWM") - before;
  }
  state.counters["peak_rise_KiB"] = static_cast<double>(rise);
  fs::remove(BenchMachine::host(source));
  fs::remove(BenchMachine::host(kTarget));
}
BENCHMARK(BM_ExpandFilePeakMemory)->Arg(5)->Arg(100)->Arg(1000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
