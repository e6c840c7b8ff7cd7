// veltrano-cli sensitivity: the elasticity of every output to every input of the current design.
#include <cstdio>

#include "CliCommands.h"
#include "CliExploreOptions.h"
#include "CliSupport.h"
#include "JsonWriter.h"
#include "StandardOutput.h"
#include "core/design/NumberText.h"
#include "core/explore/Sensitivity.h"
#include "core/explore/SweepTable.h"

namespace veltrano::cli {

namespace {

int usageError(const std::string& message) {
    std::fprintf(stderr, "veltrano-cli sensitivity: %s\n", message.c_str());
    return kUsageError;
}

std::optional<std::vector<const ExploreField*>> fieldsFrom(const Arguments& args, const DesignValues& current,
                                                           std::string& problem) {
    std::vector<const ExploreField*> fields;
    if (!args.has("--fields")) {
        for (const ExploreField& f : exploreFields())
            if (isOffered(f, current)) fields.push_back(&f);
        return fields;
    }
    for (const std::string& name : commaList(args.value("--fields"))) {
        const ExploreField* f = findExploreField(name);
        if (!f || !isOffered(*f, current)) {
            problem =
                "'" + name + "' is not a field of this design's sheet; offered: " + offeredNames(current);
            return std::nullopt;
        }
        fields.push_back(f);
    }
    if (fields.empty()) problem = "--fields names no field";
    return fields.empty() ? std::nullopt : std::optional(fields);
}

std::string csvText(const std::vector<SensitivityRow>& rows,
                    const std::vector<const ExploreOutput*>& outputs) {
    std::string text = "field,unit,value";
    for (const ExploreOutput* o : outputs) text += "," + std::string(o->name);
    text += ",status,errors,messages\r\n";
    for (const SensitivityRow& row : rows) {
        text += std::string(row.field->name()) + "," + std::string(row.field->unit()) + "," +
                fullPrecisionText(row.value);
        for (const std::optional<double>& e : row.elasticities)
            text += "," + (e ? fullPrecisionText(*e) : "");
        std::string numbers;
        for (int n : row.errors) numbers += (numbers.empty() ? "" : " ") + std::to_string(n);
        // The messages may hold commas and quotes: quoted as RFC 4180 quotes them.
        std::string messages = "\"";
        for (char c : errorTexts(row.errors)) messages += c == '"' ? std::string("\"\"") : std::string(1, c);
        text +=
            std::string(",") + (row.refused ? "refused" : "ok") + "," + numbers + "," + messages + "\"\r\n";
    }
    return text;
}

std::string jsonText(const std::vector<SensitivityRow>& rows,
                     const std::vector<const ExploreOutput*>& outputs, double step) {
    JsonWriter json;
    json.beginObject();
    json.key("step");
    json.value(step);
    json.key("rows");
    json.beginArray();
    for (const SensitivityRow& row : rows) {
        json.beginObject();
        json.key("field");
        json.value(row.field->name());
        json.key("value");
        json.value(row.value);
        for (std::size_t o = 0; o < outputs.size(); ++o) {
            json.key(outputs[o]->name);
            json.numberOrNull(row.elasticities[o]);
        }
        json.key("status");
        json.value(row.refused ? "refused" : "ok");
        json.errors(row.errors);
        json.key("messages");
        json.beginArray();
        for (int n : row.errors) json.value(errorMessage(n).value_or(""));
        json.endArray();
        json.endObject();
    }
    json.endArray();
    json.endObject();
    return json.text() + '\n';
}

}  // namespace

int runSensitivity(const Arguments& args, StandardOutput& out, int, char**) {
    const std::string format = args.value("--format", "csv");
    if (format != "csv" && format != "json") return usageError("--format must be csv or json");
    const std::optional<double> step =
        args.has("--step") ? commandLineNumber(args.value("--step")) : kDefaultSensitivityStep;
    if (!step || !(*step > 0) || *step > kMaxSensitivityStep)
        return usageError("--step must be a number above 0 and at most 50 (percent)");
    std::string problem;
    const std::optional<std::vector<const ExploreOutput*>> outputs = outputsFrom(args, problem);
    if (!outputs) return usageError(problem);

    DesignSet designs;
    ModelParameters mp;
    StderrErrorReporter errors;
    if (!openForExploring(args, designs, mp, errors)) return kFileError;
    const DesignValues& current = designs.currentDesign;
    const std::optional<std::vector<const ExploreField*>> fields = fieldsFrom(args, current, problem);
    if (!fields) return usageError(problem);

    const ExploreBasis basis{designs.referenceDesign, designs.workingReference, mp};
    const std::vector<SensitivityRow> rows = computeSensitivities(*fields, *outputs, *step, current, basis);
    out.write(format == "csv" ? csvText(rows, *outputs) : jsonText(rows, *outputs, *step));
    return 0;
}

}  // namespace veltrano::cli
