// Any bytes as a legacy file: imported or refused with error 74, never undefined behaviour, whatever the
// old records hold.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "core/design/ByteStream.h"
#include "core/design/LegacyImport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    veltrano::DesignSet designs;
    veltrano::RecordingErrorReporter errors;
    veltrano::MemoryByteSource source(std::span(data, size));
    const int status = veltrano::importLegacyFile(source, designs, errors);
    if ((status == 0) != (size >= veltrano::kLegacyFileSize)) std::abort();
    const int type = designs.currentDesign.tp_perfotype;
    if (status == 0 && (type < 0 || type > 3)) std::abort();
    return 0;
}
