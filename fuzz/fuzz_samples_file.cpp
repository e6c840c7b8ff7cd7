// The tolerance samples file comes from other machines: any bytes read as one, or give a reason why not.
// What does read writes back to a header that reads as the same run.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "core/explore/ToleranceSamplesFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string problem;
    const std::optional<veltrano::ToleranceSamplesFile> file = veltrano::readSamplesFile(text, problem);
    if (!file) {
        if (problem.empty()) std::abort();
        return 0;
    }
    std::string again = veltrano::samplesFileHeader(*file);
    for (const veltrano::ToleranceSample& s : file->samples)
        again += veltrano::samplesFileRow(s, file->setup.outputs.size());
    const std::optional<veltrano::ToleranceSamplesFile> reread = veltrano::readSamplesFile(again, problem);
    if (!reread || !veltrano::sameRun(*file, *reread) || reread->samples.size() != file->samples.size())
        std::abort();
    return 0;
}
