#pragma once

#include <span>

#include "core/sheet/PageFields.h"

namespace veltrano {

// The filter page: fields in page order.
enum FilterField {
    kPlugLength,
    kCigaretteDiameter,
    kFilterRodLength,
    kFilterRodPressureDrop,
    kFilterExponent,
    kTotalTiter,
    kFilamentTiter,
    kFilterFieldCount
};
enum FilterHelp { kFilterExponentHelp };

struct FilterPageState : PageTexts {
    FilterPageState() : PageTexts(kFilterFieldCount) {}
};

class FilterPageRules {
public:
    using State = FilterPageState;

    static std::span<const FieldSpec> fields();
    static std::span<const HelpSpec> helps();

    static void loadPage(State& page, const DesignValues& design);
    static PageEnabling updateEnabling(const State& page);
    static void storePage(const State& page, DesignValues& design);
    static bool validatePage(const DesignValues& design, ErrorReporter& reporter);

    // Help beside the exponent: "1.00".
    static void exponentHelp(State& page);
};

}  // namespace veltrano
