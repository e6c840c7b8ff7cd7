// The two operations that bring results up to date, on the constructor's default designs with the
// test fixture's coefficients. Wall-clock time: both use the machine's cores.
#include <cstdlib>
#include <iostream>

#include <benchmark/benchmark.h>

#include "design/DesignSet.h"
#include "model/PuffByPuff.h"
#include "model/Recalculation.h"

namespace {

using namespace veltrano;

const ModelParameters& parameters() {
    static const ModelParameters mp = [] {
        ModelParameters loaded;
        if (loadModelParameters(VELTRANO_FIXTURE_MODELS, loaded) != kModelParametersOk) {
            std::cerr << "cannot read " << VELTRANO_FIXTURE_MODELS << "\n";
            std::exit(1);
        }
        return loaded;
    }();
    return mp;
}

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
