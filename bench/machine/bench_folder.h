// The benchmarks of the machine's files keep them in one folder of this
// process, removed when the benchmarks have run (bench_folder.cpp holds the
// main function that does so).
#pragma once

#include <filesystem>

namespace zov::bench {

std::filesystem::path benchFolder();

}  // namespace zov::bench
