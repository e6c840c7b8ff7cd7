#include <charconv>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/design/DesignFields.h"
#include "core/report/ReportTables.h"
#include "core/report/TableText.h"

namespace veltrano {
namespace {

// A design set whose current design has arrays with recognisable values and `puffs` puffs.
DesignSet markedDesigns(int puffs) {
    DesignSet designs;
    CigaretteDesign& d = designs.currentDesign;
    for (int i = 0; i < kProfileSamples; ++i) d.stat_pres_open[std::size_t(i)] = 100.0 - i / 3.0;
    for (int i = 0; i < kCurveSamples; ++i) d.alt_prof_flow[std::size_t(i)] = 0.1 * i;
    if (puffs > 0) d.allocatePuffData(puffs);
    for (int i = 0; i < puffs; ++i) d.puff_nfdpm[std::size_t(i)] = 1.0 / 3.0 + i;
    designs.referenceDesign.stat_pdo = 123.456789012345678;
    return designs;
}

std::size_t columnOf(const ReportTable& table, const std::string& header) {
    for (std::size_t i = 0; i < table.header.size(); ++i)
        if (table.header[i] == header) return i;
    ADD_FAILURE() << "no column " << header;
    return 0;
}

double number(const ReportCell& cell) {
    EXPECT_TRUE(std::holds_alternative<double>(cell));
    return std::holds_alternative<double>(cell) ? std::get<double>(cell) : 0.0;
}

TEST(ReportTables, OneRowPerItemAndOneHeaderCellPerColumnWithItsUnit) {
    const DesignSet designs = markedDesigns(9);
    const struct {
        ReportTableId id;
        const char* name;
        std::size_t rows;
        const char* someHeader;
    } cases[] = {{ReportTableId::Summary, "summary", 3, "stat_pdo [mm H2O]"},
                 {ReportTableId::Profiles, "profiles", 300, "stat_flow_open [cm3/s]"},
                 {ReportTableId::Curves, "curves", 400, "alt_time [s]"},
                 {ReportTableId::Puffs, "puffs", 9, "puff_nfdpm [mg]"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(reportTableName(c.id), c.name);
        EXPECT_EQ(reportTableNamed(c.name), c.id);
        const ReportTable table = buildReportTable(c.id, designs, true);
        EXPECT_EQ(table.rows.size(), c.rows);
        columnOf(table, c.someHeader);
        for (const auto& row : table.rows) ASSERT_EQ(row.size(), table.header.size());
    }
    EXPECT_EQ(reportTableNamed("everything"), std::nullopt);
}

TEST(ReportTables, CellsAreTheRecordsOwnValues) {
    const DesignSet designs = markedDesigns(9);
    const ReportTable summary = buildReportTable(ReportTableId::Summary, designs, true);
    EXPECT_EQ(std::get<std::string_view>(summary.rows[0][0]), "reference");
    EXPECT_EQ(std::get<std::string_view>(summary.rows[2][0]), "current");
    EXPECT_EQ(number(summary.rows[0][columnOf(summary, "stat_pdo [mm H2O]")]), 123.456789012345678);
    // Every summary column names a number field of the record, and shows it as it is.
    for (std::size_t c = 1; c < summary.header.size(); ++c) {
        const std::string name = summary.header[c].substr(0, summary.header[c].find(' '));
        ASSERT_NE(findDesignField(name), nullptr) << name;
    }

    const ReportTable profiles = buildReportTable(ReportTableId::Profiles, designs, true);
    EXPECT_EQ(number(profiles.rows[150][columnOf(profiles, "position [mm]")]), 84.0 * 150 / 300);
    EXPECT_EQ(number(profiles.rows[299][columnOf(profiles, "stat_pres_open [mm H2O]")]), 100.0 - 299 / 3.0);

    const ReportTable curves = buildReportTable(ReportTableId::Curves, designs, true);
    EXPECT_EQ(number(curves.rows[399][columnOf(curves, "iso_time [s]")]), 2.0);
    EXPECT_EQ(number(curves.rows[399][columnOf(curves, "alt_prof_flow [cm3/s]")]), 0.1 * 399);

    const ReportTable puffs = buildReportTable(ReportTableId::Puffs, designs, true);
    EXPECT_EQ(number(puffs.rows[8][columnOf(puffs, "puff [-]")]), 9.0);
    EXPECT_EQ(number(puffs.rows[8][columnOf(puffs, "puff_nfdpm [mg]")]), 1.0 / 3.0 + 8);
}

TEST(ReportTables, RowsOnlyWhereTheDataExist) {
    const DesignSet stale = markedDesigns(9);
    EXPECT_TRUE(
        buildReportTable(ReportTableId::Puffs, stale, false).rows.empty());  // per-puff data out of date
    const DesignSet none = markedDesigns(0);
    EXPECT_TRUE(buildReportTable(ReportTableId::Puffs, none, true).rows.empty());

    DesignSet bare;
    bare.currentDesign = CigaretteDesign(ArrayMode::NoArrays);  // read from a file, before any recalculation
    const ReportTable profiles = buildReportTable(ReportTableId::Profiles, bare, true);
    EXPECT_TRUE(profiles.rows.empty());
    EXPECT_FALSE(profiles.header.empty());
    EXPECT_TRUE(buildReportTable(ReportTableId::Curves, bare, true).rows.empty());
}

TEST(TableText, NumbersAreExactWithAPeriodWhateverTheLocale) {
    const struct {
        double value;
        const char* text;
    } cases[] = {{114.63937867383028, "114.63937867383028"},
                 {0.1, "0.1"},
                 {-2.5, "-2.5"},
                 {1e-7, "1e-07"},
                 {30000, "30000"},
                 {std::numeric_limits<double>::quiet_NaN(), "NaN"},
                 {std::numeric_limits<double>::infinity(), "Infinity"},
                 {-std::numeric_limits<double>::infinity(), "-Infinity"}};
    for (const auto& c : cases) EXPECT_EQ(fullPrecisionNumber(c.value), c.text);
    // Every finite double reads back as itself.
    for (double v : {1.0 / 3.0, 123.456789012345678, 6.02214076e23, 5e-324}) {
        const std::string text = fullPrecisionNumber(v);
        double back = 0;
        std::from_chars(text.data(), text.data() + text.size(), back);
        EXPECT_EQ(back, v) << text;
    }
}

TEST(TableText, CsvFollowsRfc4180) {
    ReportTable table;
    table.header = {"design", "puff_nfdpm [mg]", "a \"quoted\", name"};
    table.rows = {{std::string_view("current"), 0.5, 1.0 / 3.0}, {std::string_view("two\nlines"), -1.0, 2.0}};
    EXPECT_EQ(csvText(table),
              "design,puff_nfdpm [mg],\"a \"\"quoted\"\", name\"\r\n"
              "current,0.5,0.3333333333333333\r\n"
              "\"two\nlines\",-1,2\r\n");
}

TEST(TableText, ClipboardTextUsesTheGivenDecimalSeparator) {
    ReportTable first;
    first.header = {"design", "stat_pdo [mm H2O]"};
    first.rows = {{std::string_view("current"), 12.5}};
    ReportTable second;
    second.header = {"puff [-]"};
    second.rows = {{1.0}, {2.25}};
    EXPECT_EQ(tabText({first, second}, ","),
              "design\tstat_pdo [mm H2O]\ncurrent\t12,5\n\npuff [-]\n1\n2,25\n");
    EXPECT_EQ(tabText({first}, "."), "design\tstat_pdo [mm H2O]\ncurrent\t12.5\n");
}

}  // namespace
}  // namespace veltrano
