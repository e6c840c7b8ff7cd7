#include "core/explore/Sensitivity.h"

#include <cmath>
#include <numeric>

namespace veltrano {

namespace {

// (y+ - y-) / y0 over (x+ - x-) / x0; nothing where a ratio has no meaning.
std::optional<double> elasticity(double x0, double xMinus, double xPlus, double y0, double yMinus,
                                 double yPlus) {
    if (x0 == 0 || y0 == 0 || xPlus == xMinus) return std::nullopt;
    const double e = ((yPlus - yMinus) / y0) / ((xPlus - xMinus) / x0);
    return std::isfinite(e) ? std::optional(e) : std::nullopt;
}

}  // namespace

std::vector<SensitivityRow> computeSensitivities(std::span<const ExploreField* const> fields,
                                                 std::span<const ExploreOutput* const> outputs,
                                                 double stepPercent, const DesignValues& current,
                                                 const ExploreBasis& basis,
                                                 const SensitivityCallbacks& callbacks) {
    // Variant 0 is today's design through OK unchanged; 2k + 1 and 2k + 2 are field k less and plus the step.
    const double step = stepPercent / 100;
    const auto variantAt = [&](int n) {
        DesignValues variant = current;
        if (n == 0) return variant;
        const ExploreField& field = *fields[static_cast<std::size_t>((n - 1) / 2)];
        const double today = current.*field.member();
        storeValue(field, variant, today * (n % 2 == 1 ? 1 - step : 1 + step));
        return variant;
    };
    std::vector<int> numbers(2 * fields.size() + 1);
    std::iota(numbers.begin(), numbers.end(), 0);
    std::vector<VariantResult> results(numbers.size());
    VariantCallbacks variantCallbacks;
    variantCallbacks.cancelRequested = callbacks.cancelRequested;
    int done = 0;
    variantCallbacks.done = [&](int n, VariantResult&& result) {
        results[static_cast<std::size_t>(n)] = std::move(result);
        if (callbacks.progress) callbacks.progress(++done, static_cast<int>(numbers.size()));
    };
    if (runVariants(numbers, variantAt, basis, false, variantCallbacks) != static_cast<int>(numbers.size()))
        return {};

    const VariantResult& today = results[0];
    std::vector<SensitivityRow> rows;
    for (std::size_t k = 0; k < fields.size(); ++k) {
        const VariantResult& minus = results[2 * k + 1];
        const VariantResult& plus = results[2 * k + 2];
        SensitivityRow row;
        row.field = fields[k];
        row.value = current.*fields[k]->member();
        for (const VariantResult* r : {&today, &minus, &plus}) {
            if (r->status == VariantStatus::Refused && !row.refused) {
                row.refused = true;
                row.errors = r->errors;
            }
        }
        if (!row.refused) {
            row.errors = minus.errors;
            row.errors.insert(row.errors.end(), plus.errors.begin(), plus.errors.end());
        }
        const double xMinus = minus.values.*fields[k]->member(), xPlus = plus.values.*fields[k]->member();
        for (const ExploreOutput* o : outputs)
            row.elasticities.push_back(row.refused
                                           ? std::nullopt
                                           : elasticity(row.value, xMinus, xPlus, o->read(today.values),
                                                        o->read(minus.values), o->read(plus.values)));
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace veltrano
