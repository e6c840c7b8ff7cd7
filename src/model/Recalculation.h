#pragma once

#include "design/DesignSet.h"
#include "design/ErrorMessages.h"
#include "design/ModelParameters.h"
#include "model/FlowNetwork.h"

namespace veltrano {

// Brings all results up to date: the working reference becomes the raw model prediction for the
// reference, the current design its calibrated prediction with stationary profiles, puff tables and
// curves. The reference is not changed; puff-by-puff data are not touched. Errors 76 and 77 of the
// online perforation fit are reported through `errors`, working reference first, on this thread.
void recalculate(DesignSet& designs, const ModelParameters& mp, ErrorReporter& errors,
                 ShootingStatistics* stats = nullptr);

// Scales the predictions of `design` by the reference's measured-to-predicted ratios, value by value,
// wherever the reference has the value marked known.
void calibrate(DesignValues& design, const DesignValues& reference, const DesignValues& workingReference);

}  // namespace veltrano
