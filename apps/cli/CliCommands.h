#pragma once

#include <map>
#include <string>
#include <vector>

namespace veltrano::cli {

// Exit statuses: 0 done, 1 a file could not be read or written, 2 a bad command line or input.
inline constexpr int kFileError = 1;
inline constexpr int kUsageError = 2;

// The arguments after the command name: positional ones and "--name value" / "--flag" options.
class Arguments {
public:
    Arguments(int argc, char** argv) : raw_(argv, argv + argc) {}

    bool wantsHelp() const;
    // `options` lists the options the command takes: "--models=" takes a value, "--puffs" does not,
    // "--vary=..." takes a value each time it is given. A value option given twice keeps the last.
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
    int (*run)(const Arguments& args, int argc, char** argv);
};

const std::vector<Command>& commands();

int runBuild(const Arguments& args, int argc, char** argv);
int runSearch(const Arguments& args, int argc, char** argv);
int runSweep(const Arguments& args, int argc, char** argv);
int runSensitivity(const Arguments& args, int argc, char** argv);
int runTolerance(const Arguments& args, int argc, char** argv);
#ifdef VELTRANO_HAVE_NLOPT
int runDesign(const Arguments& args, int argc, char** argv);
#endif
#ifdef VELTRANO_CLI_DRAWS
int runPrint(const Arguments& args, int argc, char** argv);
int runRender(const Arguments& args, int argc, char** argv);
#endif
int runExport(const Arguments& args, int argc, char** argv);

}  // namespace veltrano::cli
