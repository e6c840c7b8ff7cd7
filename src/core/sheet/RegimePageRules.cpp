#include "core/sheet/RegimePageRules.h"

#include "core/design/NumberText.h"

namespace veltrano {

namespace {

const std::array<FieldSpec, kRegimeFieldCount> kFields{{
    {"alt_volume", kRegimeGroup, "Puff volume", "", "cm³", &DesignValues::alt_volume, KnownBit::None, false,
     "%.2f", 0},
    {"alt_duration", kRegimeGroup, "Puff duration", "", "s", &DesignValues::alt_duration, KnownBit::None,
     false, "%.2f", 0},
    {"alt_interval", kRegimeGroup, "Puff interval", "(start of puff to start of next puff)", "s",
     &DesignValues::alt_interval, KnownBit::None, false, "%.2f", 0},
    {"alt_blocking", kRegimeGroup, "Ventilation blocking", "", "%", &DesignValues::alt_blocking,
     KnownBit::None, false, "%.2f", 0},
}};

void setShape(RegimePageState& page, const PuffShape& shape) {
    page.shape = shape;
    page.preview = previewSamples(page.shape);
}

}  // namespace

int presetIndex(const DesignValues& d) {
    for (std::size_t i = 0; i < kRegimePresets.size(); ++i) {
        const RegimePreset& p = kRegimePresets[i];
        if (p.volume == d.alt_volume && p.duration == d.alt_duration && p.interval == d.alt_interval &&
            p.blocking == d.alt_blocking)
            return static_cast<int>(i) + 1;
    }
    return 0;
}

std::span<const FieldSpec> RegimePageRules::fields() {
    return kFields;
}
std::span<const HelpSpec> RegimePageRules::helps() {
    return {};
}

void RegimePageRules::loadPage(State& page, const DesignValues& design) {
    setShape(page, puffShapeOf(design));
    page.preset = presetIndex(design);
    page.shapeButton = -1;
    page::load(page, kFields, design);
}

PageEnabling RegimePageRules::updateEnabling(const State& page) {
    PageEnabling e;
    e.field.assign(kRegimeFieldCount, page.preset == 0);
    return e;
}

void RegimePageRules::storePage(const State& page, DesignValues& design) {
    page::store(page, kFields, design);
    // A shape the page did not change stays as the design holds it.
    if (page.shape != puffShapeOf(design)) storePuffShape(page.shape, design);
}

bool RegimePageRules::validatePage(const DesignValues& d, ErrorReporter& reporter) {
    RuleCheck check(reporter);
    check.inRange(d.alt_volume, 10, 100, kErrorPuffVolume);
    check.inRange(d.alt_duration, 0.5, 8, kErrorPuffDuration);
    check.inRange(d.alt_interval, 10, 180, kErrorPuffInterval);
    check.inRange(d.alt_blocking, 0, 100, kErrorVentilationBlocking);
    return check.passed();
}

void RegimePageRules::selectPreset(State& page, int preset) {
    const bool isPreset = preset >= 1 && preset <= static_cast<int>(kRegimePresets.size());
    page.preset = isPreset ? preset : 0;
    if (!isPreset) return;
    const RegimePreset& p = kRegimePresets[static_cast<std::size_t>(preset - 1)];
    page.texts[kPuffVolume] = formatNumber("%.2f", p.volume);
    page.texts[kPuffDuration] = formatNumber("%.2f", p.duration);
    page.texts[kPuffInterval] = formatNumber("%.2f", p.interval);
    page.texts[kVentilationBlocking] = formatNumber("%.2f", p.blocking);
}

void RegimePageRules::selectShape(State& page, BuiltInShape shape) {
    page.shapeButton = static_cast<int>(shape);
    setShape(page, builtInShape(shape));
}

bool RegimePageRules::loadShapeFile(State& page, const std::string& path, ErrorReporter& reporter) {
    PuffShape shape;
    if (loadPuffShapeFile(path, shape, reporter) != 0) return false;
    setShape(page, shape);
    return true;
}

}  // namespace veltrano
