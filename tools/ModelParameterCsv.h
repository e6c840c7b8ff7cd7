#pragma once

#include <string>
#include <string_view>

#include "core/design/ModelParameters.h"

namespace veltrano {

// The 162 model coefficients read from CSV text: a header line, then lines whose first two columns are
// the index (0 to 161) and the value. Every index must appear exactly once; `error` says what is wrong
// otherwise (empty when the text was read).
struct ModelParameterCsv {
    ModelParameters parameters;
    std::string error;
};
ModelParameterCsv readModelParameterCsv(std::string_view text);

}  // namespace veltrano
