#pragma once

#include <array>
#include <span>
#include <string_view>

#include "core/design/CigaretteDesign.h"
#include "core/design/ErrorMessages.h"
#include "core/design/ModelParameters.h"
#include "core/sheet/FilterPageRules.h"
#include "core/sheet/PageFields.h"
#include "core/sheet/PaperPageRules.h"
#include "core/sheet/RegimePageRules.h"
#include "core/sheet/RodPageRules.h"
#include "core/sheet/TippingPageRules.h"
#include "core/sheet/YieldsPageRules.h"

namespace veltrano {

// The pages of the sheet in their fixed order; the index is the page's position.
enum SheetPage { kTippingPage, kPaperPage, kFilterPage, kRodPage, kRegimePage, kYieldsPage, kSheetPageCount };

// What the pages of one sheet hold between displays.
struct SheetPageStates {
    TippingPageState tipping;
    PaperPageState paper;
    FilterPageState filter;
    RodPageState rod;
    RegimePageState regime;
    YieldsPageState yields;
};

// One page of the sheet as the sheet drives it. The rules of some pages read other pages' states or the
// model parameters, so every operation takes all the states and the parameters.
struct SheetPageDescriptor {
    std::string_view tabTitle;  // "&&" is the escape of one "&" on a tab
    bool referenceOnly;         // present only while the reference is edited (after all other pages)
    std::span<const FieldSpec> (*fields)();
    PageTexts& (*state)(SheetPageStates& pages);
    // Fills the page's state from the design on its first display in a showing.
    void (*load)(SheetPageStates& pages, const DesignValues& design);
    // Writes the page's state into the design on OK.
    void (*store)(const SheetPageStates& pages, DesignValues& design);
    // Checks the design after every page has stored, reporting each rule that fails.
    bool (*validate)(const DesignValues& design, const ModelParameters& mp, ErrorReporter& reporter);
};

extern const std::array<SheetPageDescriptor, kSheetPageCount> kSheetPages;

// The descriptor of page `page` (a SheetPage).
inline const SheetPageDescriptor& sheetPage(int page) {
    return kSheetPages.at(static_cast<std::size_t>(page));
}

}  // namespace veltrano
