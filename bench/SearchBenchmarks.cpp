// Each search of the problem solver on the constructor's default designs, recalculated with the test
// fixture's coefficients: the reference calibrates the current design (filter ventilation by 0.97), so
// every search meets the calibration it would meet in the program. Single-threaded wall-clock time.
#include <benchmark/benchmark.h>

#include "BenchParameters.h"

#include "core/design/DesignSet.h"
#include "core/model/Recalculation.h"
#include "core/solver/SolverSearch.h"
#include "core/solver/TargetSearches.h"

namespace {

using namespace veltrano;

using bench::parameters;

const DesignSet& designs() {
    return bench::recalculatedDefaults();
}

const DesignValues& design() {
    return designs().currentDesign;
}
CalibrationPair calibration() {
    return {designs().referenceDesign, designs().workingReference};
}

void MaxFilterVentilation(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(maxFilterVentilation(design(), parameters()));
}
BENCHMARK(MaxFilterVentilation)->Unit(benchmark::kMicrosecond);

void MaxRodVentilation(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(maxRodVentilation(design()));
}
BENCHMARK(MaxRodVentilation)->Unit(benchmark::kMicrosecond);

void PerforationCoefficientFor(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(perforationCoefficientFor(design(), calibration(), 20, parameters()));
}
BENCHMARK(PerforationCoefficientFor)->Unit(benchmark::kMicrosecond);

void PerforationPermeabilities(benchmark::State& state) {
    const double k = perforationCoefficientFor(design(), calibration(), 20, parameters());
    for (auto _ : state) benchmark::DoNotOptimize(perforationPermeabilities(design(), k, parameters()));
}
BENCHMARK(PerforationPermeabilities)->Unit(benchmark::kMicrosecond);

void YieldRangeOverVentilation(benchmark::State& state) {
    RecordingErrorReporter errors;
    for (auto _ : state) {
        double high = 0, low = 0;
        yieldRangeOverVentilation(design(), calibration(), SolverTarget::Tar, high, low, parameters(),
                                  errors);
        benchmark::DoNotOptimize(low);
    }
}
BENCHMARK(YieldRangeOverVentilation)->Unit(benchmark::kMicrosecond);

void VentilationForYield(benchmark::State& state) {
    RecordingErrorReporter errors;
    double high = 0, low = 0;
    yieldRangeOverVentilation(design(), calibration(), SolverTarget::Tar, high, low, parameters(), errors);
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            ventilationForYield(design(), calibration(), SolverTarget::Tar, 9.5, low, high, parameters()));
    }
}
BENCHMARK(VentilationForYield)->Unit(benchmark::kMicrosecond);

void PaperTargetRange(benchmark::State& state) {
    RecordingErrorReporter errors;
    for (auto _ : state) {
        double high = 0, low = 0;
        paperTargetRange(design(), calibration(), SolverTarget::PuffNumber, high, low, parameters(), errors);
        benchmark::DoNotOptimize(low);
    }
}
BENCHMARK(PaperTargetRange)->Unit(benchmark::kMicrosecond);

void PaperForRodVentilation(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(paperForRodVentilation(design(), 14, parameters()));
}
BENCHMARK(PaperForRodVentilation)->Unit(benchmark::kMicrosecond);

void PaperForTarget(benchmark::State& state) {
    RecordingErrorReporter errors;
    double high = 0, low = 0;
    paperTargetRange(design(), calibration(), SolverTarget::PuffNumber, high, low, parameters(), errors);
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            paperForTarget(design(), calibration(), SolverTarget::PuffNumber, 7.5, low, high, parameters()));
    }
}
BENCHMARK(PaperForTarget)->Unit(benchmark::kMicrosecond);

// One Search click of each group, range check and advice included.
void SearchClick(benchmark::State& state) {
    RecordingErrorReporter errors;
    const bool tipping = state.range(0) == 0;
    const SolverGroup group = tipping ? SolverGroup::Tipping : SolverGroup::Paper;
    const SolverTarget code = tipping ? SolverTarget::Tar : SolverTarget::PuffNumber;
    const char* target = tipping ? "9.5" : "7.5";
    for (auto _ : state)
        benchmark::DoNotOptimize(runSolverSearch(designs(), group, code, target, parameters(), errors));
}
BENCHMARK(SearchClick)->Arg(0)->Arg(1)->ArgNames({"paper"})->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
