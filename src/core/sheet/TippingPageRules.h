#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "core/design/ModelParameters.h"
#include "core/design/PlugWrapGrades.h"
#include "core/sheet/PageFields.h"

namespace veltrano {

// The tipping and plug wrap page: fields in page order.
enum TippingField {
    kTippingLength,
    kPerforationPermeability,
    kPerforationExponent,
    kPerforationPosition,
    kPerforationWidth,
    kPerforationTracks,
    kPlugWrapPermeability,
    kPlugWrapExponent,
    kTargetedVentilation,
    kTippingFieldCount
};
enum TippingHelp { kPerforationExponentHelp, kPlugWrapPermeabilityHelp, kPlugWrapExponentHelp };

// The five radio buttons of `tp_perfotype`, labels indexed by the type.
inline constexpr std::array<std::string_view, 5> kPerforationTypeLabels{
    "No perforation", "Electrostatic perforation", "Micro laser perforation", "Macro laser perforation",
    "Online laser perforation"};
inline constexpr std::string_view kPerforationGroup = "Perforation";  // inside "Tipping Paper"

struct TippingPageState : PageTexts {
    TippingPageState() : PageTexts(kTippingFieldCount) {}
    std::int32_t perforationType = kNoPerforation;  // the selected radio button (none when outside 0..4)
};

class TippingPageRules {
public:
    using State = TippingPageState;

    static std::span<const FieldSpec> fields();
    static std::span<const HelpSpec> helps();

    static void loadPage(State& page, const DesignValues& design);
    static PageEnabling updateEnabling(const State& page);
    static void storePage(const State& page, DesignValues& design);
    static bool validatePage(const DesignValues& design, ErrorReporter& reporter);

    // Help beside the perforation exponent: a typical exponent for the selected perforation.
    static void perforationExponentHelp(State& page);
    // Help beside the plug wrap permeability: the grade that suits the entered perforation.
    static void plugWrapPermeabilityHelp(State& page);
    // Help beside the plug wrap exponent: a typical exponent for the entered plug wrap permeability.
    static void plugWrapExponentHelp(State& page);
};

}  // namespace veltrano
