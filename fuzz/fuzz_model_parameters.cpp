// Any bytes as a model parameter file: decoding never reads out of bounds, and re-encoding what was
// decoded reproduces the even bits of the input.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "core/design/ModelParameters.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    veltrano::ModelParameters p;
    const int status = veltrano::decodeModelParameters(std::span(data, size), p);
    if (status != 0 && status != 2) std::abort();
    if (status == 0) {
        const auto bytes = veltrano::encodeModelParameters(p);
        for (std::size_t i = 0; i < bytes.size(); ++i)
            if ((bytes[i] & 0x55) != (data[i] & 0x55)) std::abort();
    }
    return 0;
}
