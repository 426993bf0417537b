// Time of each hostile stream against its size: Google Benchmark fits the
// growth (the BigO column should read N for every row).
#include <benchmark/benchmark.h>

#include <string>

#include "support/hostile_inputs.h"
#include "support/test_host.h"

namespace {

void BM_Hostile(benchmark::State& state, const CHostileRow* row) {
  soft::inspect::SetAdvancePerEmptyPoll(3600000);
  CTestHost::Options options;
  options.cellWidth = 1;
  options.cellHeight = 1;
  const std::string stream = row->make(static_cast<size_t>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    CTestHost host(options);
    state.ResumeTiming();
    for (size_t at = 0; at < stream.size(); at += 4096) host.Feed(stream.substr(at, 4096));
    state.PauseTiming();
    host.Erase();
    state.ResumeTiming();
  }
  state.SetComplexityN(state.range(0));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(stream.size()));
}

const int kRegistered = [] {
  for (const CHostileRow& row : HostileRows()) {
    const int64_t full = static_cast<int64_t>(row.fullSize);
    benchmark::RegisterBenchmark(row.name, BM_Hostile, &row)
        ->RangeMultiplier(4)
        ->Range(full / 64, full)
        ->Complexity(benchmark::oN)
        ->Unit(benchmark::kMillisecond);
  }
  return 0;
}();

}  // namespace
