#include "ModelParameterCsv.h"

#include <array>
#include <charconv>
#include <initializer_list>
#include <system_error>

namespace veltrano {

namespace {

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

// The whole field as a number, or nothing (locale-independent, no trailing text).
template <class Number>
bool parse(std::string_view field, Number& out) {
    const char* end = field.data() + field.size();
    const auto [ptr, ec] = std::from_chars(field.data(), end, out);
    return ec == std::errc() && ptr == end && !field.empty();
}

// "line N: " and the parts, built by appending: a chain of operator+ on temporaries makes GCC 12 at -O3
// see overlapping copies that cannot happen (-Wrestrict).
std::string lineError(int lineNumber, std::initializer_list<std::string_view> parts) {
    std::string text = "line ";
    text += std::to_string(lineNumber);
    text += ": ";
    for (const std::string_view part : parts) text += part;
    return text;
}

}  // namespace

ModelParameterCsv readModelParameterCsv(std::string_view text) {
    ModelParameterCsv result;
    std::array<int, kModelParameterCount> lineOf{};
    int lineNumber = 0;
    bool header = true;
    while (!text.empty()) {
        const std::size_t newline = text.find('\n');
        const std::string_view line = trimmed(text.substr(0, newline));
        text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
        ++lineNumber;
        if (header) {
            header = false;
            continue;
        }
        if (line.empty()) continue;
        const std::size_t comma = line.find(',');
        if (comma == std::string_view::npos) {
            result.error = lineError(lineNumber, {"expected index,value"});
            return result;
        }
        std::string_view rest = line.substr(comma + 1);
        const std::string_view valueField = trimmed(rest.substr(0, rest.find(',')));
        int index = 0;
        double value = 0;
        if (!parse(trimmed(line.substr(0, comma)), index)) {
            result.error = lineError(lineNumber, {"the index is not a whole number"});
            return result;
        }
        if (index < 0 || index >= kModelParameterCount) {
            result.error = lineError(lineNumber, {"index ", std::to_string(index), " is outside 0 to ",
                                                  std::to_string(kModelParameterCount - 1)});
            return result;
        }
        if (!parse(valueField, value)) {
            result.error =
                lineError(lineNumber, {"the value of index ", std::to_string(index), " is not a number"});
            return result;
        }
        auto& seen = lineOf[static_cast<std::size_t>(index)];
        if (seen != 0) {
            result.error = lineError(lineNumber, {"index ", std::to_string(index),
                                                  " was already given on line ", std::to_string(seen)});
            return result;
        }
        seen = lineNumber;
        result.parameters.mp[static_cast<std::size_t>(index)] = value;
    }
    std::string missing;
    for (int i = 0; i < kModelParameterCount; ++i) {
        if (lineOf[static_cast<std::size_t>(i)] != 0) continue;
        missing += missing.empty() ? "no value for index " : " ";
        missing += std::to_string(i);
    }
    if (!missing.empty()) result.error = missing;
    return result;
}

}  // namespace veltrano
