// veltrano-cli build: a cigarette file from a JSON description. Whatever would give a file that Open
// refuses is refused before anything is written.
#include <cstdio>

#include "CliCommands.h"
#include "CliSupport.h"
#include "DesignJson.h"
#include "JsonReader.h"
#include "core/design/CigaretteFile.h"
#include "core/sheet/PuffShape.h"

namespace veltrano::cli {

namespace {

// Far above any description: what evaluate prints for three designs with their arrays is a few MiB.
constexpr std::uint64_t kDescriptionCap = std::uint64_t{64} << 20;
constexpr char kShapeFileKey[] = "altProfileFile";
constexpr const char* kDesignNames[] = {"reference", "workingReference", "current"};

int refuse(const std::string& message) {
    std::fprintf(stderr, "veltrano-cli build: %s\n", message.c_str());
    return kUsageError;
}

// The values of one design object. A named puff shape file is loaded as the regime page's "Load from
// file" loads it and replaces the shape the object gives. Returns 0 or the exit status.
int readDesignObject(const std::string& name, const nlohmann::json& object, DesignValues& values,
                     ErrorReporter& errors) {
    nlohmann::json fields = object;
    fields.erase(kShapeFileKey);
    if (const auto problem = readDesign(fields, values)) return refuse("'" + name + "': " + *problem);
    if (!object.contains(kShapeFileKey)) return 0;

    const nlohmann::json& path = object.at(kShapeFileKey);
    if (!path.is_string())
        return refuse("'" + name + "': field '" + kShapeFileKey + "' must be a text (a file name)");
    PuffShape shape;
    if (loadPuffShapeFile(path.get<std::string>(), shape, errors) != 0) return kFileError;
    storePuffShape(shape, values);
    return 0;
}

std::string nameOf(DesignSet& designs, const CigaretteDesign& design) {
    for (const char* name : kDesignNames)
        if (designByName(designs, name) == &design) return name;
    return {};
}

}  // namespace

int runBuild(const Arguments& args, int, char**) {
    const std::string& source = args.positional(0);
    const FileContent content = readFileContent(source, kDescriptionCap);
    if (content.status == FileContent::Status::NotOpened) {
        std::fprintf(stderr, "veltrano-cli build: %s could not be opened for reading\n", source.c_str());
        return kFileError;
    }
    if (content.status == FileContent::Status::TooLarge)
        return refuse(source + " is larger than a design description can be (64 MiB)");

    const JsonReading reading =
        readJson(std::string_view(reinterpret_cast<const char*>(content.bytes.data()), content.bytes.size()));
    if (!reading.error.empty()) return refuse(source + " is not valid JSON: " + reading.error);
    if (!reading.value.is_object())
        return refuse(source + " holds a JSON " + (reading.value.is_array() ? "array" : "value") +
                      "; a JSON object is expected");
    if (reading.duplicateKey) return refuse(source + " gives the key " + *reading.duplicateKey + " twice");

    Session session;
    DesignSet designs;  // default designs, filled from the JSON; nothing is recalculated
    StderrErrorReporter& errors = session.errors;
    for (const auto& [key, value] : reading.value.items()) {
        if (key == "informationText") {
            if (!value.is_string()) return refuse("informationText must be a text");
            if (const auto problem =
                    informationTextFromUtf8(value.get<std::string>(), designs.informationText))
                return refuse(*problem);
        } else if (key == "errors") {
            continue;  // what evaluate reported; not an input
        } else if (CigaretteDesign* d = designByName(designs, key)) {
            if (!value.is_object()) return refuse("'" + key + "': must be an object");
            if (const int status = readDesignObject(key, value, d->values(), errors)) return status;
        } else {
            return refuse("unknown member '" + key + "'");
        }
    }

    // Open's own check, run on the very bytes that would be written.
    const CigaretteFileCheck check = checkCigaretteFile(encodeCigaretteFile(designs));
    for (std::size_t i = 0; i < check.imageAccepted.size(); ++i)
        if (!check.imageAccepted[i]) {
            std::string problem = "'";
            problem += nameOf(designs, designs.*kCigaretteImageOrder[i]);
            problem += "': field 'magic' must be \"QMX\"; Open refuses a file whose designs lack it";
            return refuse(problem);
        }
    session.document.takeDesigns(std::move(designs));
    return session.document.saveAs(args.positional(1), errors) == 0 ? 0 : kFileError;
}

}  // namespace veltrano::cli
