// Throughput of circles, arcs and curves through the exports: 256 KiB
// streams fed in 4096-byte strings onto an 800 x 480 page. Circles and arcs
// cycle their radius through 5..200 units about the middle of the page;
// curves are closed loops of 16 points.
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

#include "support/test_host.h"

namespace {

constexpr size_t kStreamBytes = 256 << 10;
constexpr size_t kStringBytes = 4096;

struct Stream {
  std::string text;
  int64_t primitives = 0;
};

// Repeats the primitive made for each radius 5..200 until the stream is full.
template <class Make>
Stream MakeStream(Make make) {
  Stream stream;
  for (int r = 5;; r = r == 200 ? 5 : r + 1) {
    const std::string one = make(r);
    if (stream.text.size() + one.size() > kStreamBytes) break;
    stream.text += one;
    ++stream.primitives;
  }
  return stream;
}

// A closed curve through 16 points on a circle of radius r about the middle
// of the page, given as relative steps.
std::string Loop(int r) {
  std::string text = "P[400,240]C(B)";
  int x = 0, y = 0;
  for (int i = 1; i <= 16; ++i) {
    const double a = 2 * M_PI * i / 16;
    const int nx = static_cast<int>(std::lround(r * std::cos(a))) - r;
    const int ny = static_cast<int>(std::lround(r * std::sin(a)));
    text += "[" + std::string(nx - x >= 0 ? "+" : "") + std::to_string(nx - x) + "," +
            std::string(ny - y >= 0 ? "+" : "") + std::to_string(ny - y) + "]";
    x = nx;
    y = ny;
  }
  return text + "(E)";
}

template <class Make>
void Draw(benchmark::State& state, const char* writing, Make make) {
  CTestHost host;
  host.Feed(writing);
  const Stream stream = MakeStream(make);
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
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * stream.primitives);
}

void BM_Circles(benchmark::State& state) {
  Draw(state, "W(V)", [](int r) { return "P[400,240]C[+" + std::to_string(r) + "]"; });
}
BENCHMARK(BM_Circles)->Unit(benchmark::kMillisecond);

void BM_CirclesComplement(benchmark::State& state) {
  Draw(state, "W(C)", [](int r) { return "P[400,240]C[+" + std::to_string(r) + "]"; });
}
BENCHMARK(BM_CirclesComplement)->Unit(benchmark::kMillisecond);

void BM_Arcs(benchmark::State& state) {
  Draw(state, "W(V)", [](int r) { return "P[400,240]C(A135)[+" + std::to_string(r) + "]"; });
}
BENCHMARK(BM_Arcs)->Unit(benchmark::kMillisecond);

void BM_ShadedArcs(benchmark::State& state) {
  Draw(state, "W(S1)", [](int r) { return "P[400,240]C(A135)[+" + std::to_string(r) + "]"; });
}
BENCHMARK(BM_ShadedArcs)->Unit(benchmark::kMillisecond);

void BM_ClosedCurves(benchmark::State& state) {
  Draw(state, "W(V)", Loop);
}
BENCHMARK(BM_ClosedCurves)->Unit(benchmark::kMillisecond);

}  // namespace
