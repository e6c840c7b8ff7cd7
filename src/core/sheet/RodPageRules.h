#pragma once

#include <span>

#include "core/sheet/PageFields.h"

namespace veltrano {

// The tobacco rod page: fields in page order.
enum RodField {
    kRodLength,
    kMeasuredRodLength,
    kRodPressureDrop,
    kRodExponent,
    kTobaccoMass,
    kRodFieldCount
};
// The estimator's Help is there only while the reference is edited.
enum RodHelp { kRodEstimatorHelp, kRodExponentHelp };

struct RodPageState : PageTexts {
    RodPageState() : PageTexts(kRodFieldCount) {}
};

class RodPageRules {
public:
    using State = RodPageState;

    static std::span<const FieldSpec> fields();
    static std::span<const HelpSpec> helps();

    static void loadPage(State& page, const DesignValues& design);
    static PageEnabling updateEnabling(const State& page);
    static void storePage(const State& page, DesignValues& design);
    static bool validatePage(const DesignValues& design, ErrorReporter& reporter);

    // Help beside the exponent: "1.20". (The other Help runs the RodEstimator.)
    static void exponentHelp(State& page);
};

}  // namespace veltrano
