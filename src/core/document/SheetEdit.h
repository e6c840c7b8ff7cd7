#pragma once

#include "core/design/DesignSet.h"

namespace veltrano {

enum class DesignRole { Reference, Current };

// What the design sheet's OK does to the designs, and all it does: the design of `role` takes the values
// the sheet stores, and the current design and the working reference take the reference's known word
// (after an accepted edit of either design all three carry it). Nothing is recalculated. The document's
// edit, the sheet's live preview and every exploration point are made by it.
void applySheetEdit(DesignSet& designs, DesignRole role, const DesignValues& edited);

}  // namespace veltrano
