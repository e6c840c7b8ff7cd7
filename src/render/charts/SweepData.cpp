#include "render/charts/SweepData.h"

#include "render/charts/ExploreText.h"

namespace veltrano {

void SweepData::start(const SweepGrid& newGrid, const DesignValues& current, bool withPuffs) {
    grid = newGrid;
    today = current;
    puffs = withPuffs;
    points.assign(static_cast<std::size_t>(grid.pointCount()), std::nullopt);
}

void SweepData::add(SweepPoint&& point) {
    if (point.index < 0 || point.index >= pointCount()) return;
    points[static_cast<std::size_t>(point.index)] = std::move(point);
}

int SweepData::computedCount() const {
    int count = 0;
    for (const auto& p : points) count += p.has_value();
    return count;
}

const SweepPoint* SweepData::point(int index) const {
    if (index < 0 || index >= pointCount()) return nullptr;
    const auto& p = points[static_cast<std::size_t>(index)];
    return p ? &*p : nullptr;
}

std::optional<double> SweepData::outputAt(int index, const ExploreOutput& output) const {
    const SweepPoint* p = point(index);
    if (!p || p->result.status != VariantStatus::Computed) return std::nullopt;
    return output.read(p->result.values);
}

SweepColumns SweepData::columns() const {
    // Before the first run there is no field yet.
    if (!grid.first.field) return {{}, outputs, puffs};
    return sweepColumns(grid, outputs, puffs);
}

std::vector<std::string> sweepTableHeader(const SweepData& data) {
    const SweepColumns columns = data.columns();
    std::vector<std::string> header{"Point"};
    for (const ExploreField* f : columns.inputs) header.push_back(fieldTitleWithUnit(*f));
    header.emplace_back("Status");
    for (const ExploreOutput* o : columns.outputs) header.push_back(outputTitleWithUnit(*o));
    if (columns.puffs) header.emplace_back("Puffs analysed");
    header.emplace_back("Errors");
    return header;
}

std::vector<std::string> sweepTableRow(const SweepData& data, const SweepPoint& point) {
    const SweepColumns columns = data.columns();
    const bool computed = point.result.status == VariantStatus::Computed;
    std::vector<std::string> row{std::to_string(point.index)};
    for (double v : point.inputs) row.push_back(storedInput(v));
    row.emplace_back(statusWord(point.result.status));
    for (const ExploreOutput* o : columns.outputs)
        row.push_back(computed ? outputText(o->read(point.result.values)) : std::string());
    if (columns.puffs) row.push_back(computed ? std::to_string(point.result.puffNumber) : std::string());
    row.push_back(errorTexts(point.result.errors));
    return row;
}

std::vector<const SweepPoint*> pointsRun(const SweepData& data) {
    std::vector<const SweepPoint*> run;
    for (const auto& p : data.points)
        if (p) run.push_back(&*p);
    return run;
}

SweepReportTable sweepReportTable(const SweepData& data) {
    SweepReportTable report;
    const SweepColumns columns = data.columns();
    report.table.header = sweepTableHeader(data);
    const auto text = [&report](std::string s) -> std::string_view {
        return report.texts.emplace_back(std::move(s));
    };
    for (const SweepPoint* p : pointsRun(data)) {
        const bool computed = p->result.status == VariantStatus::Computed;
        std::vector<ReportCell> row{static_cast<double>(p->index)};
        for (double v : p->inputs) row.emplace_back(v);
        row.emplace_back(statusWord(p->result.status));
        for (const ExploreOutput* o : columns.outputs)
            row.push_back(computed ? ReportCell(o->read(p->result.values)) : ReportCell(std::string_view()));
        if (columns.puffs)
            row.push_back(computed ? ReportCell(static_cast<double>(p->result.puffNumber))
                                   : ReportCell(std::string_view()));
        row.emplace_back(text(errorTexts(p->result.errors)));
        report.table.rows.push_back(std::move(row));
    }
    return report;
}

std::string sweepCsvText(const SweepData& data) {
    const SweepColumns columns = data.columns();
    std::string csv = sweepCsvHeader(columns);
    for (const SweepPoint* p : pointsRun(data)) csv += sweepCsvRow(columns, *p);
    return csv;
}

}  // namespace veltrano
