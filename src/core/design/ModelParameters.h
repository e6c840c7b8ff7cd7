#pragma once

#include <array>
#include <cstdint>
#include <optional>
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

// Indices of the coefficients the model reads one by one. Blocks of polynomial coefficients are named by
// their first index (the yield tables of the ISO yields name theirs where they are used).
enum ModelCoefficient : int {
    kElectrostaticPerforation = 0,     // 0..2: the perforation law of electrostatic tipping
    kMicroLaserPerforation = 3,        // 3..5: the same for micro laser perforation
    kMacroLaserPerforation = 6,        // 6..8: the same for macro laser perforation
    kDiffusionScale = 57,              // diffusion capacity from permeability: scale
    kDiffusionExponent = 58,           //   and exponent
    kDiffusionFillerScale = 59,        // the filler term of the diffusion capacity: scale,
    kDiffusionFillerRoot = 60,         //   root of the permeability
    kDiffusionFillerBasisWeight = 61,  //   and basis weight slope
    kNicotineFilterEfficiency = 70,    // 70..93: nicotine filter efficiency surfaces
    kTarFilterEfficiency = 94,         // 94..117: the same for 'tar'
    kNicotineFilterLengthExponent = 118,
    kTarFilterLengthExponent = 119,
    kCoalPressureDrop = 120,       // the coal of the later puffs: pressure drop at the standard flow (mmH2O)
    kCoalExponent = 121,           //   and its flow exponent
    kFirstCoalPressureDrop = 122,  // the same for the first puff's coal
    kFirstCoalExponent = 123,
    kCoalLength = 124,         // mm
    kTarRetentionSlope = 125,  // retention in the rod still to burn, over packing density
    kTarRetentionOffset = 126,
    kNicotineRetentionSlope = 127,
    kNicotineRetentionOffset = 128,
    kCoGasTransfer = 129,  // gas-side transfer of CO to the paper
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

// Reads a model parameter file (at most 162 groups are read, whatever its size). Only a regular file
// is read; anything else counts as unreadable.
int loadModelParameters(const std::string& path, ModelParameters& parameters);

// The file may hold any bits, NaN and infinities among them, and the model takes them as they are;
// the user is told once at start-up. The warning names the file and how many coefficients are not
// finite numbers; nothing when every one is finite.
std::optional<std::string> nonFiniteParametersWarning(const ModelParameters& parameters,
                                                      const std::string& fileName);

}  // namespace veltrano
