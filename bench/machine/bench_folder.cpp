#include "bench_folder.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <string>

namespace zov::bench {

std::filesystem::path benchFolder() {
  static const std::filesystem::path folder = [] {
    auto f = std::filesystem::temp_directory_path() / ("zov-machine-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(f);
    return f;
  }();
  return folder;
}

}  // namespace zov::bench

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::filesystem::remove_all(zov::bench::benchFolder());
}
