#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace veltrano {

// The model parameter file's name, wherever it lies.
inline constexpr char kModelParameterFileName[] = "models.dat";

inline constexpr int kModelParameterCount = 162;
inline constexpr std::size_t kModelParameterGroup = 16;

// The 162 empirical coefficients of the model, MP[0] to MP[161]; zero until loaded.
struct ModelParameters {
    std::array<double, kModelParameterCount> mp{};
    double operator[](int i) const { return mp[static_cast<std::size_t>(i)]; }
};

// Status of loading "models.dat": 0 all 162 values read, 1 the file could not be read,
// 2 it held another number of whole 16-byte groups (the values it held are still taken).
enum ModelParameterStatus {
    kModelParametersOk = 0,
    kModelParametersUnreadable = 1,
    kModelParametersWrongSize = 2
};

// Decodes the 16-byte groups of `bytes` (a trailing part shorter than a group is ignored) into the
// indices they cover, never beyond 161; returns the status a file of these bytes gives.
int decodeModelParameters(std::span<const std::uint8_t> bytes, ModelParameters& parameters);

// Spreads each value's bytes over the even bits of eight 16-bit words: the file form of the values.
std::vector<std::uint8_t> encodeModelParameters(const ModelParameters& parameters);

// Reads a model parameter file (at most 162 groups are read, whatever its size).
int loadModelParameters(const std::string& path, ModelParameters& parameters);

}  // namespace veltrano
