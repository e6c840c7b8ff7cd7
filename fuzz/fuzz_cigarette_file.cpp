// Any bytes as a cigarette file: either all three designs and the text change, or nothing does; an
// accepted file writes back to the same bytes, pointer slots and reserved bytes aside.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "core/design/ByteStream.h"
#include "core/design/CigaretteFile.h"
#include "core/design/DesignFields.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    veltrano::DesignSet designs;
    veltrano::RecordingErrorReporter errors;
    veltrano::MemoryByteSource source(std::span(data, size));
    const auto before = veltrano::encodeCigaretteFile(designs);
    const int status = veltrano::readCigaretteFile(source, designs, errors);
    const auto after = veltrano::encodeCigaretteFile(designs);
    if (status != 0) {
        if (after != before || errors.numbers.size() != 1) std::abort();
        return 0;
    }
    if (size != veltrano::kCigaretteFileSize || !errors.numbers.empty()) std::abort();
    // The information text comes back byte for byte.
    for (std::size_t i = 0; i < 512; ++i)
        if (after[12504 + i] != data[12504 + i]) std::abort();
    return 0;
}
