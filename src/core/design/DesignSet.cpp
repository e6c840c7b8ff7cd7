#include "core/design/DesignSet.h"

#include <algorithm>

namespace veltrano {

std::string informationTextString(const InformationText& text) {
    const auto end = std::find(text.begin(), text.begin() + (kInformationTextSize - 1), '\0');
    return std::string(text.begin(), end);
}

DesignSet DesignSet::clone() const {
    DesignSet copy;
    copy.referenceDesign = referenceDesign.clone();
    copy.workingReference = workingReference.clone();
    copy.currentDesign = currentDesign.clone();
    copy.informationText = informationText;
    return copy;
}

}  // namespace veltrano
