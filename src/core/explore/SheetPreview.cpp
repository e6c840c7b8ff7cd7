#include "core/explore/SheetPreview.h"

#include "core/model/Recalculation.h"

namespace veltrano {

std::array<double, kPreviewOutputNames.size()> previewValues(const DesignValues& design) {
    std::array<double, kPreviewOutputNames.size()> values{};
    for (std::size_t i = 0; i < values.size(); ++i)
        values[i] = findExploreOutput(kPreviewOutputNames[i])->read(design);
    return values;
}

SheetPreview previewSheet(const DesignSheet& sheet, const DesignSet& designs, const ModelParameters& mp,
                          InnerThreads threads) {
    return previewStored(sheet.storedValues(), sheet.isReference(), designs, mp, threads);
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
    // After OK the current design and the working reference carry the reference's known word.
    DesignSet after;
    after.referenceDesign.assign(isReference ? stored : designs.referenceDesign.values());
    after.currentDesign.assign(isReference ? designs.currentDesign.values() : stored);
    after.currentDesign.known = after.referenceDesign.known;
    if (isReference)
        recalculate(after, mp, errors, nullptr, threads);
    else
        recalculateCurrent(after.currentDesign, designs.referenceDesign, designs.workingReference, mp, errors,
                           nullptr, threads);
    preview.status = VariantStatus::Computed;
    preview.errors = std::move(errors.numbers);
    preview.values = previewValues(after.currentDesign);
    return preview;
}

}  // namespace veltrano
