#pragma once

#include <span>

#include "core/design/ModelParameters.h"
#include "core/sheet/PageFields.h"
#include "core/sheet/RodPageRules.h"

namespace veltrano {

// The smoke yields page (reference only): fields in page order.
enum YieldsField {
    kOpenDrawResistance,
    kClosedDrawResistance,
    kFilterVentilation,
    kRodVentilation,
    kMassBurnRate,
    kLinearBurnRate,
    kIsoPuffNumber,
    kIsoTar,
    kIsoNicotine,
    kIsoCarbonMonoxide,
    kAltPuffNumber,
    kAltTar,
    kAltNicotine,
    kAltCarbonMonoxide,
    kYieldsFieldCount
};

struct YieldsPageState : PageTexts {
    YieldsPageState() : PageTexts(kYieldsFieldCount) {}
    double massPerLength = -1;  // mg/mm of the measured rod, -1 when not available
};

// Tobacco mass per length (mg/mm) of the measured rod from the rod page's texts, -1 when the length
// lies outside 30..150 mm or the mass outside 300..3000 mg (an undisplayed page gives -1).
double massPerLength(const RodPageState& rod);

class YieldsPageRules {
public:
    using State = YieldsPageState;

    static std::span<const FieldSpec> fields();
    static std::span<const HelpSpec> helps();

    static void loadPage(State& page, const DesignValues& design, const RodPageState& rod);
    static PageEnabling updateEnabling(const State& page);
    static void storePage(const State& page, DesignValues& design);
    static bool validatePage(const DesignValues& design, const ModelParameters& mp, ErrorReporter& reporter);

    // When the mass burn rate field loses the focus: the linear burn rate from it (emptied when the rod
    // gives no mass per length or the mass burn rate is not known).
    static void massToLinear(State& page, const RodPageState& rod);
    // When the linear burn rate field loses the focus: the mass burn rate from it (emptied likewise).
    static void linearToMass(State& page, const RodPageState& rod);
};

}  // namespace veltrano
