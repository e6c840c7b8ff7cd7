// Any bytes as a start-up design file: the reader ends with a status, allocates only what the file can
// hold, and what it read writes back as a file that reads again to the same designs.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "core/design/ByteStream.h"
#include "core/design/StartupFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    veltrano::DesignSet designs;
    veltrano::MemoryByteSource source(std::span(data, size));
    if (veltrano::loadStartupDesigns(source, designs) != 0) return 0;
    for (const veltrano::CigaretteDesign* d :
         {&designs.currentDesign, &designs.referenceDesign, &designs.workingReference})
        if (static_cast<std::size_t>(d->puff_number) * 68 > size) std::abort();

    veltrano::MemoryByteSink sink;
    for (const veltrano::CigaretteDesign* d :
         {&designs.currentDesign, &designs.referenceDesign, &designs.workingReference})
        if (!veltrano::writeBlock(sink, *d)) std::abort();
    veltrano::DesignSet again;
    veltrano::MemoryByteSource reread(sink.bytes);
    if (veltrano::loadStartupDesigns(reread, again) != 0) std::abort();
    if (again.currentDesign.puff_number != designs.currentDesign.puff_number) std::abort();
    return 0;
}
