#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

#include "core/sheet/FilterPageRules.h"
#include "core/sheet/PageFields.h"
#include "core/sheet/PaperPageRules.h"
#include "core/sheet/RodPageRules.h"
#include "core/sheet/YieldsPageRules.h"

namespace veltrano {

// The input fields of the estimator; the group of each is its method's radio button.
enum EstimatorField {
    kMethod1Plug,
    kMethod1Closed,
    kMethod2Plug,
    kMethod2Open,
    kMethod2Ventilation,
    kEstimatorFieldCount
};

inline constexpr std::string_view kEstimatorTitle = "Estimating the rod pressure drop";
inline constexpr std::string_view kEstimatorResultLabel = "Tobacco rod pressure drop";
inline constexpr std::array<std::string_view, 2> kEstimatorMethodLabels{"Method 1", "Method 2"};

// Estimates the rod pressure drop from measurements on the finished cigarette: method 1 from the
// closed draw resistance, method 2 from the open draw resistance and the filter ventilation. The ui
// calls `recompute` whenever one of the inputs loses the focus and `accept` on Accept; Cancel needs
// nothing.
class RodEstimator {
public:
    // Start values from the other pages' current texts; a page not displayed since the sheet opened
    // has empty texts, which read as 0.
    RodEstimator(const FilterPageState& filter, const PaperPageState& paper, const YieldsPageState& yields);

    static std::span<const FieldSpec> fields();

    int method() const { return method_; }
    void selectMethod(int method) { method_ = method == 2 ? 2 : 1; }
    // Only the selected method's fields take input.
    bool fieldEnabled(int field) const;

    // Computes the estimate from the selected method's texts and shows it.
    void recompute();
    // Computes once more, then writes the estimate into the rod page's pressure drop, scaled from the
    // rod on the cigarette to the rod as measured.
    void accept(RodPageState& rod);

    std::array<std::string, kEstimatorFieldCount> texts;
    std::string estimateText;  // the read-only result, empty until the first computation

    double plugPressureDrop = 0, closedDrawResistance = 0, openDrawResistance = 0;
    double filterVentilation = 0;  // %
    double paperPermeability = 0;  // CU, from the paper page; not shown
    double rodPressureDrop = 0;    // the estimate, 0 when there is none

private:
    int method_ = 1;
};

}  // namespace veltrano
