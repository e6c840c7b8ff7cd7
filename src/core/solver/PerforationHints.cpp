#include "core/solver/PerforationHints.h"

#include <algorithm>

#include "core/design/NumberText.h"

namespace veltrano {

namespace {

constexpr std::string_view kVeryLowPermeability =  // H1
    "A tipping paper permeability of %.0f CU is very low. There may be difficulties with the "
    "production of such a paper. Probably, adjusting the cigarette paper permeability instead of "
    "perforating the tipping may achieve the desired effect.";

// Electrostatic perforation.
constexpr std::string_view kElectroRatherHigh =  // H2
    "For an electro perforation %.0f CU is a rather high permeability. It might be useful to "
    "switch to micro-laser perforation with at least 4 tracks instead.";
constexpr std::string_view kElectroExtremelyHigh =  // H3
    "For an electro perforation %.0f CU is an extremely high permeability. It might be useful to "
    "switch to macro-laser perforation with at least 2 tracks instead.";
constexpr std::string_view kElectroNarrow =  // H4
    "An electro perforation with a width of %.1f mm may cause production problems. It is "
    "recommended to use at least 3 mm but more preferably 4 mm for the perforation width.";
constexpr std::string_view kElectroWide =  // H5
    "A tipping paper can be electro-perforated to a width of %.1f mm, but due to the wide "
    "glue-free zone required on the filter you may encounter problems during cigarette "
    "production. Probably, a lower perforation width might be useful.";

// The advice for a laser perforation: the permeability against the range that suits the kind, then the
// permeability per track against the range that suits a track.
struct LaserRule {
    double lowest;        // below: rather low for this kind of perforation
    double highest;       // above: rather high
    int maxTracks;        // the most tracks it is made with
    double lowPerTrack;   // below: too little per track, fewer tracks advised
    double highPerTrack;  // above: too much per track, more tracks advised
    std::string_view low, high, lowPerTrackToSingle, lowPerTrackToFewer, highOnSingleTrack,
        highPerTrackToMore;
};

// Micro laser perforation.
constexpr LaserRule kMicroLaserRule{
    100,
    3200,
    8,
    100,
    400,
    "For a micro-laser perforation a permeability of %.0f CU is rather low. You might consider "
    "using an electro-perforation instead.",
    "For a micro-laser perforation a permeability of %.0f CU is rather high. Probably, a "
    "macro-laser perforation with at least 2 tracks might be useful.",
    "With a %.0f CU micro-laser perforation with %.0f tracks, the permeability per track is only "
    "%.0f CU, which is rather low. It might be useful to use a single track instead.",
    "With a %.0f CU micro-laser perforation with %.0f tracks, the permeability per track is only "
    "%.0f CU, which is rather low. It might be useful to use %i tracks instead.",
    "For a single track micro-laser perforation %.0f CU is a high permeability. Consider using "
    "more tracks, e.g. %i, or switching to a macro-laser perforation.",
    "With a %.0f CU micro-laser perforation with %.0f tracks, the permeability per track is %.0f "
    "CU, which is rather high. Consider using more tracks, e.g. %i, or switching to a macro-laser "
    "perforation.",
};

// Macro laser perforation.
constexpr LaserRule kMacroLaserRule{
    400,
    8000,
    4,
    400,
    2000,
    "For a macro-laser perforation a permeability of %.0f CU is rather low. You might consider "
    "using micro-laser or electro-perforation instead.",
    "Even for macro-laser perforation a permeability of %.0f CU is rather high. You might "
    "consider searching for additional means to reduce the smoke yields, e.g. filtration.",
    "With a %.0f CU macro-laser perforation with %.0f tracks, the permeability per track is only "
    "%.0f CU, which is rather low. It might be useful to use a single track instead.",
    "With a %.0f CU macro-laser perforation with %.0f tracks, the permeability per track is only "
    "%.0f CU, which is rather low. It might be useful to use %i tracks instead.",
    "For a single track macro-laser perforation %.0f CU is a high permeability. Consider using "
    "more tracks, e.g. %i.",
    "With a %.0f CU macro-laser perforation with %.0f tracks, the permeability per track is %.0f "
    "CU, which is rather high. Consider using more tracks, e.g. %i.",
};

std::string electrostaticHint(double x, double w) {
    std::string text;
    if (1500 < x && x < 3000) {
        text = formatText(kElectroRatherHigh, {x});
    } else if (x >= 3000) {
        text = formatText(kElectroExtremelyHigh, {x});
    } else if (w < 3) {
        text = formatText(kElectroNarrow, {w});
    }
    if (w >= 8) text = formatText(kElectroWide, {w});  // a wide zone outweighs the permeability
    return text;
}

std::string laserHint(double x, double n, const LaserRule& rule) {
    const double r = x / n;  // permeability per track
    // One track per 200 CU, rounded, within what the perforation is made with.
    const long long t = std::clamp(checkedFloorToInt(x / 200 + 0.5), 1, rule.maxTracks);
    if (x < rule.lowest) return formatText(rule.low, {x});
    if (x > rule.highest) return formatText(rule.high, {x});
    if (r < rule.lowPerTrack && n != t && n > 1) {
        if (t == 1) return formatText(rule.lowPerTrackToSingle, {x, n, r});
        return formatText(rule.lowPerTrackToFewer, {x, n, r, t});
    }
    if (r > rule.highPerTrack && n != t && n < rule.maxTracks && t > 1) {
        if (n == 1) return formatText(rule.highOnSingleTrack, {x, t});
        return formatText(rule.highPerTrackToMore, {x, n, r, t});
    }
    return {};
}

}  // namespace

std::string perforationHints(double x, const DesignValues& design) {
    if (x < 60) return formatText(kVeryLowPermeability, {x});
    switch (design.tp_perfotype) {
        case kElectrostatic:
            return electrostaticHint(x, design.tp_perfowidth);
        case kMicroLaser:
            return laserHint(x, design.tp_perfotrack, kMicroLaserRule);
        case kMacroLaser:
            return laserHint(x, design.tp_perfotrack, kMacroLaserRule);
        default:
            return {};
    }
}

}  // namespace veltrano
