// Reading a machine.ini of 100,000 [Program NAME] sections and one of
// 100,000 lines in one section, and looking a program up by name among
// 100,000 (with another case than its section's).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "bench/machine/bench_folder.h"
#include "platform/machine/machine_config.h"

namespace {

namespace fs = std::filesystem;
using zov::bench::benchFolder;
using zov::machine::MachineConfig;

constexpr int kCount = 100'000;

// Writes a machine.ini under `name` once.
fs::path iniFile(const std::string& name, const std::string& text) {
  const fs::path file = benchFolder() / name / "machine.ini";
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << text;
  return file;
}

// The default machine with 100,000 [Program NAME] sections of two lines.
const fs::path& manyPrograms() {
  static const fs::path file = [] {
    std::string text = MachineConfig::windows7().toIniText();
    for (int i = 0; i < kCount; ++i) {
      text += "\n[Program tool" + std::to_string(i) + ".exe]\nRunsFor=" + std::to_string(i) + "\nStarts=yes\n";
    }
    return iniFile("programs", text);
  }();
  return file;
}

// The default machine with 100,000 Window= lines in [Desktop].
const fs::path& manyLinesInOneSection() {
  static const fs::path file = [] {
    MachineConfig config = MachineConfig::windows7();
    for (int i = 0; i < kCount; ++i) config.otherWindows.push_back("Untitled - Notepad " + std::to_string(i));
    return iniFile("lines", config.toIniText());
  }();
  return file;
}

void readIni(benchmark::State& state, const fs::path& file) {
  for (auto _ : state) {
    MachineConfig config = MachineConfig::load(file);
    benchmark::DoNotOptimize(config);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * fs::file_size(file)));
}

void readManyProgramSections(benchmark::State& state) { readIni(state, manyPrograms()); }
BENCHMARK(readManyProgramSections)->Unit(benchmark::kMillisecond);

void readManyLinesInOneSection(benchmark::State& state) { readIni(state, manyLinesInOneSection()); }
BENCHMARK(readManyLinesInOneSection)->Unit(benchmark::kMillisecond);

void lookUpAProgramAmongMany(benchmark::State& state) {
  const MachineConfig config = MachineConfig::load(manyPrograms());
  int i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(config.program("TOOL" + std::to_string(i) + ".EXE"));
    i = (i + 7919) % kCount;
  }
}
BENCHMARK(lookUpAProgramAmongMany)->Unit(benchmark::kNanosecond);

}  // namespace
