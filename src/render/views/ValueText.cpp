#include "render/views/ValueText.h"

#include <algorithm>
#include <cmath>

#include "core/design/NumberText.h"

namespace veltrano {

namespace {

// Width and decimals of a printf format "%[flags][width][.precision]conversion".
struct FormatShape {
    std::size_t width = 0;
    int decimals = 6;
};

FormatShape shapeOf(std::string_view format) {
    FormatShape shape;
    std::size_t i = format.find('%');
    if (i == std::string_view::npos) return shape;
    ++i;
    while (i < format.size() && std::string_view("-+ 0#").find(format[i]) != std::string_view::npos) ++i;
    auto number = [&] {
        std::size_t n = 0;
        while (i < format.size() && format[i] >= '0' && format[i] <= '9' && n < 100)
            n = n * 10 + static_cast<std::size_t>(format[i++] - '0');
        return n;
    };
    shape.width = number();
    if (i < format.size() && format[i] == '.') {
        ++i;
        shape.decimals = static_cast<int>(number());
    }
    // Whole-number conversions show no decimals.
    if (i < format.size() && std::string_view("diuxX").find(format[i]) != std::string_view::npos)
        shape.decimals = 0;
    return shape;
}

}  // namespace

std::string valueText(std::string_view format, double value, std::string_view placeholder,
                      std::size_t width) {
    if (!std::isfinite(value)) return std::string(placeholder);
    std::string text = formatNumber(format, value);
    if (text.size() <= width) return text;
    for (int decimals = std::min(shapeOf(format).decimals, 7);; --decimals) {
        text = formatNumber("%." + std::to_string(decimals) + "e", value);
        if (text.size() <= width || decimals <= 0) return text;
    }
}

std::string valueText(std::string_view format, double value, std::size_t width) {
    return valueText(format, value, dashesOf(format), width);
}

std::string dashesOf(std::string_view format) {
    const FormatShape shape = shapeOf(format);
    std::string dashes = shape.decimals > 0
                             ? "-." + std::string(static_cast<std::size_t>(shape.decimals), '-')
                             : std::string("-");
    if (dashes.size() < shape.width) dashes.insert(0, shape.width - dashes.size(), ' ');
    return dashes;
}

std::string valueOr(bool condition, std::string_view format, double value, std::string_view placeholder) {
    return condition ? valueText(format, value, placeholder) : std::string(placeholder);
}

std::string joinedValues(std::string_view format, std::initializer_list<double> values,
                         std::string_view separator, std::string_view placeholder, std::size_t width) {
    std::string text;
    for (auto v = values.begin(); v != values.end(); ++v) {
        if (v != values.begin()) text += separator;
        text += valueText(format, *v, placeholder, width);
    }
    return text;
}

std::string regimeTitle(const DesignValues& d) {
    return joinedValues("%.0f", {d.alt_volume, d.alt_duration, d.alt_interval, d.alt_blocking}, "/", "-", 4) +
           "%";
}

}  // namespace veltrano
