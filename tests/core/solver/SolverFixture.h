#pragma once

#include <stdexcept>

#include "core/design/DesignSet.h"
#include "core/design/ErrorMessages.h"
#include "core/design/ModelParameters.h"
#include "core/model/Recalculation.h"

namespace veltrano::testing {

// The committed coefficient set (tests/data/fixture-models.dat).
inline const ModelParameters& solverParameters() {
    static const ModelParameters parameters = [] {
        ModelParameters mp;
        if (loadModelParameters(VELTRANO_TEST_DATA_DIR "/fixture-models.dat", mp) != kModelParametersOk)
            throw std::runtime_error("tests/data/fixture-models.dat is missing or incomplete");
        return mp;
    }();
    return parameters;
}

// Brings the designs up to date, as the shell does before the solver opens.
inline void recalculateDesigns(DesignSet& designs) {
    RecordingErrorReporter errors;
    recalculate(designs, solverParameters(), errors);
}

// A reference whose measured filter ventilation is `factor` times the model's prediction for it, so that
// the calibration scales the current design's filter ventilation by `factor`.
inline void calibrateFilterVentilationBy(DesignSet& designs, double factor) {
    recalculateDesigns(designs);
    designs.referenceDesign.known |= known::bit(KnownBit::FilterVentilation);
    designs.referenceDesign.stat_fivent = factor * designs.workingReference.stat_fivent;
    recalculateDesigns(designs);
}

}  // namespace veltrano::testing
