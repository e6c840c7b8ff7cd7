#pragma once

#include "core/document/DesignDocument.h"

namespace veltrano {

// Tests set a document's designs up in place: changes made through it are no operations of the
// document, so nothing is recalculated or told.
struct DocumentTestAccess {
    static DesignSet& designs(DesignDocument& document) { return document.designs_; }
};

}  // namespace veltrano
