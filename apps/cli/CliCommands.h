#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace veltrano::cli {

class StandardOutput;

// Exit statuses: 0 done; 1 the work could not be done (a file could not be read or written, the standard
// output could not be written, memory ran out, no point of a sweep could be computed); 2 a bad command
// line or input.
inline constexpr int kFileError = 1;
inline constexpr int kUsageError = 2;
// What --help says of them.
extern const char* const kExitStatusHelp;

// The arguments after the command name: positional ones and "--name value", "--name=value" and "--flag"
// options.
class Arguments {
public:
    Arguments(std::string command, int argc, char** argv)
        : command_(std::move(command)), raw_(argv, argv + argc) {}

    // The command's name ("sweep"), for messages.
    const std::string& command() const { return command_; }
    bool wantsHelp() const;
    // `options` lists the options the command takes: "--models=" takes a value, "--puffs" does not,
    // "--vary=..." takes a value each time it is given. Any other option given twice is an error, as is
    // an option not listed, a value given to a flag and a missing value.
    // `positionals` is the number of file names the command takes, -1 for a command that counts them.
    bool parse(const std::vector<std::string>& options, int positionals);

    const std::string& error() const { return error_; }
    int positionalCount() const { return static_cast<int>(positional_.size()); }
    const std::string& positional(int i) const { return positional_[static_cast<std::size_t>(i)]; }
    bool has(const std::string& option) const { return values_.count(option) != 0; }
    std::string value(const std::string& option, const std::string& otherwise = {}) const;
    // Every value of a repeatable option, in command-line order.
    std::vector<std::string> values(const std::string& option) const;

private:
    std::string command_;
    std::vector<std::string> raw_;
    std::vector<std::string> positional_;
    std::map<std::string, std::vector<std::string>> values_;
    std::string error_;
};

struct Command {
    const char* name;
    const char* usage;
    const char* summary;
    const char* help;
    std::vector<std::string> options;
    int positionals;
    int (*run)(const Arguments& args, StandardOutput& out, int argc, char** argv);
};

const std::vector<Command>& commands();

int runBuild(const Arguments& args, StandardOutput& out, int argc, char** argv);
int runSearch(const Arguments& args, StandardOutput& out, int argc, char** argv);
int runSweep(const Arguments& args, StandardOutput& out, int argc, char** argv);
int runSensitivity(const Arguments& args, StandardOutput& out, int argc, char** argv);
int runTolerance(const Arguments& args, StandardOutput& out, int argc, char** argv);
#ifdef VELTRANO_HAVE_NLOPT
int runDesign(const Arguments& args, StandardOutput& out, int argc, char** argv);
#endif
#ifdef VELTRANO_CLI_DRAWS
int runPrint(const Arguments& args, StandardOutput& out, int argc, char** argv);
int runRender(const Arguments& args, StandardOutput& out, int argc, char** argv);
#endif
int runExport(const Arguments& args, StandardOutput& out, int argc, char** argv);

}  // namespace veltrano::cli
