// Speed of the SZDD codec (MB/s of expanded data) and its output size next to
// mscompress's, on ~6 MB of random data and ~8.5 MB of text.
#include <benchmark/benchmark.h>

#include <chrono>

#include "packaging/szdd_compressor.h"
#include "platform/win32/lz/szdd.h"
#include "tests/lz/support/corpus.h"
#include "tests/lz/support/memory_io.h"
#include "tests/lz/support/peer_tools.h"

namespace {

namespace t = zov::lz::testing;

const t::Bytes& input(int kind) {
  static const t::Bytes random = t::randomBytes(6 * 1024 * 1024, 41);
  static const t::Bytes text = t::text(8 * 1024 * 1024 + 512 * 1024, 42);
  return kind == 0 ? random : text;
}

const t::Bytes& compressed(int kind) {
  static const t::Bytes random = zov::packaging::compressSzdd(input(0));
  static const t::Bytes text = zov::packaging::compressSzdd(input(1));
  return kind == 0 ? random : text;
}

void setLabel(benchmark::State& state) { state.SetLabel(state.range(0) == 0 ? "random" : "text"); }

void BM_Expand(benchmark::State& state) {
  const t::Bytes& member = compressed(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    t::MemoryReader reader(member);
    t::CountingWriter writer;
    benchmark::DoNotOptimize(zov::lz::copyExpanded(reader, writer));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input(static_cast<int>(state.range(0))).size()));
  setLabel(state);
}
BENCHMARK(BM_Expand)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Compress(benchmark::State& state) {
  const t::Bytes& data = input(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(zov::packaging::compressSzdd(data));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * data.size()));
  state.counters["ratio"] = static_cast<double>(compressed(static_cast<int>(state.range(0))).size()) / static_cast<double>(data.size());
  setLabel(state);
}
BENCHMARK(BM_Compress)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Sizes against mscompress, and the two peers' whole-process speeds
// (file in, file out) for comparison.
void BM_SizeVsMscompress(benchmark::State& state) {
  const auto mscompress = t::findOnPath("mscompress");
  const auto msexpand = t::findOnPath("msexpand");
  if (!mscompress || !msexpand) {
    state.SkipWithError("mscompress and msexpand must be on PATH (Debian package mscompress)");
    return;
  }
  const t::Bytes& data = input(static_cast<int>(state.range(0)));
  const double megabytes = static_cast<double>(data.size()) / 1e6;
  t::TempDir dir;
  t::Bytes theirs;
  double compressSeconds = 0;
  double expandSeconds = 0;
  for (auto _ : state) {
    auto start = std::chrono::steady_clock::now();
    theirs = t::mscompressBytes(*mscompress, data, dir);
    compressSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    start = std::chrono::steady_clock::now();
    t::runProgram(*msexpand, {}, dir.path() / "member.bin_", dir.path() / "expanded");
    expandSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
  const auto ours = static_cast<double>(compressed(static_cast<int>(state.range(0))).size());
  state.counters["ours_bytes"] = ours;
  state.counters["mscompress_bytes"] = static_cast<double>(theirs.size());
  state.counters["ours_per_mscompress"] = ours / static_cast<double>(theirs.size());
  state.counters["mscompress_MBps"] = megabytes / compressSeconds;
  state.counters["msexpand_MBps"] = megabytes / expandSeconds;
  setLabel(state);
}
BENCHMARK(BM_SizeVsMscompress)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
