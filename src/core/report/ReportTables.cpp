#include "core/report/ReportTables.h"

#include <algorithm>
#include <functional>
#include <limits>
#include <stdexcept>

#include "core/design/DesignFields.h"

namespace veltrano {

namespace {

// How one column takes its cell for row `row`, and how many rows it can fill (no limit when empty).
struct ColumnRule {
    std::string_view name, unit;
    std::function<ReportCell(const DesignSet&, std::size_t row)> cell;
    std::function<std::size_t(const DesignSet&)> length;
};

struct TableRule {
    std::string_view name;
    std::vector<ColumnRule> columns;
    std::function<std::size_t(const DesignSet&, bool puffDataCurrent)> rows;
};

constexpr std::size_t kNoLimit = std::numeric_limits<std::size_t>::max();

// The summary lists the designs in the order of the files and of `veltrano-cli evaluate`.
struct NamedDesign {
    std::string_view name;
    CigaretteDesign DesignSet::*member;
};
constexpr NamedDesign kSummaryDesigns[] = {{"reference", &DesignSet::referenceDesign},
                                           {"workingReference", &DesignSet::workingReference},
                                           {"current", &DesignSet::currentDesign}};

double fieldNumber(const DesignValues& values, const DesignField& field) {
    return std::visit(
        [&](auto member) -> double {
            using Member = decltype(member);
            if constexpr (std::is_same_v<Member, double DesignValues::*> ||
                          std::is_same_v<Member, std::int32_t DesignValues::*> ||
                          std::is_same_v<Member, std::uint32_t DesignValues::*>)
                return static_cast<double>(values.*member);
            else
                throw std::logic_error("a summary column names a field that is not a number");
        },
        field.member);
}

// A value of the record, in the row of each design.
ColumnRule summaryField(std::string_view name, std::string_view unit) {
    const DesignField* field = findDesignField(name);
    if (!field) throw std::logic_error("a summary column names no field of the record");
    return {name,
            unit,
            [field](const DesignSet& designs, std::size_t row) -> ReportCell {
                return fieldNumber(designs.*kSummaryDesigns[row].member, *field);
            },
            {}};
}

// Entry `row` of an array of the current design.
template <class T>
ColumnRule arrayColumn(std::string_view name, std::string_view unit,
                       std::vector<T> CigaretteDesign::*member) {
    return {name, unit,
            [member](const DesignSet& designs, std::size_t row) -> ReportCell {
                return static_cast<double>((designs.currentDesign.*member)[row]);
            },
            [member](const DesignSet& designs) { return (designs.currentDesign.*member).size(); }};
}

// A column computed from the row number and the current design.
ColumnRule rowColumn(std::string_view name, std::string_view unit,
                     std::function<double(const CigaretteDesign&, std::size_t)> value) {
    return {name,
            unit,
            [value = std::move(value)](const DesignSet& designs, std::size_t row) -> ReportCell {
                return value(designs.currentDesign, row);
            },
            {}};
}

const std::vector<TableRule>& tableRules() {
    using D = CigaretteDesign;
    static const std::vector<TableRule> rules{
        {"summary",
         {
             {"design",
              "",
              [](const DesignSet&, std::size_t row) -> ReportCell { return kSummaryDesigns[row].name; },
              {}},
             summaryField("ci_len", "mm"),
             summaryField("tp_width", "mm"),
             summaryField("tp_perfotype", "-"),
             summaryField("tp_perfopos", "mm"),
             summaryField("tp_perfowidth", "mm"),
             summaryField("tp_perfoperm", "CU"),
             summaryField("tp_exponent", "-"),
             summaryField("tp_onlinevent", "%"),
             summaryField("pw_perm", "CU"),
             summaryField("pw_exponent", "-"),
             summaryField("cp_perm", "CU"),
             summaryField("cp_exponent", "-"),
             summaryField("cp_diff", "cm/s"),
             summaryField("cp_fiber", "g/m2"),
             summaryField("cp_filler", "g/m2"),
             summaryField("cp_citrate", "%"),
             summaryField("cp_lip", "-"),
             summaryField("cp_bandperm", "CU"),
             summaryField("cp_banddiff", "cm/s"),
             summaryField("cp_bandwidth", "mm"),
             summaryField("cp_bandspace", "mm"),
             summaryField("fi_len", "mm"),
             summaryField("fi_diam", "mm"),
             summaryField("fi_pd", "mm H2O"),
             summaryField("fi_exponent", "-"),
             summaryField("fi_totden", "den"),
             summaryField("fi_fibden", "den"),
             summaryField("ro_len", "mm"),
             summaryField("ro_pd", "mm H2O"),
             summaryField("ro_exponent", "-"),
             summaryField("ro_totlen", "mm"),
             summaryField("ro_totpd", "mm H2O"),
             summaryField("ro_totmass", "mg"),
             summaryField("stat_pdo", "mm H2O"),
             summaryField("stat_pdc", "mm H2O"),
             summaryField("stat_fivent", "%"),
             summaryField("stat_rovent", "%"),
             summaryField("stat_mbr", "mg/min"),
             summaryField("iso_pdo", "mm H2O"),
             summaryField("iso_fivent", "%"),
             summaryField("iso_rovent", "%"),
             summaryField("iso_puff", "-"),
             summaryField("iso_nfdpm", "mg/cig"),
             summaryField("iso_nico", "mg/cig"),
             summaryField("iso_co", "mg/cig"),
             summaryField("alt_volume", "ml"),
             summaryField("alt_duration", "s"),
             summaryField("alt_interval", "s"),
             summaryField("alt_blocking", "%"),
             summaryField("alt_pdo", "mm H2O"),
             summaryField("alt_fivent", "%"),
             summaryField("alt_rovent", "%"),
             summaryField("alt_puff", "-"),
             summaryField("alt_nfdpm", "mg/cig"),
             summaryField("alt_nico", "mg/cig"),
             summaryField("alt_co", "mg/cig"),
         },
         [](const DesignSet&, bool) { return std::size(kSummaryDesigns); }},
        {"profiles",
         {
             // Entry i belongs to the position i/300 of the cigarette length from the mouth end.
             rowColumn("position", "mm",
                       [](const D& d, std::size_t i) { return d.ci_len * double(i) / kProfileSamples; }),
             arrayColumn("stat_pres_open", "mm H2O", &D::stat_pres_open),
             arrayColumn("stat_pres_closed", "mm H2O", &D::stat_pres_closed),
             arrayColumn("stat_flow_open", "cm3/s", &D::stat_flow_open),
             arrayColumn("stat_flow_closed", "cm3/s", &D::stat_flow_closed),
         },
         [](const DesignSet&, bool) { return kNoLimit; }},
        {"curves",
         {
             // Sample i belongs to the time i/399 of the puff: 2 s for ISO, `alt_duration` otherwise.
             rowColumn("iso_time", "s",
                       [](const D&, std::size_t i) { return 2.0 * double(i) / (kCurveSamples - 1); }),
             arrayColumn("iso_prof_flow", "cm3/s", &D::iso_prof_flow),
             arrayColumn("iso_prof_fivent", "cm3/s", &D::iso_prof_fivent),
             arrayColumn("iso_prof_rovent", "cm3/s", &D::iso_prof_rovent),
             arrayColumn("iso_prof_pdo", "mm H2O", &D::iso_prof_pdo),
             arrayColumn("iso_prof_pvent", "mm H2O", &D::iso_prof_pvent),
             rowColumn(
                 "alt_time", "s",
                 [](const D& d, std::size_t i) { return d.alt_duration * double(i) / (kCurveSamples - 1); }),
             arrayColumn("alt_prof_flow", "cm3/s", &D::alt_prof_flow),
             arrayColumn("alt_prof_fivent", "cm3/s", &D::alt_prof_fivent),
             arrayColumn("alt_prof_rovent", "cm3/s", &D::alt_prof_rovent),
             arrayColumn("alt_prof_pdo", "mm H2O", &D::alt_prof_pdo),
             arrayColumn("alt_prof_pvent", "mm H2O", &D::alt_prof_pvent),
         },
         [](const DesignSet&, bool) { return kNoLimit; }},
        {"puffs",
         {
             rowColumn("puff", "-", [](const D&, std::size_t i) { return double(i + 1); }),
             arrayColumn("puff_size", "1/10", &D::puff_size),
             arrayColumn("puff_pos", "mm", &D::puff_pos),
             arrayColumn("puff_mass", "mg", &D::puff_mass),
             arrayColumn("puff_fivent", "%", &D::puff_fivent),
             arrayColumn("puff_rovent", "%", &D::puff_rovent),
             arrayColumn("puff_avgpd", "mm H2O", &D::puff_avgpd),
             arrayColumn("puff_nfdpm", "mg", &D::puff_nfdpm),
             arrayColumn("puff_nico", "mg", &D::puff_nico),
             arrayColumn("puff_co", "mg", &D::puff_co),
         },
         [](const DesignSet& designs, bool puffDataCurrent) {
             return puffDataCurrent ? static_cast<std::size_t>(std::max(designs.currentDesign.puff_number, 0))
                                    : std::size_t{0};
         }},
    };
    return rules;
}

const TableRule& ruleOf(ReportTableId table) {
    return tableRules()[static_cast<std::size_t>(table)];
}

}  // namespace

std::string_view reportTableName(ReportTableId table) {
    return ruleOf(table).name;
}

std::optional<ReportTableId> reportTableNamed(std::string_view name) {
    for (ReportTableId table : kReportTables)
        if (reportTableName(table) == name) return table;
    return std::nullopt;
}

ReportTable buildReportTable(ReportTableId table, const DesignSet& designs, bool puffDataCurrent) {
    const TableRule& rule = ruleOf(table);
    ReportTable out;
    std::size_t rows = rule.rows(designs, puffDataCurrent);
    for (const ColumnRule& column : rule.columns) {
        out.header.push_back(column.unit.empty()
                                 ? std::string(column.name)
                                 : std::string(column.name) + " [" + std::string(column.unit) + "]");
        if (column.length) rows = std::min(rows, column.length(designs));
    }
    out.rows.reserve(rows);
    for (std::size_t row = 0; row < rows; ++row) {
        std::vector<ReportCell>& cells = out.rows.emplace_back();
        cells.reserve(rule.columns.size());
        for (const ColumnRule& column : rule.columns) cells.push_back(column.cell(designs, row));
    }
    return out;
}

}  // namespace veltrano
