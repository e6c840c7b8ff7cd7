#include "core/explore/VariantEvaluation.h"

#include <atomic>

#include "core/design/ErrorMessages.h"
#include "core/document/SheetEdit.h"
#include "core/model/PuffByPuff.h"
#include "core/model/Recalculation.h"
#include "core/sheet/DesignSheet.h"

namespace veltrano {

VariantResult evaluateVariant(const DesignValues& variant, const ExploreBasis& basis, bool puffs,
                              InnerThreads threads) {
    VariantResult result;
    RecordingErrorReporter errors;
    result.refusedPage = validateSheet(variant, false, basis.mp, errors);
    if (result.refusedPage >= 0) {
        result.status = VariantStatus::Refused;
        result.errors = std::move(errors.numbers);
        return result;
    }
    // The point is what OK on the current design's sheet would leave; the reference and its working
    // reference stay as they are, so only the current design is recalculated, against them.
    DesignSet point;
    point.referenceDesign.assign(basis.reference);
    point.workingReference.assign(basis.workingReference);
    applySheetEdit(point, DesignRole::Current, variant);
    CigaretteDesign& design = point.currentDesign;
    recalculateCurrent(design, point.referenceDesign, point.workingReference, basis.mp, errors, nullptr,
                       threads);
    if (puffs) {
        NullProgressSink progress;
        runPuffByPuff(design, basis.mp, progress, nullptr, threads);
        result.puffNumber = design.puff_number;
        result.puffSize = std::move(design.puff_size);
        for (const PuffArray& a : puffArrays()) result.puffSeries.push_back(std::move(design.*a.member));
    }
    result.status = VariantStatus::Computed;
    result.errors = std::move(errors.numbers);
    result.values = design;
    return result;
}

int runVariants(std::span<const int> numbers, const std::function<DesignValues(int number)>& variantAt,
                const ExploreBasis& basis, bool puffs, const VariantCallbacks& callbacks) {
    const int count = static_cast<int>(numbers.size());
    std::vector<VariantResult> results(numbers.size());
    std::atomic<bool> stop{false};
    // One thread budget: the variants share the machine's threads, each variant's model stays on its own.
    ParallelTasks tasks(count, [&](int i, int) {
        if (stop) return;
        const std::size_t k = static_cast<std::size_t>(i);
        results[k] = evaluateVariant(variantAt(numbers[k]), basis, puffs, InnerThreads::CallingThread);
    });
    int finished = 0;
    for (int i = 0; i < count; ++i) {
        if (!stop && callbacks.cancelRequested && callbacks.cancelRequested()) stop = true;
        tasks.wait(i);
        VariantResult& r = results[static_cast<std::size_t>(i)];
        if (r.status == VariantStatus::NotRun) continue;
        ++finished;
        if (callbacks.done) callbacks.done(numbers[static_cast<std::size_t>(i)], std::move(r));
    }
    return finished;
}

}  // namespace veltrano
