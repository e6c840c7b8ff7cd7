// The two operations that bring results up to date, on the constructor's default designs with the
// test fixture's coefficients. Wall-clock time: both use the machine's cores.
#include <benchmark/benchmark.h>

#include "BenchParameters.h"

#include "core/design/DesignSet.h"
#include "core/model/PuffByPuff.h"
#include "core/model/Recalculation.h"

namespace {

using namespace veltrano;

using bench::parameters;

void Recalculate(benchmark::State& state) {
    DesignSet designs;
    RecordingErrorReporter errors;
    for (auto _ : state) {
        recalculate(designs, parameters(), errors);
        benchmark::DoNotOptimize(designs.currentDesign.alt_puff);
    }
}
BENCHMARK(Recalculate)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(15)->ReportAggregatesOnly();

void PuffByPuff(benchmark::State& state) {
    DesignSet designs;
    RecordingErrorReporter errors;
    recalculate(designs, parameters(), errors);
    NullProgressSink progress;
    for (auto _ : state) {
        runPuffByPuff(designs.currentDesign, parameters(), progress);
        benchmark::DoNotOptimize(designs.currentDesign.puff_co.data());
    }
    state.counters["puffs"] = designs.currentDesign.puff_number;
}
BENCHMARK(PuffByPuff)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(15)->ReportAggregatesOnly();

}  // namespace

BENCHMARK_MAIN();
