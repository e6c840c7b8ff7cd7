#pragma once

#include <array>
#include <optional>

#include "core/design/DesignSet.h"
#include "core/design/ModelParameters.h"
#include "core/explore/ExploreOutputs.h"
#include "core/explore/VariantEvaluation.h"
#include "core/sheet/DesignSheet.h"

namespace veltrano {

// The live results strip of a design sheet: the values OK followed by the recalculation would give the
// current design, in the order of kPreviewOutputNames; nothing when the sheet's checks would refuse
// what it holds (the strip shows dashes then).
struct SheetPreview {
    VariantStatus status = VariantStatus::NotRun;
    int refusedPage = -1;
    std::vector<int> errors;  // the refusing page's errors, or 76/77 of the recalculation
    std::optional<std::array<double, kPreviewOutputNames.size()>> values;
};

// The strip's values of a design as it stands (what the strip compares against).
std::array<double, kPreviewOutputNames.size()> previewValues(const DesignValues& design);

// Computes the strip from what a sheet would store (its storedValues()): OK's checks, the known words OK
// leaves, and the recalculation, on copies; `designs` do not change and nothing is reported. `designs`
// are as the sheet found them (recalculated). For the current design's sheet only that design is
// recalculated, against the working reference; a reference sheet recalculates both. The caller may take
// the stored values on one thread and compute on another.
SheetPreview previewStored(const DesignValues& stored, bool isReference, const DesignSet& designs,
                           const ModelParameters& mp, InnerThreads threads = InnerThreads::Machine);

}  // namespace veltrano
