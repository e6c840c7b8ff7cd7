#include "core/sheet/SheetPageTable.h"

namespace veltrano {

namespace {

// The descriptor of a page whose rules need nothing but its own state, the design and the reporter.
template <class Rules, auto Member>
constexpr SheetPageDescriptor plainPage(std::string_view tabTitle) {
    return {tabTitle,
            false,
            &Rules::fields,
            [](SheetPageStates& p) -> PageTexts& { return p.*Member; },
            [](SheetPageStates& p, const DesignValues& d) { Rules::loadPage(p.*Member, d); },
            [](const SheetPageStates& p, DesignValues& d) { Rules::storePage(p.*Member, d); },
            [](const DesignValues& d, const ModelParameters&, ErrorReporter& r) {
                return Rules::validatePage(d, r);
            }};
}

}  // namespace

// Made at compile time, so that it is ready before any other static is.
constinit const std::array<SheetPageDescriptor, kSheetPageCount> kSheetPages{{
    plainPage<TippingPageRules, &SheetPageStates::tipping>("Tipping && Plug Wrap Paper"),
    plainPage<PaperPageRules, &SheetPageStates::paper>("Cigarette Paper"),
    plainPage<FilterPageRules, &SheetPageStates::filter>("Filter"),
    plainPage<RodPageRules, &SheetPageStates::rod>("Tobacco Rod"),
    plainPage<RegimePageRules, &SheetPageStates::regime>("Alternative Smoking Regime"),
    // The smoke yields page converts burn rates with the rod page's texts and checks the tobacco balance
    // on the model's defaults.
    {"Smoke Yields", true, &YieldsPageRules::fields,
     [](SheetPageStates& p) -> PageTexts& { return p.yields; },
     [](SheetPageStates& p, const DesignValues& d) { YieldsPageRules::loadPage(p.yields, d, p.rod); },
     [](const SheetPageStates& p, DesignValues& d) { YieldsPageRules::storePage(p.yields, d); },
     &YieldsPageRules::validatePage},
}};

}  // namespace veltrano
