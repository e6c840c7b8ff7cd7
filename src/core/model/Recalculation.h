#pragma once

#include "core/design/DesignSet.h"
#include "core/design/ErrorMessages.h"
#include "core/design/ModelParameters.h"
#include "core/model/FlowNetwork.h"
#include "core/model/ParallelTasks.h"

namespace veltrano {

// Brings all results up to date: the working reference becomes the raw model prediction for the
// reference, the current design its calibrated prediction with stationary profiles, puff tables and
// curves. The reference is not changed; puff-by-puff data are not touched. Errors 76 and 77 of the
// online perforation fit are reported through `errors`, working reference first, on this thread.
// `threads` bounds the threads its independent puff tables may use.
void recalculate(DesignSet& designs, const ModelParameters& mp, ErrorReporter& errors,
                 ShootingStatistics* stats = nullptr, InnerThreads threads = InnerThreads::Machine);

// The two halves of `recalculate`, for callers that recalculate many variants of the current design
// against one reference (sweeps, previews, target searches): the working reference once, then each
// variant. Together they give exactly the results of `recalculate`; each reports its own errors.
// The working reference takes the reference's values and becomes its raw model prediction.
void recalculateWorkingReference(const DesignValues& reference, CigaretteDesign& working,
                                 const ModelParameters& mp, ErrorReporter& errors,
                                 ShootingStatistics* stats = nullptr,
                                 InnerThreads threads = InnerThreads::Machine);
// The current design becomes its calibrated prediction, against a working reference that
// `recalculateWorkingReference` (or `recalculate`) made from `reference`.
void recalculateCurrent(CigaretteDesign& current, const DesignValues& reference,
                        const DesignValues& workingReference, const ModelParameters& mp,
                        ErrorReporter& errors, ShootingStatistics* stats = nullptr,
                        InnerThreads threads = InnerThreads::Machine);

// Scales the predictions of `design` by the reference's measured-to-predicted ratios, value by value,
// wherever the reference has the value marked known.
void calibrate(DesignValues& design, const DesignValues& reference, const DesignValues& workingReference);

}  // namespace veltrano
