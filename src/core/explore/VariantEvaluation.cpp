#include "core/explore/VariantEvaluation.h"

#include "core/design/ErrorMessages.h"
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
    CigaretteDesign design(ArrayMode::WithArrays);
    design.assign(variant);
    recalculateCurrent(design, basis.reference, basis.workingReference, basis.mp, errors, nullptr, threads);
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

}  // namespace veltrano
