// Frames per second `zizider show` and `zizider run` can put out: an
// 800 x 480 page read back and encoded as sixel.
#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "tools/zizider/page_export.h"
#include "tools/zizider/sixel_encoder.h"

namespace {

// The skyline example: many colours, large fills and fine detail.
std::unique_ptr<CHostWindow> SkylineHost() {
  CRenderOptions options;
  std::string error;
  std::unique_ptr<CHostWindow> host = OpenHost(options, &error);
  std::ifstream file(ZIZIDER_EXAMPLES_DIR "/skyline.regis", std::ios::binary);
  std::string regis((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  for (size_t at = 0; at < regis.size(); at += 4096) host->Feed(regis.substr(at, 4096).c_str());
  return host;
}

void BM_SixelFrame(benchmark::State& state) {
  std::unique_ptr<CHostWindow> host = SkylineHost();
  CRenderOptions options;
  CSixelEncoder encoder;
  std::string sixel, error;
  for (auto _ : state) {
    CIndexedPicture picture;
    ExportPicture(options, *host, &picture, &error);
    sixel.clear();
    encoder.Encode(picture, sixel, &error);
    benchmark::DoNotOptimize(sixel.data());
  }
  state.counters["frames/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["bytes/frame"] = static_cast<double>(sixel.size());
}
BENCHMARK(BM_SixelFrame)->Unit(benchmark::kMillisecond);

// The encoding alone, the page read once.
void BM_SixelEncodeOnly(benchmark::State& state) {
  std::unique_ptr<CHostWindow> host = SkylineHost();
  CRenderOptions options;
  CSixelEncoder encoder;
  std::string sixel, error;
  CIndexedPicture picture;
  ExportPicture(options, *host, &picture, &error);
  for (auto _ : state) {
    sixel.clear();
    encoder.Encode(picture, sixel, &error);
    benchmark::DoNotOptimize(sixel.data());
  }
  state.counters["frames/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SixelEncodeOnly)->Unit(benchmark::kMillisecond);

void BM_SixelBlankFrame(benchmark::State& state) {
  CRenderOptions options;
  std::string error;
  std::unique_ptr<CHostWindow> host = OpenHost(options, &error);
  CSixelEncoder encoder;
  std::string sixel;
  for (auto _ : state) {
    CIndexedPicture picture;
    ExportPicture(options, *host, &picture, &error);
    sixel.clear();
    encoder.Encode(picture, sixel, &error);
    benchmark::DoNotOptimize(sixel.data());
  }
  state.counters["frames/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SixelBlankFrame)->Unit(benchmark::kMillisecond);

}  // namespace
