#pragma once

#include <functional>
#include <span>
#include <vector>

#include <gtest/gtest.h>

#include "core/design/CigaretteDesign.h"
#include "core/design/ErrorMessages.h"
#include "core/design/ModelParameters.h"
#include "core/sheet/PageFields.h"

namespace veltrano::testing {

// Ticks or clears a known box of a page, as a click on it does.
inline void setBox(PageTexts& page, KnownBit bit, bool checked) {
    page.boxes = checked ? page.boxes | known::bit(bit) : page.boxes & ~known::bit(bit);
}

// The numbers a page's validation reports for `design`, in order; an empty list means it passed.
template <class Validate>
std::vector<int> errorsOf(Validate validate, const DesignValues& design) {
    RecordingErrorReporter reporter;
    const bool passed = validate(design, reporter);
    EXPECT_EQ(passed, reporter.numbers.empty());
    return reporter.numbers;
}

// One case of a page's rules: a change to the default design, and the errors it must report in order.
struct RuleCase {
    const char* what;
    std::function<void(DesignValues&)> change;
    std::vector<int> errors;
};

template <class Validate>
void expectRuleCases(Validate validate, std::span<const RuleCase> cases) {
    for (const RuleCase& c : cases) {
        DesignValues d;
        c.change(d);
        EXPECT_EQ(errorsOf(validate, d), c.errors) << c.what;
    }
}

// Model parameters with a diffusion law of their own: D = 0.05 * P^0.5.
inline ModelParameters diffusionParameters() {
    ModelParameters mp;
    mp.mp[57] = 0.05;
    mp.mp[58] = 0.5;
    return mp;
}

}  // namespace veltrano::testing
