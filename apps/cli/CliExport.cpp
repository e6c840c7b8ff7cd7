// veltrano-cli export: one table of numbers as a CSV file.
#include <cstdio>

#include "CliCommands.h"
#include "CliSupport.h"
#include "core/report/ReportFile.h"
#include "core/report/TableText.h"

namespace veltrano::cli {

int runExport(const Arguments& args, int, char**) {
    const std::optional<ReportTableId> table = reportTableNamed(args.value("--what"));
    if (!table) {
        std::fprintf(stderr, "veltrano-cli export: --what must be summary, profiles, curves or puffs\n");
        return kUsageError;
    }
    Session session;
    if (!openDocument(args, session)) return kFileError;
    const DesignSet& designs = session.designs();
    StderrErrorReporter& errors = session.errors;
    const bool puffs = analysePuffsIfAsked(args, session.document);
    const std::string text = csvText(buildReportTable(*table, designs, puffs));
    return writeReportFile(args.positional(1), text, errors) ? 0 : kFileError;
}

}  // namespace veltrano::cli
