// The number reader takes any field text: it must give a finite value, and formatting that value back
// must read as the same number.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/design/NumberText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const double v = veltrano::readNumber(text);
    if (!std::isfinite(v)) std::abort();
    if (veltrano::readNumber(veltrano::formatNumber("%.17e", v)) != v) std::abort();
    (void)veltrano::formatText(text, {v, 3LL, "s"});  // any text as a format never misbehaves
    return 0;
}
