// Throughput of vectors through the exports: a 1 MiB stream of relative
// vectors fed in 4096-byte strings onto an 800 x 480 page, with plain
// overlay lines, complement, a dash pattern and a partial plane mask.
#include <benchmark/benchmark.h>

#include <string>

#include "support/test_host.h"

namespace {

constexpr size_t kStreamBytes = 1 << 20;
constexpr size_t kStringBytes = 4096;

// Three vectors that return to where they started, so the picture stays in
// the middle of the page however long the stream.
constexpr char kCycle[] = "[+3,-2][-1,+4][-2,-2]";
constexpr int kVectorsPerCycle = 3;

struct VectorStream {
  std::string text;
  int64_t vectors = 0;
};

VectorStream MakeStream() {
  VectorStream stream;
  stream.text = "V";
  while (stream.text.size() + sizeof(kCycle) - 1 <= kStreamBytes) {
    stream.text += kCycle;
    stream.vectors += kVectorsPerCycle;
  }
  return stream;
}

void DrawVectors(benchmark::State& state, const char* writing) {
  CTestHost host;
  host.Feed("P[400,240]");
  host.Feed(writing);
  const VectorStream stream = MakeStream();
  std::string chunk;
  for (auto _ : state) {
    for (size_t at = 0; at < stream.text.size(); at += kStringBytes) {
      chunk.assign(stream.text, at, kStringBytes);
      benchmark::DoNotOptimize(KXREG_HandleNextString(host.Host(), chunk.c_str()));
    }
    state.PauseTiming();
    // The journal would otherwise grow with every pass.
    KXREG_ClearParserBuf(host.Host());
    host.Feed(writing);
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(stream.text.size()));
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * stream.vectors);
}

void BM_VectorsOverlay(benchmark::State& state) {
  DrawVectors(state, "W(V)");
}
BENCHMARK(BM_VectorsOverlay)->Unit(benchmark::kMillisecond);

void BM_VectorsComplement(benchmark::State& state) {
  DrawVectors(state, "W(C)");
}
BENCHMARK(BM_VectorsComplement)->Unit(benchmark::kMillisecond);

void BM_VectorsDashed(benchmark::State& state) {
  DrawVectors(state, "W(P2)");
}
BENCHMARK(BM_VectorsDashed)->Unit(benchmark::kMillisecond);

void BM_VectorsPlaneMask(benchmark::State& state) {
  DrawVectors(state, "W(F5)");
}
BENCHMARK(BM_VectorsPlaneMask)->Unit(benchmark::kMillisecond);

}  // namespace
