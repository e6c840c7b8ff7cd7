#include "DesignDescription.h"

#include <utility>

#include "DesignJson.h"
#include "JsonReader.h"
#include "core/design/CigaretteFile.h"
#include "core/design/ValueChecks.h"

namespace veltrano::cli {

namespace {

constexpr char kShapeFileKey[] = "altProfileFile";
constexpr const char* kDesignNames[] = {"reference", "workingReference", "current"};

// The values of one design object, and the puff shape file it names. Returns what is refused, or "".
std::string readDesignObject(const std::string& name, const nlohmann::json& object, DesignDescription& out) {
    if (!object.is_object()) return "'" + name + "': must be an object";
    nlohmann::json fields = object;
    fields.erase(kShapeFileKey);
    if (const auto problem = readDesign(fields, designByName(out.designs, name)->values()))
        return "'" + name + "': " + *problem;
    if (!object.contains(kShapeFileKey)) return {};
    const nlohmann::json& path = object.at(kShapeFileKey);
    if (!path.is_string())
        return "'" + name + "': field '" + kShapeFileKey + "' must be a text (a file name)";
    out.shapeFiles.push_back({name, path.get<std::string>()});
    return {};
}

// The first input of the designs that no sheet stores, or "".
std::string impossibleInput(const DesignSet& designs) {
    for (const char* name : kDesignNames) {
        const std::vector<InputProblem> problems = impossibleInputs(designByName(designs, name)->values());
        if (problems.empty()) continue;
        return "'" + std::string(name) + "': field '" + std::string(problems.front().field) + "' " +
               (problems.front().negative ? "cannot be negative" : "must be a finite number") +
               " (--unchecked writes it as given)";
    }
    return {};
}

// Open's own check, run on the very bytes that would be written.
std::string refusedByOpen(const DesignSet& designs) {
    const CigaretteFileCheck check = checkCigaretteFile(encodeCigaretteFile(designs));
    for (std::size_t i = 0; i < check.imageAccepted.size(); ++i) {
        if (check.imageAccepted[i]) continue;
        for (const char* name : kDesignNames)
            if (designByName(designs, name) == &(designs.*kCigaretteImageOrder[i]))
                return "'" + std::string(name) +
                       "': field 'magic' must be \"QMX\"; Open refuses a file whose designs lack it";
    }
    return {};
}

}  // namespace

CigaretteDesign* designByName(DesignSet& designs, std::string_view name) {
    return const_cast<CigaretteDesign*>(designByName(std::as_const(designs), name));
}

const CigaretteDesign* designByName(const DesignSet& designs, std::string_view name) {
    if (name == "reference") return &designs.referenceDesign;
    if (name == "workingReference") return &designs.workingReference;
    if (name == "current") return &designs.currentDesign;
    return nullptr;
}

DesignDescription readDesignDescription(std::string_view text, std::string_view source, bool checkInputs) {
    DesignDescription out;
    const std::string named(source);
    const JsonReading reading = readJson(text);
    if (!reading.error.empty()) {
        out.problem = named + " " + reading.error;
        return out;
    }
    if (!reading.value.is_object()) {
        out.problem = named + " holds a JSON " + (reading.value.is_array() ? "array" : "value") +
                      "; a JSON object is expected";
        return out;
    }
    if (reading.duplicateKey) {
        out.problem = named + " gives the key " + *reading.duplicateKey + " twice";
        return out;
    }
    for (const auto& [key, value] : reading.value.items()) {
        if (key == "informationText") {
            if (!value.is_string()) {
                out.problem = "informationText must be a text";
            } else if (const auto problem =
                           informationTextFromUtf8(value.get<std::string>(), out.designs.informationText)) {
                out.problem = *problem;
            }
        } else if (key == "errors") {
            continue;  // what evaluate reported; not an input
        } else if (designByName(out.designs, key)) {
            out.problem = readDesignObject(key, value, out);
        } else {
            out.problem = "unknown member '" + key + "'";
        }
        if (!out.problem.empty()) return out;
    }
    if (checkInputs) out.problem = impossibleInput(out.designs);
    if (out.problem.empty()) out.problem = refusedByOpen(out.designs);
    return out;
}

}  // namespace veltrano::cli
