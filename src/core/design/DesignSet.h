#pragma once

#include <array>
#include <string>

#include "core/design/CigaretteDesign.h"

namespace veltrano {

inline constexpr std::size_t kInformationTextSize = 512;
// What the user may enter: 510 bytes, a line break (CR LF) counting as two. Whatever writes the text
// (the information dialog, the command-line tool) holds to this one limit.
inline constexpr std::size_t kInformationTextLimit = 510;

// The free text kept with the designs: Windows-1252 bytes with CR LF line breaks, zero-terminated.
// Readers take it up to the first zero byte and at most 511 bytes.
using InformationText = std::array<char, kInformationTextSize>;
std::string informationTextString(const InformationText& text);

// The three designs the program always holds, and the information text that travels with them.
struct DesignSet {
    CigaretteDesign referenceDesign;   // as entered, with its measured values
    CigaretteDesign workingReference;  // the model's own prediction for the reference
    CigaretteDesign currentDesign;     // the design under development
    InformationText informationText{};

    // Everything, arrays and per-puff data included.
    DesignSet clone() const;
};

}  // namespace veltrano
