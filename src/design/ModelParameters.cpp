#include "design/ModelParameters.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

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
        std::uint8_t raw[8];
        for (std::size_t i = 0; i < 8; ++i) {
            const std::uint8_t* w = bytes.data() + j * kModelParameterGroup + 2 * i;
            raw[i] = byteFromWord(static_cast<std::uint16_t>(w[0] | (w[1] << 8)));
        }
        std::memcpy(&parameters.mp[j], raw, 8);
    }
    return groups == kModelParameterCount ? kModelParametersOk : kModelParametersWrongSize;
}

std::vector<std::uint8_t> encodeModelParameters(const ModelParameters& parameters) {
    std::vector<std::uint8_t> out;
    out.reserve(kModelParameterCount * kModelParameterGroup);
    for (double v : parameters.mp) {
        std::uint8_t raw[8];
        std::memcpy(raw, &v, 8);
        for (std::uint8_t b : raw) {
            std::uint16_t w = wordFromByte(b);
            out.push_back(static_cast<std::uint8_t>(w & 0xFF));
            out.push_back(static_cast<std::uint8_t>(w >> 8));
        }
    }
    return out;
}

int loadModelParameters(const std::string& path, ModelParameters& parameters) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return kModelParametersUnreadable;
    std::ifstream in(path, std::ios::binary);
    if (!in) return kModelParametersUnreadable;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0) return kModelParametersUnreadable;
    in.seekg(0, std::ios::beg);
    const std::size_t groups = static_cast<std::size_t>(size) / kModelParameterGroup;
    // Only the groups that can land in the table are read; their count still decides the status.
    const std::size_t wanted = std::min<std::size_t>(groups, kModelParameterCount) * kModelParameterGroup;
    std::vector<std::uint8_t> bytes(wanted);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(wanted));
    if (static_cast<std::size_t>(in.gcount()) != wanted) return kModelParametersUnreadable;
    decodeModelParameters(bytes, parameters);
    return groups == kModelParameterCount ? kModelParametersOk : kModelParametersWrongSize;
}

}  // namespace veltrano
