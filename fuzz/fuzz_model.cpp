// Any bytes as the current design (first 4168) and the reference (next 4168): recalculation and the
// puff-by-puff analysis end within their work caps, without a crash or undefined behaviour. Missing
// bytes are taken from a default design.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "core/design/DesignFields.h"
#include "core/model/FlowNetwork.h"
#include "core/model/PuffByPuff.h"
#include "core/model/Recalculation.h"

namespace {

veltrano::ModelParameters parameters;

veltrano::DesignImage imageFrom(const std::uint8_t* data, std::size_t size, std::size_t offset) {
    veltrano::DesignImage image =
        veltrano::encodeDesignImage(veltrano::CigaretteDesign(veltrano::ArrayMode::NoArrays));
    if (size > offset) std::memcpy(image.data(), data + offset, std::min(size - offset, image.size()));
    return image;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (veltrano::loadModelParameters(VELTRANO_FUZZ_MODELS, parameters) != 0) std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    veltrano::DesignSet designs;
    veltrano::decodeDesignImage(imageFrom(data, size, 0), designs.currentDesign);
    veltrano::decodeDesignImage(imageFrom(data, size, veltrano::kImageSize), designs.referenceDesign);
    veltrano::RecordingErrorReporter errors;
    veltrano::ShootingStatistics stats;
    veltrano::recalculate(designs, parameters, errors, &stats);
    veltrano::NullProgressSink progress;
    veltrano::runPuffByPuff(designs.currentDesign, parameters, progress, &stats);
    if (stats.maxPasses > veltrano::kMaxShootingPasses) std::abort();
    if (designs.currentDesign.puff_number < 0 || designs.currentDesign.puff_number > veltrano::kMaxPuffs)
        std::abort();
    for (int n : errors.numbers)
        if (n != 76 && n != 77) std::abort();
    return 0;
}
