#pragma once

#include <cstdlib>
#include <iostream>

#include "design/ModelParameters.h"

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

}  // namespace veltrano::bench
