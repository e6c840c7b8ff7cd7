#include "render/charts/ExploreText.h"

#include "core/report/TableText.h"
#include "render/views/ValueText.h"

namespace veltrano {

namespace {

std::string withUnit(std::string title, std::string_view unit) {
    if (unit.empty()) return title;
    return title + " [" + std::string(unit) + "]";
}

}  // namespace

std::string fieldTitle(const ExploreField& field) {
    // A label two fields share is told apart by its group, or by the field's sub-label.
    const FieldSpec& mine = field.tableEntry();
    std::string title(mine.label);
    for (const ExploreField& other : exploreFields()) {
        const FieldSpec& theirs = other.tableEntry();
        if (&other == &field || theirs.label != mine.label) continue;
        if (theirs.group != mine.group) return std::string(mine.group) + ": " + title;
        if (!mine.subLabel.empty()) return title + " " + std::string(mine.subLabel);
    }
    return title;
}

std::string fieldTitleWithUnit(const ExploreField& field) {
    return withUnit(fieldTitle(field), field.unit());
}

std::string outputTitleWithUnit(const ExploreOutput& output) {
    return withUnit(std::string(output.label), output.unit);
}

std::string axisUnit(const ExploreOutput& output) {
    return output.unit.empty() ? "puffs" : std::string(output.unit);
}

std::string shownInput(const ExploreField& field, double value) {
    return valueText(field.tableEntry().format, value, 12);
}

std::string storedInput(double value) {
    return fullPrecisionNumber(value);
}

std::string outputText(double value) {
    return valueText("%.3f", value, 12);
}

}  // namespace veltrano
