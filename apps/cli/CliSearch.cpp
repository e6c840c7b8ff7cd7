// veltrano-cli search: what the problem solver's Search button does, for scripts.
#include <cstdio>
#include <iostream>
#include <optional>

#include "CliCommands.h"
#include "CliSupport.h"
#include "JsonWriter.h"
#include "core/solver/SolverSearch.h"

namespace veltrano::cli {

namespace {

// The values found at full precision, each beside the text the dialog shows, then what Accept would
// write into the current design.
void writeResult(JsonWriter& json, SolverGroup group, const SearchOutcome& outcome,
                 const CigaretteDesign& current, const ModelParameters& mp) {
    const bool tipping = group == SolverGroup::Tipping;
    const std::pair<const char*, double> found[] = {
        {tipping ? "plugWrap" : "perm", tipping ? outcome.tipping.plugWrap : outcome.paper.permeability},
        {tipping ? "tipping" : "diffusion", tipping ? outcome.tipping.tipping : outcome.paper.diffusion}};
    for (std::size_t i = 0; i < 2; ++i) {
        json.key(found[i].first);
        json.value(found[i].second);
        json.key(std::string(found[i].first) + "Text");
        json.value(outcome.fieldTexts[i]);
    }
    if (tipping) {
        json.key("hints");
        json.value(outcome.hints);
    }
    DesignValues accepted = current.values();
    acceptSearchResult(accepted, group, outcome.fieldTexts, mp);
    json.key("accepted");
    json.beginObject();
    const std::pair<const char*, double> written[] = {
        {tipping ? "pw_perm" : "cp_perm", tipping ? accepted.pw_perm : accepted.cp_perm},
        {tipping ? "tp_perfoperm" : "cp_diff", tipping ? accepted.tp_perfoperm : accepted.cp_diff}};
    for (const auto& [name, value] : written) {
        json.key(name);
        json.value(value);
    }
    json.endObject();
}

}  // namespace

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
    Session session;
    if (!openDocument(args, session)) return kFileError;
    const DesignSet& designs = session.designs();
    StderrErrorReporter& errors = session.errors;
    const SearchOutcome outcome =
        runSolverSearch(designs, group, *code, args.value("--target"), session.mp, errors);

    JsonWriter json;
    json.beginObject();
    json.key("outcome");
    switch (outcome.kind) {
        case SearchOutcome::Kind::Result:
            json.value("result");
            writeResult(json, group, outcome, designs.currentDesign, session.mp);
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
