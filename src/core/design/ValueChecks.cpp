#include "core/design/ValueChecks.h"

#include <cmath>
#include <type_traits>

#include "core/design/DesignFields.h"

namespace veltrano {

namespace {

// The numbers a field holds: one, or the slots of the puff shape. The known word and the magic hold none.
template <class Visit>
void numbersOf(const DesignValues& values, const DesignField& field, const Visit& visit) {
    std::visit(
        [&](auto member) {
            const auto& value = values.*member;
            using T = std::remove_cvref_t<decltype(value)>;
            if constexpr (std::is_same_v<T, double> || std::is_same_v<T, std::int32_t>)
                visit(static_cast<double>(value));
            else if constexpr (std::is_same_v<T, std::array<double, kShapeSlots>>)
                for (double slot : value) visit(slot);
        },
        field.member);
}

}  // namespace

std::vector<InputProblem> impossibleInputs(const DesignValues& values) {
    std::vector<InputProblem> problems;
    for (const DesignField& field : designFields()) {
        if (field.role != FieldRole::Magnitude && field.role != FieldRole::Input) continue;
        bool notFinite = false, negative = false;
        numbersOf(values, field, [&](double v) {
            notFinite = notFinite || !std::isfinite(v);
            negative = negative || (field.role == FieldRole::Magnitude && v < 0);
        });
        if (notFinite || negative) problems.push_back({field.name, !notFinite});
    }
    return problems;
}

std::vector<std::string_view> nonFiniteResults(const DesignValues& values) {
    std::vector<std::string_view> names;
    for (const DesignField& field : designFields()) {
        if (field.role != FieldRole::Result) continue;
        bool notFinite = false;
        numbersOf(values, field, [&](double v) { notFinite = notFinite || !std::isfinite(v); });
        if (notFinite) names.push_back(field.name);
    }
    return names;
}

}  // namespace veltrano
