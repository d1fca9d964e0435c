// Loading a registry.reg of 100,000 values over 1,000 keys, saving one
// change to it, and enumerating a key of 2,000 subkeys by index; with the
// plain file operations they are measured against: reading the same file,
// and writing it, flushing it, renaming it over itself and flushing the folder.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include <filesystem>
#include <string>

#include "bench/machine/bench_folder.h"
#include "platform/machine/registry_store.h"

namespace {

namespace fs = std::filesystem;
using zov::bench::benchFolder;
using zov::machine::RegistryStore;
using zov::machine::RegistryValue;

constexpr int kKeys = 1000;
constexpr int kValuesPerKey = 100;

std::string productKey(int i) {
  return "HKEY_LOCAL_MACHINE\\Software\\Vendor" + std::to_string(i % 10) + "\\Product" + std::to_string(i);
}

// The text of a large registry, with every kind of value the product writes.
std::string largeRegistryText() {
  static constexpr const char* kData[] = {"dword:000004d2", "hex(1):43,3a,5c,5a,6f,76,5c,70,72,6f,64,75,63,74",
                                          "hex:01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10"};
  std::string out = "REGEDIT4\n\n";
  for (int k = 0; k < kKeys; ++k) {
    out += '[';
    out += productKey(k);
    out += "]\n";
    for (int v = 0; v < kValuesPerKey; ++v) {
      out += "\"Value";
      out += std::to_string(v);
      out += "\"=";
      if (v % 4 == 0) {
        out += "\"C:\\\\Program Files\\\\Product ";
        out += std::to_string(k);
        out += '"';
      } else {
        out += kData[v % 4 - 1];
      }
      out += '\n';
    }
    out += '\n';
  }
  return out;
}

const fs::path& largeRegistryFile() {
  static const fs::path file = [] {
    const fs::path f = benchFolder() / "large.reg";
    RegistryStore reg = RegistryStore::fromText(largeRegistryText(), f, 1252);
    reg.createKey("HKEY_CURRENT_USER\\Software");  // the first change saves the whole registry
    return f;
  }();
  return file;
}

void loadLargeRegistry(benchmark::State& state) {
  const fs::path& file = largeRegistryFile();
  for (auto _ : state) {
    RegistryStore reg = RegistryStore::load(file, 1252);
    benchmark::DoNotOptimize(reg);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * fs::file_size(file)));
}
BENCHMARK(loadLargeRegistry)->Unit(benchmark::kMillisecond);

void plainRead(benchmark::State& state) {
  const fs::path& file = largeRegistryFile();
  std::string text(fs::file_size(file), '\0');
  for (auto _ : state) {
    const int fd = ::open(file.c_str(), O_RDONLY);
    if (fd < 0 || ::read(fd, text.data(), text.size()) != static_cast<ssize_t>(text.size()) || ::close(fd) != 0) {
      state.SkipWithError("the plain read failed");
    }
    benchmark::DoNotOptimize(text.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * fs::file_size(file)));
}
BENCHMARK(plainRead)->Unit(benchmark::kMillisecond);

void plainWriteFlushRename(benchmark::State& state) {
  std::ifstream in(largeRegistryFile(), std::ios::binary);
  std::stringstream buffer;
  buffer << in.rdbuf();
  const std::string text = buffer.str();
  const fs::path file = benchFolder() / "plain.reg", temp = benchFolder() / "plain.reg.tmp";
  // The folder is flushed after the rename, as a save does, so that the change outlives a crash.
  const int folder = ::open(benchFolder().c_str(), O_RDONLY | O_DIRECTORY);
  for (auto _ : state) {
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0 || ::write(fd, text.data(), text.size()) != static_cast<ssize_t>(text.size()) || ::fsync(fd) != 0 ||
        ::close(fd) != 0 || ::rename(temp.c_str(), file.c_str()) != 0 || ::fsync(folder) != 0) {
      state.SkipWithError("the plain write failed");
    }
  }
  ::close(folder);
}
BENCHMARK(plainWriteFlushRename)->Unit(benchmark::kMillisecond);

void saveOneChange(benchmark::State& state) {
  RegistryStore reg = RegistryStore::load(largeRegistryFile(), 1252);
  std::uint8_t n = 0;
  for (auto _ : state) {
    reg.setValue(productKey(500), "Value1", RegistryValue{4, {++n, 0, 0, 0}});
  }
}
BENCHMARK(saveOneChange)->Unit(benchmark::kMillisecond);

void enumerateSubkeysByIndex(benchmark::State& state) {
  std::string text = "REGEDIT4\n\n";
  for (int i = 0; i < 2000; ++i) text += "[HKEY_LOCAL_MACHINE\\Software\\Uninstall\\{" + std::to_string(i) + "}]\n";
  const RegistryStore reg = RegistryStore::fromText(text, benchFolder() / "unused.reg", 1252);
  for (auto _ : state) {
    std::size_t count = 0;
    while (reg.subkeyName("HKEY_LOCAL_MACHINE\\Software\\Uninstall", count)) ++count;
    benchmark::DoNotOptimize(count);
  }
}
BENCHMARK(enumerateSubkeysByIndex)->Unit(benchmark::kMillisecond);

}  // namespace
