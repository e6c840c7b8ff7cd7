// Exploration on the constructor's default designs with the test fixture's coefficients: one live
// preview update of the design sheet (what OK would store, the checks, the current design's
// recalculation on the machine's threads), one sweep point (the same on the calling thread only, as
// the points of a sweep run side by side), and whole searches of design to targets: one input to one
// target, and the three inputs and three targets of the exploration guide. Then, on the shipped
// start-up designs and coefficients, the tolerance run of 1,000 samples of the four usual materials and
// the elasticity table of every offered field, both on the machine's threads. Wall-clock time.
#include <cstdlib>
#include <iostream>

#include <benchmark/benchmark.h>

#include "BenchParameters.h"

#include "core/design/DesignSet.h"
#include "core/design/StartupFile.h"
#include "core/explore/Sensitivity.h"
#include "core/explore/SheetPreview.h"
#include "core/explore/Sweep.h"
#include "core/explore/TargetDesign.h"
#include "core/explore/Tolerance.h"
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

#ifdef VELTRANO_HAVE_NLOPT
// The search for `fields` to reach `outputs` at the values the design has with the fields at `aim`.
void designToTargets(benchmark::State& state, const std::vector<const char*>& fields,
                     const std::vector<double>& aim, const std::vector<const char*>& outputs) {
    const ExploreBasis basis{designs().referenceDesign, designs().workingReference, parameters()};
    const DesignValues& current = designs().currentDesign;
    DesignQuestion question;
    for (const char* name : fields) {
        const ExploreField* f = findExploreField(name);
        question.variables.push_back({f, validRange(*f, current)});
    }
    const VariantResult aimed = evaluateVariant(designPoint(question, current, aim, parameters()), basis,
                                                false, InnerThreads::Machine);
    for (const char* name : outputs) {
        const ExploreOutput* o = findExploreOutput(name);
        question.targets.push_back({o, o->read(aimed.values)});
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(veltrano::designToTargets(question, current, basis).variables);
}

void DesignOneInput(benchmark::State& state) {
    designToTargets(state, {"tp_perfoperm"}, {400}, {"iso_nfdpm"});
}
BENCHMARK(DesignOneInput)->Unit(benchmark::kMillisecond)->UseRealTime();

void DesignThreeInputs(benchmark::State& state) {
    designToTargets(state, {"tp_perfoperm", "cp_perm", "fi_totpd"}, {400, 80, 500},
                    {"stat_pdo", "stat_fivent", "iso_nfdpm"});
}
BENCHMARK(DesignThreeInputs)->Unit(benchmark::kMillisecond)->UseRealTime();
#endif

// The start-up designs and the coefficients the program ships, recalculated as the program opens them.
struct Shipped {
    ModelParameters mp;
    DesignSet designs;
    Shipped() {
        if (loadModelParameters(VELTRANO_DATA_DIR "/models.dat", mp) != kModelParametersOk ||
            loadStartupDesigns(VELTRANO_DATA_DIR "/Startup_cigarette.dat", designs) != 0) {
            std::cerr << "cannot read the shipped data in " << VELTRANO_DATA_DIR << "\n";
            std::exit(1);
        }
        RecordingErrorReporter errors;
        recalculate(designs, mp, errors);
    }
    ExploreBasis basis() const { return {designs.referenceDesign, designs.workingReference, mp}; }
};

const Shipped& shipped() {
    static const Shipped s;
    return s;
}

void ToleranceThousandSamples(benchmark::State& state) {
    ToleranceSetup setup;
    for (const char* name : {"tp_perfoperm", "cp_perm", "fi_totpd", "ro_totmass"}) {
        const ExploreField& f = *findExploreField(name);
        setup.inputs.push_back({&f, typicalSpread(f)});
    }
    for (const ExploreOutput& o : exploreOutputs()) setup.outputs.push_back(&o);
    setup.samples = 1000;
    std::vector<int> indices(1000);
    for (int i = 0; i < 1000; ++i) indices[static_cast<std::size_t>(i)] = i;
    for (auto _ : state)
        benchmark::DoNotOptimize(
            runTolerance(setup, indices, shipped().designs.currentDesign, shipped().basis(), {}));
}
BENCHMARK(ToleranceThousandSamples)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

void ElasticityTable(benchmark::State& state) {
    const DesignValues& current = shipped().designs.currentDesign;
    std::vector<const ExploreField*> fields;
    for (const ExploreField& f : exploreFields())
        if (isOffered(f, current)) fields.push_back(&f);
    std::vector<const ExploreOutput*> outputs;
    for (const ExploreOutput& o : exploreOutputs()) outputs.push_back(&o);
    for (auto _ : state)
        benchmark::DoNotOptimize(computeSensitivities(fields, outputs, 5, current, shipped().basis()));
}
BENCHMARK(ElasticityTable)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
