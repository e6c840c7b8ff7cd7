// Exploration on the constructor's default designs with the test fixture's coefficients: one live
// preview update of the design sheet (what OK would store, the checks, the current design's
// recalculation on the machine's threads) and one sweep point (the same on the calling thread only, as
// the points of a sweep run side by side). Wall-clock time.
#include <benchmark/benchmark.h>

#include "BenchParameters.h"

#include "core/design/DesignSet.h"
#include "core/explore/SheetPreview.h"
#include "core/explore/Sweep.h"
#include "core/model/Recalculation.h"

namespace {

using namespace veltrano;

using bench::parameters;

const DesignSet& designs() {
    return bench::recalculatedDefaults();
}

void PreviewUpdate(benchmark::State& state) {
    DesignSheet sheet(designs().currentDesign, false, parameters());
    sheet.displayPage(kPaperPage);
    int typed = 0;
    for (auto _ : state) {
        sheet.paper().texts[kAirPermeability] = std::to_string(40 + typed++ % 50);
        benchmark::DoNotOptimize(
            previewStored(sheet.storedValues(), sheet.isReference(), designs(), parameters()).values);
    }
}
BENCHMARK(PreviewUpdate)->Unit(benchmark::kMillisecond)->UseRealTime();

void SweepPoint(benchmark::State& state) {
    const ExploreBasis basis{designs().referenceDesign, designs().workingReference, parameters()};
    DesignValues variant = designs().currentDesign;
    for (auto _ : state) {
        variant.cp_perm = variant.cp_perm == 60 ? 70 : 60;
        benchmark::DoNotOptimize(evaluateVariant(variant, basis, false, InnerThreads::CallingThread).values);
    }
}
BENCHMARK(SweepPoint)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
