#include "core/explore/SweepTable.h"

#include "core/design/ErrorMessages.h"
#include "core/design/NumberText.h"
#include "core/report/TableText.h"

namespace veltrano {

namespace {

// "name [unit]"; a count or ratio without a unit is "[-]", as in the export tables.
std::string withUnit(std::string_view name, std::string_view unit) {
    return std::string(name) + " [" + std::string(unit.empty() ? "-" : unit) + "]";
}

template <class T>
std::string numberList(const std::vector<T>& values) {
    std::string list;
    for (const T& v : values) {
        if (!list.empty()) list += ' ';
        list += fullPrecisionText(static_cast<double>(v));
    }
    return list;
}

std::string csvLine(const std::vector<std::string>& fields) {
    std::string line;
    for (const std::string& f : fields) {
        if (!line.empty()) line += ',';
        line += csvField(f);
    }
    return line + "\r\n";
}

}  // namespace

SweepColumns sweepColumns(const SweepGrid& grid, std::vector<const ExploreOutput*> outputs, bool puffs) {
    SweepColumns columns{{grid.first.field}, std::move(outputs), puffs};
    if (grid.second) columns.inputs.push_back(grid.second->field);
    return columns;
}

std::string_view statusWord(VariantStatus status) {
    return status == VariantStatus::Computed ? "ok" : "refused";
}

std::string errorTexts(const std::vector<int>& errors) {
    std::string texts;
    for (int n : errors) {
        if (!texts.empty()) texts += ' ';
        texts += errorMessage(n).value_or("");
    }
    return texts;
}

const std::vector<PuffColumn>& puffColumns() {
    static const std::vector<PuffColumn> columns{
        {"puff_size", "1/10"}, {"puff_pos", "mm"},   {"puff_mass", "mg"},
        {"puff_fivent", "%"},  {"puff_rovent", "%"}, {"puff_avgpd", "mm H2O"},
        {"puff_nfdpm", "mg"},  {"puff_nico", "mg"},  {"puff_co", "mg"}};
    return columns;
}

std::string sweepCsvHeader(const SweepColumns& columns) {
    std::vector<std::string> fields{"point"};
    for (const ExploreField* f : columns.inputs) fields.push_back(withUnit(f->name(), f->unit()));
    fields.emplace_back("status");
    for (const ExploreOutput* o : columns.outputs) fields.push_back(withUnit(o->name, o->unit));
    if (columns.puffs) {
        fields.emplace_back("puff_number");
        for (const PuffColumn& c : puffColumns()) fields.push_back(withUnit(c.name, c.unit));
    }
    fields.emplace_back("errors");
    fields.emplace_back("messages");
    return csvLine(fields);
}

std::string sweepCsvRow(const SweepColumns& columns, const SweepPoint& point) {
    const VariantResult& r = point.result;
    const bool computed = r.status == VariantStatus::Computed;
    std::vector<std::string> fields{std::to_string(point.index)};
    for (double v : point.inputs) fields.push_back(fullPrecisionText(v));
    fields.emplace_back(statusWord(r.status));
    for (const ExploreOutput* o : columns.outputs)
        fields.push_back(computed ? fullPrecisionText(o->read(r.values)) : "");
    if (columns.puffs) {
        fields.push_back(computed ? std::to_string(r.puffNumber) : "");
        fields.push_back(numberList(r.puffSize));
        // A refused point has no lists; their fields stay empty.
        for (std::size_t k = 0; k < puffArrays().size(); ++k)
            fields.push_back(k < r.puffSeries.size() ? numberList(r.puffSeries[k]) : "");
    }
    fields.push_back(numberList(r.errors));
    fields.push_back(errorTexts(r.errors));
    return csvLine(fields);
}

}  // namespace veltrano
