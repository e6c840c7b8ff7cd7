#include "DesignJson.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "core/design/DesignFields.h"
#include "core/design/Utf8.h"
#include "core/design/Windows1252.h"

namespace veltrano::cli {

namespace {

void writeArray(JsonWriter& json, std::string_view name, const std::vector<double>& values) {
    json.key(name);
    json.beginArray();
    for (double v : values) json.value(v);
    json.endArray();
}

// Every JSON number is read as the double nearest to it, whether the text has a fraction or not.
std::optional<double> numberOf(const nlohmann::json& v) {
    if (v.is_number()) return v.get<double>();
    if (v.is_string()) {
        const std::string& s = v.get_ref<const std::string&>();
        if (s == "NaN") return std::numeric_limits<double>::quiet_NaN();
        if (s == "Infinity") return std::numeric_limits<double>::infinity();
        if (s == "-Infinity") return -std::numeric_limits<double>::infinity();
    }
    return std::nullopt;
}

std::optional<long long> integerOf(const nlohmann::json& v, long long low, long long high) {
    if (!v.is_number()) return std::nullopt;
    const double d = v.get<double>();
    if (!(d >= static_cast<double>(low) && d <= static_cast<double>(high)) || d != std::trunc(d))
        return std::nullopt;
    return static_cast<long long>(d);
}

bool isArrayName(const std::string& n) {
    if (n == "puff_size" || n == "puff_number") return true;
    for (const OwnedArray& a : ownedArrays())
        if (n == a.name) return true;
    for (const PuffArray& a : puffArrays())
        if (n == a.name) return true;
    return false;
}

}  // namespace

std::string informationTextUtf8(const InformationText& text) {
    return encodeUtf8(decodeWindows1252(informationTextString(text)));
}

std::optional<std::string> informationTextFromUtf8(const std::string& utf8, InformationText& text) {
    const std::optional<std::u32string> chars = decodeUtf8(utf8);
    if (!chars) return std::string("informationText is not UTF-8");
    const std::optional<std::string> bytes = encodeWindows1252(*chars);
    if (!bytes) return std::string("informationText holds a character that Windows-1252 cannot hold");
    if (bytes->size() > kInformationTextLimit)
        return "informationText is longer than " + std::to_string(kInformationTextLimit) +
               " bytes (in Windows-1252, a line break CR LF counting as two)";
    if (bytes->find('\0') != std::string::npos) return std::string("informationText holds a zero character");
    text.fill('\0');
    std::memcpy(text.data(), bytes->data(), bytes->size());
    return std::nullopt;
}

void writeDesign(JsonWriter& json, const CigaretteDesign& design) {
    json.beginObject();
    for (const DesignField& f : designFields()) {
        json.key(f.name);
        std::visit(
            [&](auto member) {
                const auto& v = design.values().*member;
                using T = std::remove_cvref_t<decltype(v)>;
                if constexpr (std::is_same_v<T, double>)
                    json.value(v);
                else if constexpr (std::is_same_v<T, std::int32_t>)
                    json.value(static_cast<long long>(v));
                else if constexpr (std::is_same_v<T, std::uint32_t>)
                    json.value(static_cast<unsigned long long>(v));
                else if constexpr (std::is_same_v<T, std::array<char, 4>>)
                    json.value(std::string_view(v.data(), strnlen(v.data(), v.size())));
                else {
                    json.beginArray();
                    for (double s : v) json.value(s);
                    json.endArray();
                }
            },
            f.member);
        if (f.name == "alt_profpnts") {
            json.key("puff_number");
            json.value(static_cast<long long>(design.puff_number));
        }
    }
    if (design.hasArrays())
        for (const OwnedArray& a : ownedArrays()) writeArray(json, a.name, design.*a.member);
    if (design.puff_number > 0) {
        json.key("puff_size");
        json.beginArray();
        for (std::int32_t s : design.puff_size) json.value(static_cast<long long>(s));
        json.endArray();
        for (const PuffArray& a : puffArrays()) writeArray(json, a.name, design.*a.member);
    }
    json.endObject();
}

std::optional<std::string> readDesign(const nlohmann::json& object, DesignValues& values) {
    // Plain names, not a structured binding: the field's lambda below captures them.
    for (const auto& item : object.items()) {
        const std::string& name = item.key();
        const nlohmann::json& v = item.value();
        const DesignField* field = findDesignField(name);
        if (!field) {
            if (isArrayName(name)) {
                if (name != "puff_number" && !v.is_array()) return "field '" + name + "' must be a list";
                continue;
            }
            return "unknown field '" + name + "'";
        }
        std::optional<std::string> error;
        std::visit(
            [&](auto member) {
                auto& target = values.*member;
                using T = std::remove_cvref_t<decltype(target)>;
                if constexpr (std::is_same_v<T, double>) {
                    if (auto d = numberOf(v))
                        target = *d;
                    else
                        error = "field '" + name + "' must be a number";
                } else if constexpr (std::is_same_v<T, std::int32_t>) {
                    if (auto i = integerOf(v, std::numeric_limits<std::int32_t>::min(),
                                           std::numeric_limits<std::int32_t>::max()))
                        target = static_cast<std::int32_t>(*i);
                    else
                        error = "field '" + name + "' must be a 32-bit integer";
                } else if constexpr (std::is_same_v<T, std::uint32_t>) {
                    if (auto i = integerOf(v, 0, std::numeric_limits<std::uint32_t>::max()))
                        target = static_cast<std::uint32_t>(*i);
                    else
                        error = "field '" + name + "' must be an unsigned 32-bit integer";
                } else if constexpr (std::is_same_v<T, std::array<char, 4>>) {
                    const std::string s = v.is_string() ? v.get<std::string>() : std::string();
                    if (!v.is_string() || s.size() > 3) {
                        error = "field '" + name + "' must be a text of at most 3 characters";
                    } else {
                        target.fill('\0');
                        std::memcpy(target.data(), s.data(), s.size());
                    }
                } else {
                    if (!v.is_array() || v.size() > target.size()) {
                        error = "field '" + name + "' must be a list of at most 400 numbers";
                        return;
                    }
                    for (std::size_t i = 0; i < v.size(); ++i) {
                        auto d = numberOf(v[i]);
                        if (!d) {
                            error = "field '" + name + "' must be a list of numbers";
                            return;
                        }
                        target[i] = *d;
                    }
                }
            },
            field->member);
        if (error) return error;
    }
    return std::nullopt;
}

}  // namespace veltrano::cli
