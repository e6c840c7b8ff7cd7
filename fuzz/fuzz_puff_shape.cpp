// Any bytes as a puff shape file: either error 51 and the shape untouched, or 2 to 400 finite points
// that peak at exactly 1, with the preview inside its box.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/sheet/PuffShape.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    veltrano::PuffShape shape;
    shape.values.fill(0.5);
    shape.count = 7;
    const int status =
        veltrano::parsePuffShape(std::string_view(reinterpret_cast<const char*>(data), size), shape);
    if (status == veltrano::kPuffShapeTooFewPoints) {
        if (shape.count != 7 || shape.values[0] != 0.5) std::abort();
        return 0;
    }
    if (status != 0 || shape.count < 2 || shape.count > veltrano::kShapeSlots) std::abort();
    double peak = 0;
    for (int i = 0; i < shape.count; ++i) {
        const double v = shape.values[static_cast<std::size_t>(i)];
        if (!std::isfinite(v) || v < 0 || v > 1) std::abort();
        peak = std::fmax(peak, v);
    }
    if (peak != 1) std::abort();
    for (int s : veltrano::previewSamples(shape))
        if (s < 0 || s > 120) std::abort();
    return 0;
}
