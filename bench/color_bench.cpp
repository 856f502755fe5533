// colorWithName: through the process-wide cache against the plain table search it saves.

#include "color/UIColorToolkit.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

// Early, late and absent names: the search cost grows with the position in the table.
const std::vector<std::string> kNames = {"aliceblue", "navy", "yellowgreen", "Blue", "nosuchcolour"};

void BM_ColorWithNameCached(benchmark::State& state)
{
    const std::string& name = kNames[size_t(state.range(0))];
    UIColor_Toolkit::colorWithName(name);
    for (auto _ : state)
        benchmark::DoNotOptimize(UIColor_Toolkit::colorWithName(name));
    state.SetLabel(name);
}

void BM_SearchForColorByName(benchmark::State& state)
{
    const std::string& name = kNames[size_t(state.range(0))];
    for (auto _ : state)
        benchmark::DoNotOptimize(UIColor_ToolkitSupport::searchForColorByName(name));
    state.SetLabel(name);
}

} // namespace

BENCHMARK(BM_ColorWithNameCached)->DenseRange(0, int(kNames.size()) - 1);
BENCHMARK(BM_SearchForColorByName)->DenseRange(0, int(kNames.size()) - 1);

BENCHMARK_MAIN();
