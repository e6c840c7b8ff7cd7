#include "CliExploreOptions.h"

#include <algorithm>
#include <sstream>

#include "CliSupport.h"
#include "WordList.h"

namespace veltrano::cli {

std::string offeredNames(const DesignValues& current) {
    std::string names;
    for (const ExploreField& f : exploreFields())
        if (isOffered(f, current)) appendWord(names, f.name());
    return names;
}

std::vector<std::string> commaList(const std::string& text) {
    std::vector<std::string> items;
    std::stringstream list(text);
    for (std::string item; std::getline(list, item, ',');) items.push_back(item);
    return items;
}

std::optional<std::vector<const ExploreOutput*>> outputsFrom(const Arguments& args, std::string& problem) {
    std::vector<const ExploreOutput*> outputs;
    if (!args.has("--outputs")) {
        for (const ExploreOutput& o : exploreOutputs()) outputs.push_back(&o);
        return outputs;
    }
    for (const std::string& name : commaList(args.value("--outputs"))) {
        const ExploreOutput* o = findExploreOutput(name);
        if (!o) {
            problem = "unknown output '" + name + "'";
            return std::nullopt;
        }
        if (std::find(outputs.begin(), outputs.end(), o) != outputs.end()) {
            problem = "--outputs names '" + name + "' twice";
            return std::nullopt;
        }
        outputs.push_back(o);
    }
    if (outputs.empty()) problem = "--outputs names no output";
    return outputs.empty() ? std::nullopt : std::optional(outputs);
}

std::string nonFiniteOutputs(const std::vector<const ExploreOutput*>& outputs,
                             const std::vector<bool>& seen) {
    std::string names;
    for (std::size_t i = 0; i < outputs.size(); ++i)
        if (seen[i]) appendWord(names, outputs[i]->name, ", ");
    return names;
}

bool shardFrom(const std::string& text, int& shard, int& count) {
    const std::size_t slash = text.find('/');
    if (slash == std::string::npos) return false;
    const std::optional<int> i = commandLineInteger(text.substr(0, slash));
    const std::optional<int> n = commandLineInteger(text.substr(slash + 1));
    if (!i || !n || *n < 1 || *i < 0 || *i >= *n) return false;
    shard = *i;
    count = *n;
    return true;
}

}  // namespace veltrano::cli
