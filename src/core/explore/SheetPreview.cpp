#include "core/explore/SheetPreview.h"

#include "core/document/SheetEdit.h"
#include "core/model/Recalculation.h"

namespace veltrano {

std::array<double, kPreviewOutputNames.size()> previewValues(const DesignValues& design) {
    std::array<double, kPreviewOutputNames.size()> values{};
    for (std::size_t i = 0; i < values.size(); ++i)
        values[i] = findExploreOutput(kPreviewOutputNames[i])->read(design);
    return values;
}

SheetPreview previewStored(const DesignValues& stored, bool isReference, const DesignSet& designs,
                           const ModelParameters& mp, InnerThreads threads) {
    SheetPreview preview;
    RecordingErrorReporter errors;
    preview.refusedPage = validateSheet(stored, isReference, mp, errors);
    if (preview.refusedPage >= 0) {
        preview.status = VariantStatus::Refused;
        preview.errors = std::move(errors.numbers);
        return preview;
    }
    DesignSet after;
    after.referenceDesign.assign(designs.referenceDesign);
    after.workingReference.assign(designs.workingReference);
    after.currentDesign.assign(designs.currentDesign);
    applySheetEdit(after, isReference ? DesignRole::Reference : DesignRole::Current, stored);
    // An edit of the current design leaves the reference and the working reference's results as they
    // are: only the current design is recalculated, against them.
    if (isReference)
        recalculate(after, mp, errors, nullptr, threads);
    else
        recalculateCurrent(after.currentDesign, after.referenceDesign, after.workingReference, mp, errors,
                           nullptr, threads);
    preview.status = VariantStatus::Computed;
    preview.errors = std::move(errors.numbers);
    preview.values = previewValues(after.currentDesign);
    return preview;
}

}  // namespace veltrano
