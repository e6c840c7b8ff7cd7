#pragma once

#include <string>
#include <vector>

#include "core/design/DesignSet.h"
#include "render/views/PuffTable.h"

namespace veltrano {

// The parameter and result tables of both designs, as texts: the summary view draws them and the
// printed page prints them. Each value is already formatted, or its placeholder when its condition
// fails, or empty where the table shows nothing.
struct SummaryRow {
    std::string label, unit, current, reference;
};
struct SummarySection {
    std::string heading;
    std::vector<SummaryRow> rows;
};

// "Tipping Paper", "Plug Wrap Paper", "Cigarette Paper", "Filter", "Tobacco Rod". On paper the
// placeholder of the tipping and plug wrap permeabilities and of the total titer is "-.--".
std::vector<SummarySection> parameterSummary(const DesignSet& designs, Medium medium);

// "Stationary Flow", "ISO Smoking Regime", "Alternative Smoking". On paper the reference's filter
// ventilation is its targeted online ventilation for online perforation, and its total ventilation
// needs both measured ventilations.
std::vector<SummarySection> resultSummary(const DesignSet& designs, Medium medium);

}  // namespace veltrano
