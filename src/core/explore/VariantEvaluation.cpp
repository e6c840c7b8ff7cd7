#include "core/explore/VariantEvaluation.h"

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

}  // namespace veltrano
