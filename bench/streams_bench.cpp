// The library alone on the benchmark streams of bench/streams: each file's
// ReGIS (the DCS wrappers taken off) fed through KXREG_HandleNextString in
// 4096-byte strings onto an 800 x 480 page, no picture written. The streams
// come from the folder in ZIZIDER_STREAMS (bench/streams --out DIR makes it).
// The CPU column is the library's cost: a run of seconds on a shared machine
// waits for the processor far longer than a single render does.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "support/test_host.h"

namespace {

constexpr size_t kStringBytes = 4096;

// The payload of every ESC P p ... ESC \ string in the file, in order.
std::string ReGisOf(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  const std::string data((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::string regis;
  for (size_t at = data.find("\x1bPp"); at != std::string::npos; at = data.find("\x1bPp", at)) {
    const size_t end = data.find("\x1b\\", at + 3);
    regis.append(data, at + 3, (end == std::string::npos ? data.size() : end) - at - 3);
    if (end == std::string::npos) break;
    at = end + 2;
  }
  return regis;
}

void BM_Stream(benchmark::State& state, const char* name) {
  const char* folder = std::getenv("ZIZIDER_STREAMS");
  const std::string regis = folder ? ReGisOf(std::string(folder) + "/" + name) : std::string();
  if (regis.empty()) {
    state.SkipWithError("set ZIZIDER_STREAMS to a folder made by bench/streams --out DIR");
    return;
  }
  CTestHost host;
  std::string chunk;
  for (auto _ : state) {
    for (size_t at = 0; at < regis.size(); at += kStringBytes) {
      chunk.assign(regis, at, kStringBytes);
      benchmark::DoNotOptimize(KXREG_HandleNextString(host.Host(), chunk.c_str()));
    }
    state.PauseTiming();
    // The next pass starts from an empty journal and page, as a new file would.
    KXREG_ClearParserBuf(host.Host());
    host.Feed(";S(E)");
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(regis.size()));
}

BENCHMARK_CAPTURE(BM_Stream, a_relative_vectors, "a_vectors_rel.rgs")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Stream, b_absolute_pairs, "b_vectors_abs.rgs")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Stream, c_circles, "c_circles.rgs")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Stream, d_fills, "d_fills.rgs")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Stream, e_text, "e_text.rgs")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Stream, h_plane_mask, "h_vectors_planemask.rgs")->Unit(benchmark::kMillisecond);

}  // namespace
