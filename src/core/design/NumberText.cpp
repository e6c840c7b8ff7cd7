#include "core/design/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace veltrano {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The decimal exponent of the first significant digit of a numeric prefix, saturated, so that an
// out-of-range conversion can be told apart as overflow (>= 0) or underflow (< 0).
long long leadingExponent(std::string_view mantissa, long long exponent) {
    long long position = 0;  // digits before the point, counted from the first non-zero one
    bool seenPoint = false, seenSignificant = false;
    long long leadingFractionZeros = 0;
    for (char c : mantissa) {
        if (c == '.') {
            seenPoint = true;
        } else if (isDigit(c)) {
            if (c != '0') seenSignificant = true;
            if (!seenPoint && seenSignificant) ++position;
            if (seenPoint && !seenSignificant) ++leadingFractionZeros;
        }
    }
    long long first = position > 0 ? position - 1 : -(leadingFractionZeros + 1);
    return exponent > 0 && first > std::numeric_limits<long long>::max() - exponent
               ? std::numeric_limits<long long>::max()
               : first + exponent;
}

}  // namespace

double readNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    const std::size_t mantissaStart = i;
    std::size_t digits = 0;
    while (i < text.size() && isDigit(text[i])) ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) ++i, ++digits;
    }
    if (digits == 0) return 0.0;
    const std::size_t mantissaEnd = i;
    long long exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        bool expNegative = false;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) expNegative = text[j++] == '-';
        if (j < text.size() && isDigit(text[j])) {
            while (j < text.size() && isDigit(text[j])) {
                if (exponent < 100000000) exponent = exponent * 10 + (text[j] - '0');
                ++j;
            }
            if (expNegative) exponent = -exponent;
            i = j;
        }
    }
    // from_chars takes no leading '+'; hand it the unsigned part and apply the sign afterwards.
    std::string_view body = text.substr(mantissaStart, i - mantissaStart);
    double value = 0.0;
    const auto ec =
        std::from_chars(body.data(), body.data() + body.size(), value, std::chars_format::general).ec;
    if (ec == std::errc::result_out_of_range) {
        const bool overflow =
            leadingExponent(text.substr(mantissaStart, mantissaEnd - mantissaStart), exponent) >= 0;
        value = overflow ? std::numeric_limits<double>::max() : 0.0;
    } else if (ec != std::errc()) {
        value = 0.0;
    }
    return negative ? -value : value;
}

std::string fullPrecisionText(double value) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value > 0 ? "Infinity" : "-Infinity";
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 17);
    return std::string(buf, res.ptr);
}

int checkedToInt(double value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483647.0) return std::numeric_limits<int>::max();
    if (value <= -2147483648.0) return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

int checkedFloorToInt(double value) {
    return checkedToInt(std::floor(value));
}

namespace {

struct Directive {
    bool left = false, plus = false, space = false, zero = false;
    int width = 0;
    int precision = -1;
    char conversion = 0;
};

void pad(std::string& out, std::string body, const Directive& directive, bool numeric) {
    if (static_cast<int>(body.size()) >= directive.width) {
        out += body;
        return;
    }
    const std::size_t fill = static_cast<std::size_t>(directive.width) - body.size();
    if (directive.left) {
        out += body;
        out.append(fill, ' ');
    } else if (directive.zero && numeric) {
        // Zeros go between the sign and the digits: "%03i" of -1 is "-01".
        std::size_t signLength =
            (!body.empty() && (body[0] == '-' || body[0] == '+' || body[0] == ' ')) ? 1 : 0;
        out += body.substr(0, signLength);
        out.append(fill, '0');
        out += body.substr(signLength);
    } else {
        out.append(fill, ' ');
        out += body;
    }
}

std::string signPrefix(bool negative, const Directive& directive) {
    if (negative) return "-";
    if (directive.plus) return "+";
    if (directive.space) return " ";
    return "";
}

std::string formatInteger(long long v, const Directive& directive) {
    char buf[72];
    const bool negative = v < 0;
    const unsigned long long magnitude =
        negative ? 0ULL - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v);
    int base = (directive.conversion == 'x' || directive.conversion == 'X') ? 16 : 10;
    unsigned long long shown = magnitude;
    bool showNegative = negative;
    if (base == 16 || directive.conversion == 'u') {
        // Hexadecimal and unsigned conversions show the 32-bit pattern, as printf does for an int.
        shown = static_cast<unsigned long long>(static_cast<std::uint32_t>(v));
        showNegative = false;
    }
    auto res = std::to_chars(buf, buf + sizeof buf, shown, base);
    std::string digits(buf, res.ptr);
    if (directive.conversion == 'X')
        std::transform(digits.begin(), digits.end(), digits.begin(),
                       [](char c) { return static_cast<char>(c >= 'a' && c <= 'f' ? c - 'a' + 'A' : c); });
    if (directive.precision >= 0 && static_cast<int>(digits.size()) < directive.precision)
        digits.insert(0, static_cast<std::size_t>(directive.precision) - digits.size(), '0');
    return (base == 10 && directive.conversion != 'u' ? signPrefix(showNegative, directive) : "") + digits;
}

