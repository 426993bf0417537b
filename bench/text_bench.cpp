// Throughput of text through the exports: lines of 80 characters at size 1
// filling an 800 x 480 page, fed in 4096-byte strings, in overlay and
// replace mode and from a loaded alphabet.
#include <benchmark/benchmark.h>

#include <string>

#include "support/test_host.h"

namespace {

constexpr size_t kStreamBytes = 256 << 10;
constexpr size_t kStringBytes = 4096;
constexpr int kLineLength = 80;

struct TextStream {
  std::string text;
  int64_t characters = 0;
};

// Every printable character in turn, line under line down the page.
TextStream MakeStream() {
  TextStream stream;
  int row = 0;
  int next = 0;
  for (;;) {
    std::string line = "P[0," + std::to_string((row++ % 24) * 20) + "]T'";
    for (int i = 0; i < kLineLength; ++i) {
      char ch = static_cast<char>(0x21 + next++ % 94);
      if (ch == '\'') ch = 'Q';
      line += ch;
    }
    line += "'";
    if (stream.text.size() + line.size() > kStreamBytes) break;
    stream.text += line;
    stream.characters += kLineLength;
  }
  return stream;
}

// An alphabet whose every character is a frame with a diagonal.
std::string LoadAlphabet() {
  std::string load = "L(A1)";
  for (int ch = 0x21; ch < 0x7F; ++ch) {
    if (ch == '\'') continue;
    load += "L'";
    load += static_cast<char>(ch);
    load += "'FF C1 A1 91 89 85 83 81 81 FF;";
  }
  return load;
}

void DrawText(benchmark::State& state, const std::string& setup) {
  CTestHost host;
  host.Feed(setup);
  const TextStream stream = MakeStream();
  std::string chunk;
  for (auto _ : state) {
    for (size_t at = 0; at < stream.text.size(); at += kStringBytes) {
      chunk.assign(stream.text, at, kStringBytes);
      benchmark::DoNotOptimize(KXREG_HandleNextString(host.Host(), chunk.c_str()));
    }
    state.PauseTiming();
    // The journal would otherwise grow with every pass.
    KXREG_ClearParserBuf(host.Host());
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(stream.text.size()));
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * stream.characters);
}

void BM_TextOverlay(benchmark::State& state) {
  DrawText(state, "W(V)T(S1)");
}
BENCHMARK(BM_TextOverlay)->Unit(benchmark::kMillisecond);

void BM_TextReplace(benchmark::State& state) {
  DrawText(state, "W(R)T(S1)");
}
BENCHMARK(BM_TextReplace)->Unit(benchmark::kMillisecond);

void BM_TextLoadedAlphabet(benchmark::State& state) {
  DrawText(state, LoadAlphabet() + "W(V)T(S1,A1)");
}
BENCHMARK(BM_TextLoadedAlphabet)->Unit(benchmark::kMillisecond);

}  // namespace
