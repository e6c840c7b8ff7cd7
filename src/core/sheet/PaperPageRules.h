#pragma once

#include <span>
#include <string_view>

#include "core/design/ModelParameters.h"
#include "core/sheet/PageFields.h"

namespace veltrano {

// The cigarette paper page: fields in page order.
enum PaperField {
    kBasisWeight,
    kFillerContent,
    kBurnAdditive,
    kAirPermeability,
    kPaperExponent,
    kDiffusionCapacity,
    kBandWidth,
    kBandSpacing,
    kBandPermeability,
    kBandDiffusion,
    kPaperFieldCount
};
enum PaperHelp { kPaperExponentHelp, kDiffusionCapacityHelp };

// The check box of banded paper; it stands between the diffusion capacity and the band fields.
inline constexpr std::string_view kLowIgnitionLabel = "Low ignition propensity paper";

struct PaperPageState : PageTexts {
    PaperPageState() : PageTexts(kPaperFieldCount) {}
    bool lowIgnitionPropensity = false;
};

class PaperPageRules {
public:
    using State = PaperPageState;

    static std::span<const FieldSpec> fields();
    static std::span<const HelpSpec> helps();

    static void loadPage(State& page, const DesignValues& design);
    static PageEnabling updateEnabling(const State& page);
    static void storePage(const State& page, DesignValues& design);
    static bool validatePage(const DesignValues& design, ErrorReporter& reporter);

    // Help beside the exponent: "1.0".
    static void exponentHelp(State& page);
    // Help beside the diffusion capacity: the capacity predicted from the entered air permeability.
    static void diffusionHelp(State& page, const ModelParameters& mp);
};

}  // namespace veltrano
