#pragma once

#include "core/design/ModelParameters.h"
#include "core/document/DesignDocument.h"

namespace veltrano {

// Everything the program holds: the model coefficients (read-only after start-up) and the document with
// the designs. One object, owned by the application, handed by reference.
struct ProgramState {
    ModelParameters modelParameters;
    DesignDocument document{modelParameters};
};

}  // namespace veltrano
