#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

#include "core/sheet/PageFields.h"
#include "core/sheet/PuffShape.h"

namespace veltrano {

// The alternative smoking regime page: fields in page order.
enum RegimeField { kPuffVolume, kPuffDuration, kPuffInterval, kVentilationBlocking, kRegimeFieldCount };

// A preset regime: its radio button and the four values it writes.
struct RegimePreset {
    std::string_view label;
    double volume, duration, interval, blocking;
};
// Presets 1 to 6 (index 0 holds preset 1); "other" is number 0.
inline constexpr std::array<RegimePreset, 6> kRegimePresets{{
    {"35 cm³ / 2 s / 60 s / 0% vent blocking (ISO)", 35, 2, 60, 0},
    {"35 cm³ / 2 s / 30 s / 0% vent blocking", 35, 2, 30, 0},
    {"55 cm³ / 2 s / 30 s / 50% vent blocking", 55, 2, 30, 50},
    {"60 cm³ / 2 s / 30 s / 50% vent blocking", 60, 2, 30, 50},
    {"45 cm³ / 2 s / 30 s / 100% vent blocking", 45, 2, 30, 100},
    {"55 cm³ / 2 s / 30 s / 100% vent blocking", 55, 2, 30, 100},
}};
inline constexpr std::string_view kOtherRegimeLabel = "other";
inline constexpr std::string_view kRegimeGroup = "Smoking Regime";
inline constexpr std::string_view kShapeGroup = "Puff shape";
inline constexpr std::string_view kLoadShapeButton = "Load from file";

// The number (1 to 6) of the preset whose four values equal the design's regime exactly, else 0.
int presetIndex(const DesignValues& design);

struct RegimePageState : PageTexts {
    RegimePageState() : PageTexts(kRegimeFieldCount) {}
    int preset = 0;        // the selected regime radio button, 0 = "other"
    int shapeButton = -1;  // the selected shape radio button (a BuiltInShape), -1 for none
    PuffShape shape;       // the page's own shape, stored back on OK
    PreviewSamples preview{};
};

class RegimePageRules {
public:
    using State = RegimePageState;

    static std::span<const FieldSpec> fields();
    static std::span<const HelpSpec> helps();

    static void loadPage(State& page, const DesignValues& design);
    static PageEnabling updateEnabling(const State& page);
    static void storePage(const State& page, DesignValues& design);
    static bool validatePage(const DesignValues& design, ErrorReporter& reporter);

    // A regime radio button: a preset (1 to 6) writes its four texts; "other" (0) keeps the texts.
    static void selectPreset(State& page, int preset);
    // A shape radio button: the page's shape becomes the built-in one.
    static void selectShape(State& page, BuiltInShape shape);
    // "Load from file" with the chosen path: reports 50 or 51 and keeps the shape when the file
    // gives none. Returns true when the shape was replaced.
    static bool loadShapeFile(State& page, const std::string& path, ErrorReporter& reporter);
};

}  // namespace veltrano
