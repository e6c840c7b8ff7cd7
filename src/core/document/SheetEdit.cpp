#include "core/document/SheetEdit.h"

namespace veltrano {

void applySheetEdit(DesignSet& designs, DesignRole role, const DesignValues& edited) {
    (role == DesignRole::Reference ? designs.referenceDesign : designs.currentDesign).assign(edited);
    designs.currentDesign.known = designs.referenceDesign.known;
    designs.workingReference.known = designs.referenceDesign.known;
}

}  // namespace veltrano