std::string formatFloating(double v, const Directive& directive) {
    const int precision = std::min(directive.precision < 0 ? 6 : directive.precision, 120);
    const bool negative = std::signbit(v);
    const double magnitude = std::fabs(v);
    std::string body;
    if (std::isnan(v)) {
        body = "nan";
    } else if (std::isinf(v)) {
        body = "inf";
    } else {
        std::string buf(static_cast<std::size_t>(precision) + 400, '\0');
        const auto format =
            (directive.conversion == 'f') ? std::chars_format::fixed : std::chars_format::scientific;
        auto res = std::to_chars(buf.data(), buf.data() + buf.size(), magnitude, format, precision);
        body.assign(buf.data(), res.ptr);
    }
    if (directive.conversion == 'E')
        std::transform(body.begin(), body.end(), body.begin(), [](char c) { return c == 'e' ? 'E' : c; });
    return signPrefix(negative, directive) + body;
}

}  // namespace

std::string formatText(std::string_view format, std::initializer_list<FormatArg> args) {
    std::string out;
    auto next = args.begin();
    for (std::size_t i = 0; i < format.size(); ++i) {
        char c = format[i];
        if (c != '%') {
            out += c;
            continue;
        }
        const std::size_t start = i;
        Directive directive;
        std::size_t j = i + 1;
        for (; j < format.size(); ++j) {
            char f = format[j];
            if (f == '-')
                directive.left = true;
            else if (f == '+')
                directive.plus = true;
            else if (f == ' ')
                directive.space = true;
            else if (f == '0')
                directive.zero = true;
            else if (f == '#')
                continue;
            else
                break;
        }
        while (j < format.size() && isDigit(format[j]))
            directive.width = std::min(directive.width * 10 + (format[j++] - '0'), 512);
        if (j < format.size() && format[j] == '.') {
            directive.precision = 0;
            ++j;
            while (j < format.size() && isDigit(format[j]))
                directive.precision = std::min(directive.precision * 10 + (format[j++] - '0'), 512);
        }
        while (j < format.size() && (format[j] == 'l' || format[j] == 'h')) ++j;  // length modifiers
        if (j >= format.size()) {
            out += format.substr(i);
            break;
        }
        directive.conversion = format[j];
        i = j;
        if (directive.conversion == '%') {
            out += '%';
            continue;
        }
        if (std::string_view("diuxXfeEsc").find(directive.conversion) == std::string_view::npos) {
            out += format.substr(start, j - start + 1);  // not a conversion: printed as written
            continue;
        }
        if (next == args.end()) continue;  // a missing argument prints nothing
        const FormatArg& arg = *next++;
        switch (directive.conversion) {
            case 'd':
            case 'i':
            case 'u':
            case 'x':
            case 'X': {
                long long v = 0;
                if (auto p = std::get_if<long long>(&arg))
                    v = *p;
                else if (auto d = std::get_if<double>(&arg))
                    v = checkedToInt(*d);
                pad(out, formatInteger(v, directive), directive, true);
                break;
            }
            case 'f':
            case 'e':
            case 'E': {
                double v = 0.0;
                if (auto d = std::get_if<double>(&arg))
                    v = *d;
                else if (auto p = std::get_if<long long>(&arg))
                    v = static_cast<double>(*p);
                pad(out, formatFloating(v, directive), directive, std::isfinite(v));
                break;
            }
            case 's': {
                std::string s;
                if (auto p = std::get_if<std::string_view>(&arg)) s = *p;
                if (directive.precision >= 0 && static_cast<int>(s.size()) > directive.precision)
                    s.resize(static_cast<std::size_t>(directive.precision));
                pad(out, s, directive, false);
                break;
            }
            case 'c': {
                std::string s;
                if (auto p = std::get_if<long long>(&arg)) s = std::string(1, static_cast<char>(*p));
                pad(out, s, directive, false);
                break;
            }
            default:
                break;
        }
    }
    return out;
}

std::string formatNumber(std::string_view format, double value) {
    return formatText(format, {value});
}

}  // namespace veltrano
