// Throughput of the interpreter core: characters through the exports to the
// dispatcher, the journal and its replay, and the host's 4010 lines.
#include <benchmark/benchmark.h>

#include <string>

#include "interp/journal.h"
#include "support/test_host.h"

namespace {

constexpr size_t kStreamBytes = 1 << 20;
constexpr size_t kStringBytes = 4096;
constexpr int kTekLines = 100000;

// Characters that only reach the dispatcher: spaces and unknown letters.
std::string DispatcherOnlyStream() {
  std::string stream;
  stream.reserve(kStreamBytes);
  const char pattern[] = " QXZ ,KY";
  for (size_t i = 0; i < kStreamBytes; ++i) stream.push_back(pattern[i % (sizeof(pattern) - 1)]);
  return stream;
}

void FeedInStrings(CTestHost& host, const std::string& stream) {
  for (size_t at = 0; at < stream.size(); at += kStringBytes) host.Feed(stream.substr(at, kStringBytes));
}

void BM_InterpretDispatcherOnly(benchmark::State& state) {
  CTestHost host;
  const std::string stream = DispatcherOnlyStream();
  std::string chunk;
  for (auto _ : state) {
    for (size_t at = 0; at < stream.size(); at += kStringBytes) {
      chunk.assign(stream, at, kStringBytes);
      benchmark::DoNotOptimize(KXREG_HandleNextString(host.Host(), chunk.c_str()));
    }
    state.PauseTiming();
    KXREG_ClearParserBuf(host.Host());
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(kStreamBytes));
}
BENCHMARK(BM_InterpretDispatcherOnly)->Unit(benchmark::kMillisecond);

void BM_JournalAppend(benchmark::State& state) {
  for (auto _ : state) {
    CJournal journal;
    for (size_t i = 0; i < kStreamBytes; ++i) journal.Append(static_cast<char>('A' + i % 26));
    benchmark::DoNotOptimize(journal.file);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(kStreamBytes));
}
BENCHMARK(BM_JournalAppend)->Unit(benchmark::kMillisecond);

void BM_JournalReplay(benchmark::State& state) {
  CTestHost host;
  FeedInStrings(host, DispatcherOnlyStream());
  for (auto _ : state) benchmark::DoNotOptimize(KXREG_RefreshFromBuf(host.Host()));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(kStreamBytes));
}
BENCHMARK(BM_JournalReplay)->Unit(benchmark::kMillisecond);

void BM_Tek4010Draw(benchmark::State& state) {
  CTestHost host;
  host.SetSetting(KXREG_SETTING_4010_MODE);
  for (auto _ : state) {
    for (int i = 0; i < kTekLines; ++i)
      benchmark::DoNotOptimize(
          KXREG_DrawLine(host.Host(), i % 1024, i % 768, (i * 7) % 1024, (i * 3) % 768, 0));
    state.PauseTiming();
    KXREG_ClearParserBuf(host.Host());
    state.ResumeTiming();
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kTekLines);
}
BENCHMARK(BM_Tek4010Draw)->Unit(benchmark::kMillisecond);

void BM_Tek4010Redraw(benchmark::State& state) {
  CTestHost host;
  host.SetSetting(KXREG_SETTING_4010_MODE);
  for (int i = 0; i < kTekLines; ++i)
    KXREG_DrawLine(host.Host(), i % 1024, i % 768, (i * 7) % 1024, (i * 3) % 768, 0);
  for (auto _ : state) benchmark::DoNotOptimize(KXREG_RefreshFromBuf(host.Host()));
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kTekLines);
}
BENCHMARK(BM_Tek4010Redraw)->Unit(benchmark::kMillisecond);

}  // namespace
