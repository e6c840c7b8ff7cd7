#pragma once

#include <cstdlib>
#include <iostream>

#include "core/design/DesignSet.h"
#include "core/design/ModelParameters.h"
#include "core/model/Recalculation.h"

namespace veltrano::bench {

// The coefficients every benchmark runs with: the test fixture's, so figures compare across changes
// of the shipped set.
inline const ModelParameters& parameters() {
    static const ModelParameters mp = [] {
        ModelParameters loaded;
        if (loadModelParameters(VELTRANO_FIXTURE_MODELS, loaded) != kModelParametersOk) {
            std::cerr << "cannot read " << VELTRANO_FIXTURE_MODELS << "\n";
            std::exit(1);
        }
        return loaded;
    }();
    return mp;
}

// The constructor's default designs, recalculated with those coefficients: the reference calibrates the
// current design as it would in the program.
inline const DesignSet& recalculatedDefaults() {
    static const DesignSet set = [] {
        DesignSet d;
        RecordingErrorReporter errors;
        recalculate(d, parameters(), errors);
        return d;
    }();
    return set;
}

}  // namespace veltrano::bench
