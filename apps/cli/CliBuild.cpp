// veltrano-cli build: a cigarette file from a JSON description. Whatever would give a file that Open
// refuses is refused before anything is written, and so is a value no design sheet stores.
#include <cstdio>

#include "CliCommands.h"
#include "CliSupport.h"
#include "DesignDescription.h"
#include "core/design/CigaretteFile.h"
#include "core/sheet/DesignSheet.h"
#include "core/sheet/PuffShape.h"

namespace veltrano::cli {

namespace {

// Far above any description: what evaluate prints for three designs with their arrays is a few MiB.
constexpr std::uint64_t kDescriptionCap = std::uint64_t{64} << 20;

int refuse(const std::string& message) {
    std::fprintf(stderr, "veltrano-cli build: %s\n", message.c_str());
    return kUsageError;
}

// Each failure of the sheet's checks on one line, after `lead`; counts them.
class SheetFailures : public ErrorReporter {
public:
    explicit SheetFailures(std::string lead) : lead_(std::move(lead)) {}
    void report(int, const std::string& text) override {
        std::fprintf(stderr, "%s%s\n", lead_.c_str(), text.c_str());
        ++count;
    }
    int count = 0;

private:
    std::string lead_;
};

// Runs the checks of OK of the reference's and the current design's sheets on the designs. What they
// refuse is a warning, or with --strict a refusal (status 2). They need the model parameters; without
// them the designs go unchecked, which --strict refuses (status 1). Returns 0 or the exit status.
int checkAsTheSheetsWould(const Arguments& args, const DesignSet& designs) {
    const bool strict = args.has("--strict");
    ModelParameters mp;
    if (!loadModels(args, mp)) {
        std::fprintf(stderr, "veltrano-cli build: %sthe design sheets' checks need the model parameters%s\n",
                     strict ? "" : "warning: ", strict ? "" : "; the designs were not checked");
        return strict ? kFileError : 0;
    }
    int failures = 0;
    for (const bool reference : {true, false}) {
        const std::string lead = std::string("veltrano-cli build: ") + (strict ? "" : "warning: ") +
                                 "the sheet of '" + (reference ? "reference" : "current") + "' refuses: ";
        SheetFailures reporter(lead);
        const CigaretteDesign& design = reference ? designs.referenceDesign : designs.currentDesign;
        validateSheet(design.values(), reference, mp, reporter);
        failures += reporter.count;
    }
    return strict && failures > 0 ? kUsageError : 0;
}

}  // namespace

int runBuild(const Arguments& args, StandardOutput&, int, char**) {
    const bool unchecked = args.has("--unchecked");
    if (unchecked && args.has("--strict")) return refuse("--strict and --unchecked contradict each other");
    const std::string& source = args.positional(0);
    const FileContent content = readFileContent(source, kDescriptionCap);
    if (content.status == FileContent::Status::NotOpened) {
        std::fprintf(stderr, "veltrano-cli build: %s could not be opened for reading\n", source.c_str());
        return kFileError;
    }
    if (content.status == FileContent::Status::TooLarge)
        return refuse(source + " is larger than a design description can be (64 MiB)");

    DesignDescription description = readDesignDescription(
        std::string_view(reinterpret_cast<const char*>(content.bytes.data()), content.bytes.size()), source,
        !unchecked);
    if (!description.problem.empty()) return refuse(description.problem);

    Session session;
    DesignSet& designs = description.designs;
    for (const ShapeFileRequest& request : description.shapeFiles) {
        PuffShape shape;
        if (loadPuffShapeFile(request.path, shape, session.errors) != 0) return kFileError;
        storePuffShape(shape, designByName(designs, request.design)->values());
    }
    if (!unchecked)
        if (const int status = checkAsTheSheetsWould(args, designs)) return status;
    session.document.takeDesigns(std::move(designs));
    return session.document.saveAs(args.positional(1), session.errors) == 0 ? 0 : kFileError;
}

}  // namespace veltrano::cli
