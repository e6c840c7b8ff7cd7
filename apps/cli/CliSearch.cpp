// veltrano-cli search: what the problem solver's Search button does, for scripts.
#include <cstdio>
#include <iostream>
#include <optional>

#include "CliCommands.h"
#include "CliSupport.h"
#include "JsonWriter.h"
#include "design/NumberText.h"
#include "solver/SolverSearch.h"

namespace veltrano::cli {

int runSearch(const Arguments& args, int, char**) {
    const std::string groupName = args.value("--group");
    if (groupName != "tipping" && groupName != "paper") {
        std::fprintf(stderr, "veltrano-cli search: --group must be 'tipping' or 'paper'\n");
        return kUsageError;
    }
    const std::string codeText = args.value("--code");
    const std::optional<SolverTarget> code =
        codeText.size() == 1 ? solverTargetFromCode(codeText[0] - '0') : std::nullopt;
    if (!code) {
        std::fprintf(stderr, "veltrano-cli search: --code must be a target code from 1 to 6\n");
        return kUsageError;
    }
    if (!args.has("--target")) {
        std::fprintf(stderr, "veltrano-cli search: --target is missing\n");
        return kUsageError;
    }
    const SolverGroup group = groupName == "tipping" ? SolverGroup::Tipping : SolverGroup::Paper;
    DesignSet designs;
    ModelParameters mp;
    StderrErrorReporter errors;
    if (!openAndRecalculate(args, designs, mp, errors)) return kFileError;
    const SearchOutcome outcome = runSolverSearch(designs, group, *code, args.value("--target"), mp, errors);

    JsonWriter json;
    json.beginObject();
    json.key("outcome");
    switch (outcome.kind) {
        case SearchOutcome::Kind::Result:
            json.value("result");
            // The values as the dialog shows them, read back as numbers.
            json.key(group == SolverGroup::Tipping ? "plugWrap" : "perm");
            json.value(readNumber(outcome.fieldTexts[0]));
            json.key(group == SolverGroup::Tipping ? "tipping" : "diffusion");
            json.value(readNumber(outcome.fieldTexts[1]));
            if (group == SolverGroup::Tipping) {
                json.key("hints");
                json.value(outcome.hints);
            }
            break;
        case SearchOutcome::Kind::RangeMessage:
            json.value("range");
            json.key("message");
            json.value(outcome.message);
            break;
        case SearchOutcome::Kind::Error:
            json.value("error");
            json.key("error");
            json.value(static_cast<long long>(outcome.error));
            json.key("message");
            json.value(errorMessage(outcome.error).value_or(""));
            break;
        case SearchOutcome::Kind::NotOffered:
            json.value("not offered");
            break;
    }
    json.errors(errors.numbers);
    json.endObject();
    std::cout << json.text() << '\n';
    return 0;
}

}  // namespace veltrano::cli
