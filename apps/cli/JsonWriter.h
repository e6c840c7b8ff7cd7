#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veltrano::cli {

// A small streaming JSON writer: numbers with 17 significant digits, non-finite numbers as the strings
// "NaN", "Infinity" and "-Infinity", strings escaped, members in the order they are written.
class JsonWriter {
public:
    void beginObject();
    void endObject();
    void beginArray();
    void endArray();
    void key(std::string_view name);
    void value(double v);
    void value(long long v);
    void value(unsigned long long v);
    void value(std::string_view s);
    void value(const char* s) { value(std::string_view(s)); }  // not the bool overload
    void value(bool b);
    void null();
    // The number, or null where it is missing or not a number (a statistic of no values).
    void numberOrNull(std::optional<double> v);
    // A member "errors": the numbers of the errors reported, in order.
    void errors(const std::vector<int>& numbers);

    const std::string& text() const { return out_; }

private:
    void separate();
    void writeString(std::string_view s);
    std::string out_;
    std::vector<bool> first_;  // per open container: nothing written in it yet
    bool afterKey_ = false;
};

std::string jsonNumber(double v);

}  // namespace veltrano::cli
