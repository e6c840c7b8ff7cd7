// veltrano-cli: the model and the design files without a window, for batches of designs and scripts.
#include <cstdio>
#include <cstring>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "CliCommands.h"
#include "design/PlatformFiles.h"

namespace {

using veltrano::cli::Arguments;
using veltrano::cli::Command;

void printUsage(std::FILE* out, const std::vector<Command>& commands) {
    std::fprintf(out, "usage: veltrano-cli COMMAND [ARGUMENTS]\n\ncommands:\n");
    for (const Command& c : commands) std::fprintf(out, "  %-14s %s\n", c.name, c.summary);
    std::fprintf(out, "\n'veltrano-cli COMMAND --help' describes a command.\n");
}

}  // namespace

int main(int argc, char** argv) {
    veltrano::platform::letFileSizeLimitFailWrites();
    const std::vector<Command>& commands = veltrano::cli::commands();
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        printUsage(argc < 2 ? stderr : stdout, commands);
        return argc < 2 ? veltrano::cli::kUsageError : 0;
    }
    for (const Command& c : commands) {
        if (std::strcmp(argv[1], c.name) != 0) continue;
        Arguments args(argc - 2, argv + 2);
        if (args.wantsHelp()) {
            std::fprintf(stdout, "usage: veltrano-cli %s %s\n\n%s\n", c.name, c.usage, c.help);
            return 0;
        }
        if (!args.parse(c.options, c.positionals)) {
            std::fprintf(stderr, "veltrano-cli %s: %s\nusage: veltrano-cli %s %s\n", c.name,
                         args.error().c_str(), c.name, c.usage);
            return veltrano::cli::kUsageError;
        }
        return c.run(args, argc, argv);
    }
    std::fprintf(stderr, "veltrano-cli: unknown command '%s'\n\n", argv[1]);
    printUsage(stderr, commands);
    return veltrano::cli::kUsageError;
}
