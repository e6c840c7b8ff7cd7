#pragma once

#include <optional>
#include <string>
#include <vector>

#include "CliCommands.h"
#include "core/explore/ExploreFields.h"
#include "core/explore/ExploreOutputs.h"

namespace veltrano::cli {

// The fields the current design's sheet offers, as a space-separated list for usage messages.
std::string offeredNames(const DesignValues& current);

// The outputs named by --outputs (comma-separated), every output without it; nothing, with `problem`
// saying why, when a name is no output or is named twice.
std::optional<std::vector<const ExploreOutput*>> outputsFrom(const Arguments& args, std::string& problem);

// The outputs flagged in `seen` (those of computed points that are not finite numbers), named once
// each, in column order.
std::string nonFiniteOutputs(const std::vector<const ExploreOutput*>& outputs, const std::vector<bool>& seen);

// --shard I/N, I counted from 0.
bool shardFrom(const std::string& text, int& shard, int& count);

// Splits a comma-separated list.
std::vector<std::string> commaList(const std::string& text);

}  // namespace veltrano::cli
