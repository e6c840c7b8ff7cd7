// Any bytes as the JSON description `veltrano-cli build` reads: a clean refusal or designs; designs read
// with the input checks hold only inputs a sheet could store, and every description read gives a file
// Open accepts. The checks only ever refuse more.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "DesignDescription.h"
#include "core/design/CigaretteFile.h"
#include "core/design/ValueChecks.h"

namespace {

bool openAccepts(const veltrano::DesignSet& designs) {
    const veltrano::CigaretteFileCheck check =
        veltrano::checkCigaretteFile(veltrano::encodeCigaretteFile(designs));
    for (const bool accepted : check.imageAccepted)
        if (!accepted) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const veltrano::cli::DesignDescription checked =
        veltrano::cli::readDesignDescription(text, "input", true);
    const veltrano::cli::DesignDescription unchecked =
        veltrano::cli::readDesignDescription(text, "input", false);
    if (checked.problem.empty() && !unchecked.problem.empty()) std::abort();
    if (unchecked.problem.empty() && !openAccepts(unchecked.designs)) std::abort();
    if (!checked.problem.empty()) return 0;
    for (const veltrano::CigaretteDesign* design :
         {&checked.designs.referenceDesign, &checked.designs.workingReference,
          &checked.designs.currentDesign})
        if (!veltrano::impossibleInputs(design->values()).empty()) std::abort();
    return 0;
}
