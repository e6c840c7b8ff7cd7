#include "JsonWriter.h"

#include <cmath>
#include <cstdio>

#include "core/design/NumberText.h"

namespace veltrano::cli {

std::string jsonNumber(double v) {
    const std::string text = fullPrecisionText(v);
    return std::isfinite(v) ? text : '"' + text + '"';
}

void JsonWriter::separate() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!first_.empty()) {
        if (!first_.back()) out_ += ',';
        first_.back() = false;
    }
}

void JsonWriter::beginObject() {
    separate();
    out_ += '{';
    first_.push_back(true);
}

void JsonWriter::endObject() {
    first_.pop_back();
    out_ += '}';
}

void JsonWriter::beginArray() {
    separate();
    out_ += '[';
    first_.push_back(true);
}

void JsonWriter::endArray() {
    first_.pop_back();
    out_ += ']';
}

void JsonWriter::key(std::string_view name) {
    separate();
    writeString(name);
    out_ += ':';
    afterKey_ = true;
}

void JsonWriter::value(double v) {
    separate();
    out_ += jsonNumber(v);
}

void JsonWriter::value(long long v) {
    separate();
    out_ += std::to_string(v);
}

void JsonWriter::value(unsigned long long v) {
    separate();
    out_ += std::to_string(v);
}

void JsonWriter::errors(const std::vector<int>& numbers) {
    key("errors");
    beginArray();
    for (int n : numbers) value(static_cast<long long>(n));
    endArray();
}

void JsonWriter::value(bool b) {
    separate();
    out_ += b ? "true" : "false";
}

void JsonWriter::value(std::string_view s) {
    separate();
    writeString(s);
}

void JsonWriter::writeString(std::string_view s) {
    out_ += '"';
    for (unsigned char c : s) {
        switch (c) {
            case '"':
                out_ += "\\\"";
                break;
            case '\\':
                out_ += "\\\\";
                break;
            case '\n':
                out_ += "\\n";
                break;
            case '\r':
                out_ += "\\r";
                break;
            case '\t':
                out_ += "\\t";
                break;
            default:
                if (c < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    out_ += buf;
                } else {
                    out_ += static_cast<char>(c);
                }
        }
    }
    out_ += '"';
}

}  // namespace veltrano::cli
