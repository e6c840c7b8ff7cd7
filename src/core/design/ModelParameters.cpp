#include "core/design/ModelParameters.h"

#include <algorithm>
#include <cmath>

#include "core/design/ByteStream.h"
#include "core/design/LittleEndian.h"
#include "core/design/NumberText.h"

namespace veltrano {

namespace {

// Bit k of a byte is bit 2k of its 16-bit word; the odd bits carry nothing.
std::uint8_t byteFromWord(std::uint16_t word) {
    std::uint8_t b = 0;
    for (int k = 0; k < 8; ++k)
        if (word & (1u << (2 * k))) b = static_cast<std::uint8_t>(b | (1u << k));
    return b;
}

std::uint16_t wordFromByte(std::uint8_t byte) {
    std::uint16_t w = 0;
    for (int k = 0; k < 8; ++k)
        if (byte & (1u << k)) w = static_cast<std::uint16_t>(w | (1u << (2 * k)));
    return w;
}

}  // namespace

int decodeModelParameters(std::span<const std::uint8_t> bytes, ModelParameters& parameters) {
    const std::size_t groups = bytes.size() / kModelParameterGroup;
    const std::size_t used = std::min<std::size_t>(groups, kModelParameterCount);
    for (std::size_t j = 0; j < used; ++j) {
        std::array<std::uint8_t, 8> raw;
        for (std::size_t i = 0; i < 8; ++i) {
            const std::uint8_t* w = bytes.data() + j * kModelParameterGroup + 2 * i;
            raw[i] = byteFromWord(static_cast<std::uint16_t>(w[0] | (w[1] << 8)));
        }
        parameters.mp[j] = loadLittleEndian<double>(raw, 0);
    }
    return groups == kModelParameterCount ? kModelParametersOk : kModelParametersWrongSize;
}

std::vector<std::uint8_t> encodeModelParameters(const ModelParameters& parameters) {
    std::vector<std::uint8_t> out;
    out.reserve(kModelParameterCount * kModelParameterGroup);
    for (double v : parameters.mp) {
        std::array<std::uint8_t, 8> raw;
        storeLittleEndian(raw, 0, v);
        for (std::uint8_t b : raw) {
            std::uint16_t w = wordFromByte(b);
            out.push_back(static_cast<std::uint8_t>(w & 0xFF));
            out.push_back(static_cast<std::uint8_t>(w >> 8));
        }
    }
    return out;
}

int loadModelParameters(const std::string& path, ModelParameters& parameters) {
    auto source = FileByteSource::open(path);
    if (!source) return kModelParametersUnreadable;
    const std::uint64_t groups = source->remaining() / kModelParameterGroup;
    // Only the groups that can land in the table are read; their count still decides the status.
    const std::size_t wanted =
        static_cast<std::size_t>(std::min<std::uint64_t>(groups, kModelParameterCount)) *
        kModelParameterGroup;
    std::vector<std::uint8_t> bytes(wanted);
    if (source->read(bytes) != wanted) return kModelParametersUnreadable;
    decodeModelParameters(bytes, parameters);
    return groups == kModelParameterCount ? kModelParametersOk : kModelParametersWrongSize;
}

std::optional<std::string> nonFiniteParametersWarning(const ModelParameters& parameters,
                                                      const std::string& fileName) {
    const auto count =
        std::count_if(parameters.mp.begin(), parameters.mp.end(), [](double v) { return !std::isfinite(v); });
    if (count == 0) return std::nullopt;
    return formatText(
        "%i of the %i coefficients in the model parameter file \"%s\" %s not finite numbers; results "
        "computed with them will not be numbers either.",
        {static_cast<long long>(count), static_cast<long long>(kModelParameterCount), fileName,
         count == 1 ? "is" : "are"});
}

}  // namespace veltrano
