#include "core/explore/Spread.h"

#include "core/design/NumberText.h"
#include "core/explore/CounterRandom.h"

namespace veltrano {

std::optional<Spread> parseSpread(std::string_view text) {
    Spread spread;
    if (!text.empty() && (text.front() == 'u' || text.front() == 'U')) {
        spread.shape = Spread::Shape::Uniform;
        text.remove_prefix(1);
    }
    if (!text.empty() && text.back() == '%') {
        spread.percent = true;
        text.remove_suffix(1);
    }
    const std::optional<double> amount = finiteNumber(text);
    if (!amount || *amount < 0) return std::nullopt;
    spread.amount = *amount;
    return spread;
}

std::string spreadText(const Spread& spread) {
    return (spread.shape == Spread::Shape::Uniform ? "u" : "") + shortestText(spread.amount) +
           (spread.percent ? "%" : "");
}

double spreadValue(const Spread& spread, double today, double u) {
    const double unit = spread.percent ? today / 100 : 1;
    const double z = spread.shape == Spread::Shape::Normal ? standardNormalQuantile(u) : 2 * u - 1;
    return today + spread.amount * unit * z;
}

}  // namespace veltrano
