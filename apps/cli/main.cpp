// veltrano-cli: the model and the design files without a window, for batches of designs and scripts.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "CliCommands.h"
#include "core/design/PlatformFiles.h"

namespace {

using veltrano::cli::Arguments;
using veltrano::cli::Command;

void printUsage(std::FILE* out, const std::vector<Command>& commands) {
    std::fprintf(out, "usage: veltrano-cli COMMAND [ARGUMENTS]\n\ncommands:\n");
    for (const Command& c : commands) std::fprintf(out, "  %-14s %s\n", c.name, c.summary);
    std::fprintf(out, "\n'veltrano-cli COMMAND --help' describes a command.\n");
}

// Runs the command line `arguments` (UTF-8; the program's name first).
int run(std::vector<std::string> arguments) {
    veltrano::platform::letFileSizeLimitFailWrites();
    veltrano::platform::useBinaryStandardOutput();
    std::vector<char*> pointers;
    for (std::string& a : arguments) pointers.push_back(a.data());
    pointers.push_back(nullptr);
    const int argc = static_cast<int>(arguments.size());
    char** argv = pointers.data();

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

}  // namespace

#if defined(_WIN32)
// Only wmain sees the command line as typed; main would get it in the system's code page.
int wmain(int argc, wchar_t** argv) {
    return run(veltrano::platform::utf8Arguments(argc, argv));
}
#else
int main(int argc, char** argv) {
    return run(std::vector<std::string>(argv, argv + argc));
}
#endif
