// Throughput of fills and macrographs through the exports onto an 800 x 480
// page, in 4096-byte strings: 10 000 small filled squares, filled circles,
// a macrograph invoked 10 000 times against the same text received plainly,
// and one invocation whose nested texts expand to 10 MiB.
#include <benchmark/benchmark.h>

#include <string>

#include "support/test_host.h"

namespace {

constexpr size_t kStringBytes = 4096;

void FeedInStrings(CTestHost& host, const std::string& text) {
  std::string chunk;
  for (size_t at = 0; at < text.size(); at += kStringBytes) {
    chunk.assign(text, at, kStringBytes);
    benchmark::DoNotOptimize(KXREG_HandleNextString(host.Host(), chunk.c_str()));
  }
}

// Feeds setup once, then text per iteration; the journal is emptied between
// iterations so that it does not grow.
void Run(benchmark::State& state, const std::string& setup, const std::string& text, int64_t items) {
  CTestHost host;
  host.Feed(setup);
  for (auto _ : state) {
    FeedInStrings(host, text);
    state.PauseTiming();
    KXREG_ClearParserBuf(host.Host());
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * items);
}

// 10 000 squares of side 2..9 on a grid over the page.
std::string Squares() {
  std::string text;
  for (int i = 0; i < 10000; ++i) {
    const int s = 2 + i % 8;
    text += "P[" + std::to_string(i % 100 * 8) + "," + std::to_string(i / 100 * 4 % 480) + "]F(V[+" +
            std::to_string(s) + ",+0][+0,+" + std::to_string(s) + "][-" + std::to_string(s) + ",+0][+0,-" +
            std::to_string(s) + "])";
  }
  return text;
}

void BM_FilledSquares(benchmark::State& state) {
  Run(state, "", Squares(), 10000);
}
BENCHMARK(BM_FilledSquares)->Unit(benchmark::kMillisecond);

// 1 000 discs of radius 5..104 about points over the page.
void BM_FilledCircles(benchmark::State& state) {
  std::string text;
  for (int i = 0; i < 1000; ++i)
    text += "P[" + std::to_string(100 + i * 37 % 600) + "," + std::to_string(100 + i * 53 % 280) + "]F(C[+" +
            std::to_string(5 + i % 100) + ",+0])";
  Run(state, "", text, 1000);
}
BENCHMARK(BM_FilledCircles)->Unit(benchmark::kMillisecond);

// A small figure, received 10 000 times plainly or as 10 000 invocations.
constexpr char kFigure[] = "V[+4,+0][+0,+4][-4,+0][+0,-4]";

void BM_FigureReceived(benchmark::State& state) {
  std::string text;
  for (int i = 0; i < 10000; ++i) text += kFigure;
  Run(state, "P[400,240]", text, 10000);
}
BENCHMARK(BM_FigureReceived)->Unit(benchmark::kMillisecond);

void BM_FigureInvoked(benchmark::State& state) {
  std::string text;
  for (int i = 0; i < 10000; ++i) text += "@A";
  Run(state, std::string("P[400,240]@:A") + kFigure + "@;", text, 10000);
}
BENCHMARK(BM_FigureInvoked)->Unit(benchmark::kMillisecond);

// B names A 1 000 times; A is 10 000 characters of vectors: 10 MB fed.
void BM_TenMegabyteExpansion(benchmark::State& state) {
  std::string a, b;
  while (a.size() + 16 <= 9999) a += "V[+1,+0][-1,+0]";
  for (int i = 0; i < 1000; ++i) b += "@A";
  CTestHost host;
  host.Feed("P[400,240]@:A" + a + "@;@:B" + b + "@;");
  for (auto _ : state) {
    host.Feed("@B");
    state.PauseTiming();
    KXREG_ClearParserBuf(host.Host());
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(a.size()) * 1000);
}
BENCHMARK(BM_TenMegabyteExpansion)->Unit(benchmark::kMillisecond);

}  // namespace
