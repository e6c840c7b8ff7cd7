// veltrano-cli: the model and the design files without a window, for batches of designs and scripts.
#include <algorithm>
#include <cstdio>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "CliCommands.h"
#include "StandardOutput.h"
#include "core/design/PlatformFiles.h"
#include "core/design/ProgramName.h"

namespace {

using veltrano::cli::Arguments;
using veltrano::cli::Command;
using veltrano::cli::kFileError;
using veltrano::cli::kUsageError;
using veltrano::cli::StandardOutput;

constexpr std::string_view kToolName = "veltrano-cli";

std::string usageText(const std::vector<Command>& commands) {
    std::string text =
        "usage: veltrano-cli COMMAND [ARGUMENTS]\n       veltrano-cli --version\n\ncommands:\n";
    for (const Command& c : commands) {
        std::string name = c.name;
        name.resize(std::max<std::size_t>(name.size(), 14), ' ');
        text += "  " + name + " " + c.summary + "\n";
    }
    return text + "\n'veltrano-cli COMMAND --help' describes a command.\n\n" + veltrano::cli::kExitStatusHelp;
}

// A command that runs out of memory ends with a message of its own; what it writes goes through the safe
// save, so its files are whole or as they were.
int runCommand(const Command& command, const Arguments& args, StandardOutput& out, int argc, char** argv) {
    try {
        return command.run(args, out, argc, argv);
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "veltrano-cli %s: out of memory\n", command.name);
        return kFileError;
    }
}

// The command line `argv` (the program's name first) run; `name` becomes what messages start with.
int dispatch(int argc, char** argv, StandardOutput& out, std::string& name) {
    const std::vector<Command>& commands = veltrano::cli::commands();
    const std::string_view first = argc < 2 ? std::string_view() : argv[1];
    if (argc < 2) {
        std::fprintf(stderr, "%s", usageText(commands).c_str());
        return kUsageError;
    }
    if (first == "--help" || first == "-h") {
        out.write(usageText(commands));
        return 0;
    }
    if (first == "--version" || first == "-v") {
        out.write(std::string(kToolName) + " " + std::string(veltrano::kProgramVersion) + "\n");
        return 0;
    }
    for (const Command& c : commands) {
        if (first != c.name) continue;
        name += ' ';
        name += c.name;
        Arguments args(c.name, argc - 2, argv + 2);
        if (args.wantsHelp()) {
            out.write("usage: veltrano-cli " + std::string(c.name) + " " + c.usage + "\n\n" + c.help + "\n");
            return 0;
        }
        if (!args.parse(c.options, c.positionals)) {
            std::fprintf(stderr, "%s: %s\nusage: veltrano-cli %s %s\n", name.c_str(), args.error().c_str(),
                         c.name, c.usage);
            return kUsageError;
        }
        return runCommand(c, args, out, argc, argv);
    }
    std::fprintf(stderr, "veltrano-cli: unknown command '%s'\n\n%s", argv[1], usageText(commands).c_str());
    return kUsageError;
}

// Runs the command line `arguments` (UTF-8; the program's name first). Output that could not be written
// makes a failure of any command; a reader that has gone makes no message.
int run(std::vector<std::string> arguments) {
    veltrano::platform::letFileSizeLimitFailWrites();
    veltrano::platform::letClosedPipeEndTheProgram();
    veltrano::platform::useBinaryStandardOutput();
    std::vector<char*> pointers;
    for (std::string& a : arguments) pointers.push_back(a.data());
    pointers.push_back(nullptr);

    StandardOutput out;
    std::string name(kToolName);
    const int status = dispatch(static_cast<int>(arguments.size()), pointers.data(), out, name);
    switch (out.finish()) {
        case StandardOutput::Ending::Written:
            return status;
        case StandardOutput::Ending::ClosedPipe:
            return kFileError;
        case StandardOutput::Ending::Failed:
            break;
    }
    std::fprintf(stderr, "%s: the standard output could not be written: %s\n", name.c_str(),
                 out.reason().c_str());
    return kFileError;
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
