#include "exploreui/ExploreText.h"

#include "report/TableText.h"
#include "views/ValueText.h"

namespace veltrano {

namespace {

std::string withUnit(std::string title, std::string_view unit) {
    if (unit.empty()) return title;
    return title + " [" + std::string(unit) + "]";
}

}  // namespace

std::string fieldTitle(const ExploreField& field) {
    const FieldSpec& spec = field.spec();
    std::string title(spec.label);
    for (const ExploreField& other : exploreFields()) {
        const FieldSpec& o = other.spec();
        if (&other == &field || o.label != spec.label) continue;
        if (o.group != spec.group) return std::string(spec.group) + ": " + title;
        if (!spec.subLabel.empty()) return title + " " + std::string(spec.subLabel);
    }
    return title;
}

std::string fieldTitleWithUnit(const ExploreField& field) {
    return withUnit(fieldTitle(field), field.spec().unit);
}

std::string outputTitleWithUnit(const ExploreOutput& output) {
    return withUnit(std::string(output.label), output.unit);
}

std::string axisUnit(const ExploreOutput& output) {
    return output.unit.empty() ? "puffs" : std::string(output.unit);
}

std::string shownInput(const ExploreField& field, double value) {
    return valueText(field.spec().format, value, 12);
}

std::string storedInput(double value) {
    return fullPrecisionNumber(value);
}

std::string outputText(double value) {
    return valueText("%.3f", value, 12);
}

}  // namespace veltrano
