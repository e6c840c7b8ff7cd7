#pragma once

#include <optional>
#include <string_view>

#include "core/design/DesignSet.h"

namespace veltrano {

// What the data summary shows of the current design and of the reference, value by value: its view, its
// printed page and the exported tables take them from here, so that they say the same.

enum class SummaryColumn { Current, Reference };

// The value the summary shows in `column` for the record field `field` ("cp_perm"), at full precision;
// nothing where it shows a placeholder ("--.--", a value not given or not measured) or leaves its cell
// empty (the reference's puff averages). The reference column shows the values the user gave and
// measured, the working reference's filter pressure drop and its rod's measured pressure drop scaled to
// the rod on the cigarette; the current column shows the calibrated predictions. A field the summary has
// no cell for (ci_len, tp_onlinevent, cp_lip, ro_totlen, ro_totpd) gives the record's value.
std::optional<double> summaryValue(const DesignSet& designs, SummaryColumn column, std::string_view field);

// Whether the summary's puff table shows the per-puff values of `field` ("puff_nfdpm") of the current
// design: the yields only where the design's own ISO yield is known. Per-puff values it has no row for
// (puff_pos, puff_mass) count as shown.
bool puffValuesShown(const DesignValues& current, std::string_view field);

}  // namespace veltrano
