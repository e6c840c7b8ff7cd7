// The command line of every command, read by one parser.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CliCommands.h"
#include "CliFixture.h"
#include "core/design/ProgramName.h"

namespace {

using veltrano::testing::Cli;
using veltrano::testing::Result;

// An option of a command's list as the command line spells it, with a value when it takes one.
struct Spelled {
    std::string name;
    bool takesValue;
    bool repeats;
};

Spelled spelled(std::string entry) {
    const bool repeats = entry.ends_with("...");
    if (repeats) entry.resize(entry.size() - 3);
    const bool takesValue = entry.ends_with('=');
    if (takesValue) entry.pop_back();
    return {entry, takesValue, repeats};
}

// Every option of every command, given twice, is refused before anything is read: the second value
// would otherwise silently win. Only the options a command repeats by design are taken again.
TEST_F(Cli, AnOptionGivenTwiceIsRefusedUnlessItRepeats) {
    for (const veltrano::cli::Command& command : veltrano::cli::commands()) {
        std::string files;
        for (int i = 0; i < command.positionals; ++i) files += " " + path("in" + std::to_string(i));
        for (const std::string& entry : command.options) {
            const Spelled option = spelled(entry);
            const std::string once = option.name + (option.takesValue ? " 1" : "");
            const std::string arguments = std::string(command.name) + files + " " + once + " " + once;
            SCOPED_TRACE(arguments);
            const Result r = run(arguments);
            if (option.repeats) {
                EXPECT_EQ(r.err.find("given twice"), std::string::npos) << r.err;
                continue;
            }
            EXPECT_EQ(r.status, 2);
            EXPECT_EQ(r.err.rfind("veltrano-cli " + std::string(command.name) + ": option " + option.name +
                                      " is given twice\n",
                                  0),
                      0u)
                << r.err;
            EXPECT_EQ(r.out, "");
        }
    }
}

TEST_F(Cli, OptionsAreSpelledOneWayAndNamedWhenWrong) {
    ASSERT_EQ(run("new " + path("a.cig")).status, 0);
    const std::string sweep = "sweep " + path("a.cig") + " --models " + models +
                              " --field cp_perm --from 20 --to 40 --steps 2 --outputs stat_pdo";
    const struct {
        std::string arguments;
        const char* says;  // what stderr begins with
    } refused[] = {
        {"evaluate " + path("a.cig") + " --puffs=yes",
         "veltrano-cli evaluate: option --puffs takes no value"},
        {"evaluate " + path("a.cig") + " --fast", "veltrano-cli evaluate: unknown option --fast"},
        {"evaluate " + path("a.cig") + " --models", "veltrano-cli evaluate: option --models needs a value"},
        {"evaluate " + path("a.cig") + " --models=" + models + " --models " + models,
         "veltrano-cli evaluate: option --models is given twice"},
        // A second field's bounds without the second field would be dropped without a word.
        {sweep + " --from2 1", "veltrano-cli sweep: --from2 belongs to a second field: --field2 is missing"},
        {sweep + " --to2 1", "veltrano-cli sweep: --to2 belongs to a second field: --field2 is missing"},
        {sweep + " --steps2 3",
         "veltrano-cli sweep: --steps2 belongs to a second field: --field2 is missing"},
        {"sweep " + path("a.cig") + " --models " + models +
             " --field cp_perm --from 20 --to 40 --steps 2 --outputs stat_pdo,iso_co,stat_pdo",
         "veltrano-cli sweep: --outputs names 'stat_pdo' twice"},
        {"build " + path("x.json") + " " + path("x.cig") + " --strict --unchecked",
         "veltrano-cli build: --strict and --unchecked contradict each other"},
    };
    for (const auto& c : refused) {
        const Result r = run(c.arguments);
        EXPECT_EQ(r.status, 2) << c.arguments;
        EXPECT_EQ(r.err.rfind(c.says, 0), 0u) << r.err;
        EXPECT_EQ(r.out, "") << c.arguments;
    }
    // "--name=value" is "--name value".
    const Result spaced = run(sweep),
                 joined = run("sweep " + path("a.cig") + " --models=" + models +
                              " --field=cp_perm --from=20 --to=40 --steps=2 --outputs=stat_pdo");
    ASSERT_EQ(spaced.status, 0) << spaced.err;
    EXPECT_EQ(joined.out, spaced.out);
}

TEST_F(Cli, VersionIsTheProgramsNameAndVersion) {
    const std::string expected = "veltrano-cli " + std::string(veltrano::kProgramVersion) + "\n";
    for (const char* option : {"--version", "-v"}) {
        const Result r = run(option);
        EXPECT_EQ(r.status, 0) << option;
        EXPECT_EQ(r.out, expected);
        EXPECT_EQ(r.err, "");
    }
    EXPECT_NE(run("--help").out.find("veltrano-cli --version"), std::string::npos);
}

}  // namespace
