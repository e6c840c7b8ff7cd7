// veltrano-cli export: one table of numbers as a CSV file.
#include <cstdio>

#include "CliCommands.h"
#include "CliSupport.h"
#include "core/report/ReportFile.h"
#include "core/report/TableText.h"

namespace veltrano::cli {

int runExport(const Arguments& args, StandardOutput&, int, char**) {
    const std::optional<ReportTableId> table = reportTableNamed(args.value("--what"));
    if (!table) {
        std::fprintf(stderr, "veltrano-cli export: --what must be summary, profiles, curves or puffs\n");
        return kUsageError;
    }
    Session session;
    if (!openDocument(args, session)) return kFileError;
    // The per-puff table needs the analysis: it runs for it as the program runs it for its view.
    const bool puffs = analysePuffsIfAsked(args, session.document, *table == ReportTableId::Puffs);
    const ReportTable rows = buildReportTable(*table, session.designs(), puffs);
    if (*table == ReportTableId::Puffs && rows.rows.empty()) {
        std::fprintf(
            stderr,
            "veltrano-cli export: the puff-by-puff analysis gives no puffs: the reference's ISO puff "
            "number is not marked known\n");
        return kUsageError;
    }
    if (const std::optional<std::string> failure = writeReportFile(args.positional(1), csvText(rows))) {
        std::fprintf(stderr, "veltrano-cli export: %s\n", failure->c_str());
        return kFileError;
    }
    return 0;
}

}  // namespace veltrano::cli
