#pragma once

#include "design/DesignSet.h"
#include "design/ModelParameters.h"

namespace veltrano {

// Everything the program holds: the three designs with their information text, and the model
// coefficients (read-only after start-up). One object, owned by the application, handed by reference.
struct ProgramState {
    DesignSet designs;
    ModelParameters modelParameters;
};

}  // namespace veltrano
