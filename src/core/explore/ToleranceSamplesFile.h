#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/explore/Tolerance.h"

namespace veltrano {

// A file of tolerance samples, one shard of a run or all of it: a header of '#' lines that says what
// was run (seed, samples, the shard, a fingerprint of the designs, whether the diffusion was coupled and
// the known values held, spreads, limits), then CSV (RFC 4180, CR LF) with a row of column names and a
// row per sample: its index, the drawn values, "ok" or "refused", the outputs with 17 significant
// digits (empty when refused) and the numbers of its errors.
struct ToleranceSamplesFile {
    ToleranceSetup setup;
    int shard = 0, shardCount = 1;
    std::string designs;            // the fingerprint of the designs sampled
    std::vector<std::string> held;  // heldValues of the run
    std::vector<ToleranceSample> samples;
};

// The header of `file`, its samples aside.
std::string samplesFileHeader(const ToleranceSamplesFile& file);
// `outputCount` is the setup's number of outputs, whose fields a refused sample leaves empty.
std::string samplesFileRow(const ToleranceSample& sample, std::size_t outputCount);

// Reads a whole file; nothing, with `problem` saying why, when it is not one that samplesFileHeader and
// samplesFileRow wrote (a header line missing or malformed, a row of the wrong length, a number that
// does not read back).
std::optional<ToleranceSamplesFile> readSamplesFile(std::string_view text, std::string& problem);

// Whether two files come from the same run (everything in their headers but the shard alike).
bool sameRun(const ToleranceSamplesFile& a, const ToleranceSamplesFile& b);

}  // namespace veltrano
