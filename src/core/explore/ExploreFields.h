#pragma once

#include <span>
#include <string_view>

#include "core/design/CigaretteDesign.h"
#include "core/sheet/DesignSheet.h"
#include "core/sheet/PageFields.h"

namespace veltrano {

// The closed interval [lo, hi].
struct ValueRange {
    double lo = 0, hi = 0;
};

// A numeric input of the current design's sheet that a sweep or a target search may vary: a field whose
// page stores the typed value into its own record field and nothing else that the model reads.
struct ExploreField {
    SheetPage page;
    int pageField;   // its index in the page's field table
    ValueRange own;  // the range its own rule allows
    // Narrows `own` by the rules that tie it to other fields (nullptr when none).
    ValueRange (*crossLimits)(const DesignValues& design, ValueRange own);

    // Its entry in the page's field table: record field name, label, unit, display format.
    const FieldSpec& tableEntry() const;
    std::string_view name() const { return tableEntry().name; }
    std::string_view unit() const { return tableEntry().unit; }
    double DesignValues::*member() const { return tableEntry().member; }
};

// Every field that can be offered, in sheet order.
std::span<const ExploreField> exploreFields();
// The field of that record name, or nullptr.
const ExploreField* findExploreField(std::string_view name);

// Whether the current design's sheet lets the user type into the field (a regime field counts once
// "other" is picked, which changes no value).
bool isOffered(const ExploreField& field, const DesignValues& current);

// The values the page's rules accept for the field while every other field keeps its value in `design`
// (the field's own range when the other fields leave none).
ValueRange validRange(const ExploreField& field, const DesignValues& design);

// The range a sweep proposes for the field: half to twice today's value, kept inside `validRange`, so
// the points spread where today's design is rather than over a range mostly far from it; the whole
// valid range when today's value is not above zero or lies outside it.
ValueRange proposedSweepRange(const ExploreField& field, const DesignValues& design);

// Stores `value` unrounded as OK would store it typed into the field.
void storeValue(const ExploreField& field, DesignValues& design, double value);

}  // namespace veltrano
