#include "render/views/SummaryTables.h"

#include <optional>
#include <string_view>

#include "core/report/SummaryValues.h"
#include "render/views/ValueText.h"

namespace veltrano {

namespace {

// One column of a table: the designs, which column it shows, and where it is drawn. What each cell
// shows comes from the summary's own rules (summaryValue); the placeholders and the paper's few
// differences are the drawing's.
struct Column {
    const DesignSet& designs;
    SummaryColumn column;
    Medium medium;
    bool reference() const { return column == SummaryColumn::Reference; }
    const CigaretteDesign& design() const {
        return reference() ? designs.referenceDesign : designs.currentDesign;
    }
    bool onPaper() const { return medium == Medium::Paper; }
};

using ValueRule = std::string (*)(const Column&);
struct RowRule {
    const char* label;
    const char* unit;
    ValueRule value;
};
struct SectionRules {
    const char* heading;
    std::vector<RowRule> rows;
};

std::vector<SummarySection> build(const std::vector<SectionRules>& sections, const DesignSet& designs,
                                  Medium medium) {
    const Column current{designs, SummaryColumn::Current, medium};
    const Column reference{designs, SummaryColumn::Reference, medium};
    std::vector<SummarySection> result;
    for (const SectionRules& section : sections) {
        SummarySection& out = result.emplace_back(SummarySection{section.heading, {}});
        for (const RowRule& row : section.rows)
            out.rows.push_back({row.label, row.unit, row.value(current), row.value(reference)});
    }
    return result;
}

int type(const Column& c) {
    return c.design().tp_perfotype;
}
const char* paperDashes(const Column& c, const char* screen) {
    return c.onPaper() ? "-.--" : screen;
}
std::string value(double v) {
    return valueText("%.2f", v);
}

std::optional<double> shown(const Column& c, std::string_view field) {
    return summaryValue(c.designs, c.column, field);
}
// The value where the summary shows it, `placeholder` where not (and for a value that is not a number).
std::string shownOr(const Column& c, std::string_view field, const char* placeholder,
                    std::string_view format = "%.2f") {
    const std::optional<double> v = shown(c, field);
    return valueOr(v.has_value(), format, v.value_or(0), placeholder);
}
// A value the summary always shows (dashes for one that is not a number).
std::string always(const Column& c, std::string_view field) {
    return value(*shown(c, field));
}
// The puff averages: the current design's predictions; the reference's cells stay empty.
std::string currentOnly(const Column& c, std::string_view field) {
    const std::optional<double> v = shown(c, field);
    return v ? value(*v) : std::string();
}

const char* perforationName(int type) {
    static const char* const names[] = {"None", "Electro", "Micro", "Macro", "Online"};
    return type >= 0 && type <= 4 ? names[type] : "";
}

const std::vector<SectionRules>& parameterRules() {
    static const std::vector<SectionRules> rules{
        {"Tipping Paper",
         {{"Length", "mm", [](const Column& c) { return shownOr(c, "tp_width", "--.--"); }},
          {"Permeability", "CU",
           [](const Column& c) { return shownOr(c, "tp_perfoperm", paperDashes(c, "---.--")); }},
          {"Permeability Exponent", "", [](const Column& c) { return shownOr(c, "tp_exponent", "-.--"); }},
          {"Position of Perforation", "mm",
           [](const Column& c) { return shownOr(c, "tp_perfopos", "--.--"); }},
          {"Width of Perforation", "mm",
           [](const Column& c) { return shownOr(c, "tp_perfowidth", "--.--"); }},
          {"Type of Perforation", "",
           [](const Column& c) { return std::string(perforationName(type(c))); }}}},
        {"Plug Wrap Paper",
         {{"Permeability", "CU",
           [](const Column& c) { return shownOr(c, "pw_perm", paperDashes(c, "----.--")); }},
          {"Permeability Exponent", "", [](const Column& c) { return shownOr(c, "pw_exponent", "-.--"); }}}},
        {"Cigarette Paper",
         {{"Permeability", "CU", [](const Column& c) { return shownOr(c, "cp_perm", "--.--"); }},
          {"Permeability Exponent", "", [](const Column& c) { return shownOr(c, "cp_exponent", "-.--"); }},
          {"Diffusion Capacity", "cm/s", [](const Column& c) { return shownOr(c, "cp_diff", "-.--"); }},
          {"Paper Weight", "g/m²",
           [](const Column& c) {
               const std::optional<double> filler = shown(c, "cp_filler"), fiber = shown(c, "cp_fiber");
               return valueOr(filler && fiber, "%.2f", filler.value_or(0) + fiber.value_or(0), "--.--");
           }},
          {"Filler Content", "%",
           [](const Column& c) {
               const std::optional<double> filler = shown(c, "cp_filler"), fiber = shown(c, "cp_fiber");
               const double weight = filler.value_or(0) + fiber.value_or(0);
               return valueOr(filler && fiber, "%.2f", 100 * filler.value_or(0) / weight, "--.--");
           }},
          {"Citrate Content", "%", [](const Column& c) { return shownOr(c, "cp_citrate", "-.--"); }},
          {"Band Permeability", "CU", [](const Column& c) { return shownOr(c, "cp_bandperm", "-.--"); }},
          {"Band Diffusion Capacity", "cm/s",
           [](const Column& c) { return shownOr(c, "cp_banddiff", "-.--", "%.3f"); }},
          {"Band Width/Spacing", "mm",
           [](const Column& c) {
               const std::optional<double> width = shown(c, "cp_bandwidth"), space = shown(c, "cp_bandspace");
               return width && space ? joinedValues("%.1f", {*width, *space}, "/", "--.-", 5)
                                     : std::string("--.-/--.-");
           }}}},
        {"Filter",
         {{"Length", "mm", [](const Column& c) { return always(c, "fi_len"); }},
          {"Diameter", "mm", [](const Column& c) { return always(c, "fi_diam"); }},
          {"Pressure Drop", "mm H2O", [](const Column& c) { return always(c, "fi_pd"); }},
          {"Pressure Drop Exponent", "", [](const Column& c) { return shownOr(c, "fi_exponent", "-.--"); }},
          {"Total Titer", "den",
           [](const Column& c) { return shownOr(c, "fi_totden", paperDashes(c, "-----.--")); }},
          {"Filament Titer", "den", [](const Column& c) { return shownOr(c, "fi_fibden", "-.--"); }}}},
        {"Tobacco Rod",
         {{"Length", "mm", [](const Column& c) { return always(c, "ro_len"); }},
          {"Pressure Drop", "mm H2O", [](const Column& c) { return always(c, "ro_pd"); }},
          {"Pressure Drop Exponent", "", [](const Column& c) { return shownOr(c, "ro_exponent", "-.--"); }},
          {"Tobacco Mass", "mg",
           [](const Column& c) {
               // The measured rod's mass, on the rod of the cigarette.
               const std::optional<double> mass = shown(c, "ro_totmass");
               const CigaretteDesign& d = c.design();
               return valueOr(mass.has_value(), "%.2f", mass.value_or(0) * d.ro_len / d.ro_totlen, "---.--");
           }}}},
    };
    return rules;
}

const std::vector<SectionRules>& resultRules() {
    static const std::vector<SectionRules> rules{
        {"Stationary Flow",
         {{"Open Draw Resistance", "mm H2O",
           [](const Column& c) { return shownOr(c, "stat_pdo", "---.--"); }},
          {"Closed Draw Resistance", "mm H2O",
           [](const Column& c) { return shownOr(c, "stat_pdc", "---.--"); }},
          {"Degree of Filter Ventilation", "%",
           [](const Column& c) {
               // On paper an online perforated reference shows its targeted ventilation.
               if (c.reference() && c.onPaper() && type(c) == kOnlineLaser)
                   return value(c.design().tp_onlinevent);
               return shownOr(c, "stat_fivent", "--.--");
           }},
          {"Degree of Rod Ventilation", "%",
           [](const Column& c) { return shownOr(c, "stat_rovent", "--.--"); }},
          {"Degree of Total Ventilation", "%",
           [](const Column& c) {
               // On paper the reference's total needs both ventilations measured.
               const std::optional<double> filter = shown(c, "stat_fivent"), rod = shown(c, "stat_rovent");
               const bool filterMeasured = c.reference() && c.onPaper()
                                               ? c.design().isKnown(KnownBit::FilterVentilation)
                                               : filter.has_value();
               return valueOr(filterMeasured && rod, "%.2f", filter.value_or(0) + rod.value_or(0), "--.--");
           }},
          {"Static Mass Burn rate", "mg/min",
           [](const Column& c) { return shownOr(c, "stat_mbr", "--.--"); }}}},
        {"ISO Smoking Regime",
         {{"Smoking Regime", "", [](const Column&) { return std::string("35/2/60"); }},
          {"Ventilation Blocking", "%", [](const Column&) { return std::string("0.00"); }},
          {"Avg. Open Draw Resistance", "mm H2O", [](const Column& c) { return currentOnly(c, "iso_pdo"); }},
          {"Degree of Filter Ventilation", "%", [](const Column& c) { return currentOnly(c, "iso_fivent"); }},
          {"Degree of Rod Ventilation", "%", [](const Column& c) { return currentOnly(c, "iso_rovent"); }},
          {"Puff Number", "", [](const Column& c) { return shownOr(c, "iso_puff", "-.--"); }},
          {"Dry Particulate Matter (DPM)", "mg/cig",
           [](const Column& c) {
               const std::optional<double> nicotine = shown(c, "iso_nico"), tar = shown(c, "iso_nfdpm");
               return valueOr(nicotine && tar, "%.2f", nicotine.value_or(0) + tar.value_or(0), "-.--");
           }},
          {"Nicotine-free DPM ('tar')", "mg/cig",
           [](const Column& c) { return shownOr(c, "iso_nfdpm", "-.--"); }},
          {"Nicotine", "mg/cig", [](const Column& c) { return shownOr(c, "iso_nico", "-.--"); }},
          {"Carbon Monoxide (CO)", "mg/cig", [](const Column& c) { return shownOr(c, "iso_co", "-.--"); }}}},
        {"Alternative Smoking",
         {{"Smoking Regime", "",
           [](const Column& c) {
               return joinedValues(
                   "%.0f", {*shown(c, "alt_volume"), *shown(c, "alt_duration"), *shown(c, "alt_interval")},
                   "/", "-", 4);
           }},
          {"Ventilation Blocking", "%", [](const Column& c) { return always(c, "alt_blocking"); }},
          {"Avg. Open Draw Resistance", "mm H2O", [](const Column& c) { return currentOnly(c, "alt_pdo"); }},
          {"Degree of Filter Ventilation", "%", [](const Column& c) { return currentOnly(c, "alt_fivent"); }},
          {"Degree of Rod Ventilation", "%", [](const Column& c) { return currentOnly(c, "alt_rovent"); }},
          {"Puff Number", "", [](const Column& c) { return shownOr(c, "alt_puff", "-.--"); }},
          {"Dry Particulate Matter (DPM)", "mg/cig",
           [](const Column& c) {
               const std::optional<double> nicotine = shown(c, "alt_nico"), tar = shown(c, "alt_nfdpm");
               return valueOr(nicotine && tar, "%.2f", nicotine.value_or(0) + tar.value_or(0), "-.--");
           }},
          {"Nicotine-free DPM ('tar')", "mg/cig",
           [](const Column& c) { return shownOr(c, "alt_nfdpm", "-.--"); }},
          {"Nicotine", "mg/cig", [](const Column& c) { return shownOr(c, "alt_nico", "-.--"); }},
          {"Carbon Monoxide (CO)", "mg/cig", [](const Column& c) { return shownOr(c, "alt_co", "-.--"); }}}},
    };
    return rules;
}

}  // namespace

std::vector<SummarySection> parameterSummary(const DesignSet& designs, Medium medium) {
    return build(parameterRules(), designs, medium);
}

std::vector<SummarySection> resultSummary(const DesignSet& designs, Medium medium) {
    return build(resultRules(), designs, medium);
}

}  // namespace veltrano
