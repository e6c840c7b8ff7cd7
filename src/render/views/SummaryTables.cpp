#include "render/views/SummaryTables.h"

#include "render/views/ValueText.h"

namespace veltrano {

namespace {

// One column of a table: the design it shows and what the rules need to know about it.
struct Column {
    const CigaretteDesign& design;
    bool reference;
    const CigaretteDesign& workingReference;
    Medium medium;
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
    const Column current{designs.currentDesign, false, designs.workingReference, medium};
    const Column reference{designs.referenceDesign, true, designs.workingReference, medium};
    std::vector<SummarySection> result;
    for (const SectionRules& section : sections) {
        SummarySection& out = result.emplace_back(SummarySection{section.heading, {}});
        for (const RowRule& row : section.rows)
            out.rows.push_back({row.label, row.unit, row.value(current), row.value(reference)});
    }
    return result;
}

int type(const Column& c) {
    return c.design.tp_perfotype;
}
bool perforated(const Column& c) {
    return type(c) != kNoPerforation;
}
bool plainPerforation(const Column& c) {
    return perforated(c) && type(c) != kOnlineLaser;
}
bool bit(const Column& c, KnownBit b) {
    return c.design.isKnown(b);
}
bool banded(const Column& c) {
    return c.design.cp_lip == 1;
}
const char* paperDashes(const Column& c, const char* screen) {
    return c.onPaper() ? "-.--" : screen;
}
std::string value(double v) {
    return valueText("%.2f", v);
}

const char* perforationName(int type) {
    static const char* const names[] = {"None", "Electro", "Micro", "Macro", "Online"};
    return type >= 0 && type <= 4 ? names[type] : "";
}

const std::vector<SectionRules>& parameterRules() {
    static const std::vector<SectionRules> rules{
        {"Tipping Paper",
         {{"Length", "mm",
           [](const Column& c) {
               return valueOr(bit(c, KnownBit::TippingLength), "%.2f", c.design.tp_width, "--.--");
           }},
          {"Permeability", "CU",
           [](const Column& c) {
               return valueOr(plainPerforation(c), "%.2f", c.design.tp_perfoperm, paperDashes(c, "---.--"));
           }},
          {"Permeability Exponent", "",
           [](const Column& c) {
               return valueOr(plainPerforation(c) && bit(c, KnownBit::TippingExponent), "%.2f",
                              c.design.tp_exponent, "-.--");
           }},
          {"Position of Perforation", "mm",
           [](const Column& c) {
               return valueOr(perforated(c) && bit(c, KnownBit::PerforationPosition), "%.2f",
                              c.design.tp_perfopos, "--.--");
           }},
          {"Width of Perforation", "mm",
           [](const Column& c) {
               return valueOr(plainPerforation(c) && bit(c, KnownBit::PerforationWidth), "%.2f",
                              c.design.tp_perfowidth, "--.--");
           }},
          {"Type of Perforation", "",
           [](const Column& c) { return std::string(perforationName(type(c))); }}}},
        {"Plug Wrap Paper",
         {{"Permeability", "CU",
           [](const Column& c) {
               return valueOr(bit(c, KnownBit::PlugWrapPermeability) && type(c) != kOnlineLaser, "%.2f",
                              c.design.pw_perm, paperDashes(c, "----.--"));
           }},
          {"Permeability Exponent", "",
           [](const Column& c) {
               return valueOr(bit(c, KnownBit::PlugWrapExponent) && type(c) != kOnlineLaser, "%.2f",
                              c.design.pw_exponent, "-.--");
           }}}},
        {"Cigarette Paper",
         {{"Permeability", "CU",
           [](const Column& c) {
               return valueOr(bit(c, KnownBit::PaperPermeability), "%.2f", c.design.cp_perm, "--.--");
           }},
          {"Permeability Exponent", "",
           [](const Column& c) {
               return valueOr(bit(c, KnownBit::PaperExponent), "%.2f", c.design.cp_exponent, "-.--");
           }},
          {"Diffusion Capacity", "cm/s",
           [](const Column& c) {
               return valueOr(bit(c, KnownBit::PaperDiffusion), "%.2f", c.design.cp_diff, "-.--");
           }},
          {"Paper Weight", "g/m²",
           [](const Column& c) {
               return valueOr(bit(c, KnownBit::PaperComposition), "%.2f",
                              c.design.cp_filler + c.design.cp_fiber, "--.--");
           }},
          {"Filler Content", "%",
           [](const Column& c) {
               const double filler = 100 * c.design.cp_filler / (c.design.cp_filler + c.design.cp_fiber);
               return valueOr(bit(c, KnownBit::PaperComposition), "%.2f", filler, "--.--");
           }},
          {"Citrate Content", "%",
           [](const Column& c) {
               return valueOr(bit(c, KnownBit::PaperCitrate), "%.2f", c.design.cp_citrate, "-.--");
           }},
          {"Band Permeability", "CU",
           [](const Column& c) { return valueOr(banded(c), "%.2f", c.design.cp_bandperm, "-.--"); }},
          {"Band Diffusion Capacity", "cm/s",
           [](const Column& c) { return valueOr(banded(c), "%.3f", c.design.cp_banddiff, "-.--"); }},
          {"Band Width/Spacing", "mm",
           [](const Column& c) {
               return banded(c) ? joinedValues("%.1f", {c.design.cp_bandwidth, c.design.cp_bandspace}, "/",
                                               "--.-", 5)
                                : std::string("--.-/--.-");
           }}}},
        {"Filter",
         {{"Length", "mm", [](const Column& c) { return value(c.design.fi_len); }},
          {"Diameter", "mm", [](const Column& c) { return value(c.design.fi_diam); }},
          {"Pressure Drop", "mm H2O",
           [](const Column& c) { return value(c.reference ? c.workingReference.fi_pd : c.design.fi_pd); }},
          {"Pressure Drop Exponent", "",
           [](const Column& c) {
               return valueOr(bit(c, KnownBit::FilterExponent), "%.2f", c.design.fi_exponent, "-.--");
           }},
          {"Total Titer", "den",
           [](const Column& c) {
               return valueOr(bit(c, KnownBit::FilterTotalDenier), "%.2f", c.design.fi_totden,
                              paperDashes(c, "-----.--"));
           }},
          {"Filament Titer", "den",
           [](const Column& c) {
               return valueOr(bit(c, KnownBit::FilterFibreDenier), "%.2f", c.design.fi_fibden, "-.--");
           }}}},
        {"Tobacco Rod",
         {{"Length", "mm", [](const Column& c) { return value(c.design.ro_len); }},
          {"Pressure Drop", "mm H2O",
           [](const Column& c) {
               const CigaretteDesign& d = c.design;
               return value(c.reference ? d.ro_totpd * d.ro_len / d.ro_totlen : d.ro_pd);
           }},
          {"Pressure Drop Exponent", "",
           [](const Column& c) {
               return valueOr(bit(c, KnownBit::RodExponent), "%.2f", c.design.ro_exponent, "-.--");
           }},
          {"Tobacco Mass", "mg",
           [](const Column& c) {
               const CigaretteDesign& d = c.design;
               return valueOr(bit(c, KnownBit::TobaccoMass), "%.2f", d.ro_totmass * d.ro_len / d.ro_totlen,
                              "---.--");
           }}}},
    };
    return rules;
}

// A measured value of the reference, a prediction of the current design.
std::string measured(const Column& c, KnownBit b, double v, const char* placeholder) {
    return c.reference ? valueOr(bit(c, b), "%.2f", v, placeholder) : value(v);
}

// Alternative yields: the current design's follow its ISO bits, the reference's its own measured
// alternative bits (each four bits above its ISO twin).
bool alternativeYieldKnown(const Column& c, KnownBit isoBit) {
    return bit(c, c.reference ? static_cast<KnownBit>(static_cast<int>(isoBit) + 4) : isoBit);
}

std::string currentOnly(const Column& c, double v) {
    return c.reference ? std::string() : value(v);
}

const std::vector<SectionRules>& resultRules() {
    static const std::vector<SectionRules> rules{
        {"Stationary Flow",
         {{"Open Draw Resistance", "mm H2O",
           [](const Column& c) {
               return measured(c, KnownBit::OpenDrawResistance, c.design.stat_pdo, "---.--");
           }},
          {"Closed Draw Resistance", "mm H2O",
           [](const Column& c) {
               return measured(c, KnownBit::ClosedDrawResistance, c.design.stat_pdc, "---.--");
           }},
          {"Degree of Filter Ventilation", "%",
           [](const Column& c) {
               const CigaretteDesign& d = c.design;
               if (!c.reference) return value(d.stat_fivent);
               const bool online = type(c) == kOnlineLaser;
               if (c.onPaper() && online) return value(d.tp_onlinevent);
               return valueOr(bit(c, KnownBit::FilterVentilation) || (online && !c.onPaper()), "%.2f",
                              d.stat_fivent, "--.--");
           }},
          {"Degree of Rod Ventilation", "%",
           [](const Column& c) {
               return measured(c, KnownBit::RodVentilation, c.design.stat_rovent, "--.--");
           }},
          {"Degree of Total Ventilation", "%",
           [](const Column& c) {
               const CigaretteDesign& d = c.design;
               const bool filterKnown =
                   bit(c, KnownBit::FilterVentilation) || (type(c) == kOnlineLaser && !c.onPaper());
               const bool shown = !c.reference || (bit(c, KnownBit::RodVentilation) && filterKnown);
               return valueOr(shown, "%.2f", d.stat_fivent + d.stat_rovent, "--.--");
           }},
          {"Static Mass Burn rate", "mg/min",
           [](const Column& c) {
               return valueOr(bit(c, KnownBit::StaticBurnRate), "%.2f", c.design.stat_mbr, "--.--");
           }}}},
        {"ISO Smoking Regime",
         {{"Smoking Regime", "", [](const Column&) { return std::string("35/2/60"); }},
          {"Ventilation Blocking", "%", [](const Column&) { return std::string("0.00"); }},
          {"Avg. Open Draw Resistance", "mm H2O",
           [](const Column& c) { return currentOnly(c, c.design.iso_pdo); }},
          {"Degree of Filter Ventilation", "%",
           [](const Column& c) { return currentOnly(c, c.design.iso_fivent); }},
          {"Degree of Rod Ventilation", "%",
           [](const Column& c) { return currentOnly(c, c.design.iso_rovent); }},
          {"Puff Number", "",
           [](const Column& c) {
               return valueOr(bit(c, KnownBit::IsoPuffNumber), "%.2f", c.design.iso_puff, "-.--");
           }},
          {"Dry Particulate Matter (DPM)", "mg/cig",
           [](const Column& c) {
               return valueOr(bit(c, KnownBit::IsoNicotine) && bit(c, KnownBit::IsoTar), "%.2f",
                              c.design.iso_nico + c.design.iso_nfdpm, "-.--");
           }},
          {"Nicotine-free DPM ('tar')", "mg/cig",
           [](const Column& c) {
               return valueOr(bit(c, KnownBit::IsoTar), "%.2f", c.design.iso_nfdpm, "-.--");
           }},
          {"Nicotine", "mg/cig",
           [](const Column& c) {
               return valueOr(bit(c, KnownBit::IsoNicotine), "%.2f", c.design.iso_nico, "-.--");
           }},
          {"Carbon Monoxide (CO)", "mg/cig",
           [](const Column& c) {
               return valueOr(bit(c, KnownBit::IsoCo), "%.2f", c.design.iso_co, "-.--");
           }}}},
        {"Alternative Smoking",
         {{"Smoking Regime", "",
           [](const Column& c) {
               return joinedValues(
                   "%.0f", {c.design.alt_volume, c.design.alt_duration, c.design.alt_interval}, "/", "-", 4);
           }},
          {"Ventilation Blocking", "%", [](const Column& c) { return value(c.design.alt_blocking); }},
          {"Avg. Open Draw Resistance", "mm H2O",
           [](const Column& c) { return currentOnly(c, c.design.alt_pdo); }},
          {"Degree of Filter Ventilation", "%",
           [](const Column& c) { return currentOnly(c, c.design.alt_fivent); }},
          {"Degree of Rod Ventilation", "%",
           [](const Column& c) { return currentOnly(c, c.design.alt_rovent); }},
          {"Puff Number", "",
           [](const Column& c) {
               return valueOr(alternativeYieldKnown(c, KnownBit::IsoPuffNumber), "%.2f", c.design.alt_puff,
                              "-.--");
           }},
          {"Dry Particulate Matter (DPM)", "mg/cig",
           [](const Column& c) {
               const bool known = alternativeYieldKnown(c, KnownBit::IsoNicotine) &&
                                  alternativeYieldKnown(c, KnownBit::IsoTar);
               return valueOr(known, "%.2f", c.design.alt_nico + c.design.alt_nfdpm, "-.--");
           }},
          {"Nicotine-free DPM ('tar')", "mg/cig",
           [](const Column& c) {
               return valueOr(alternativeYieldKnown(c, KnownBit::IsoTar), "%.2f", c.design.alt_nfdpm, "-.--");
           }},
          {"Nicotine", "mg/cig",
           [](const Column& c) {
               return valueOr(alternativeYieldKnown(c, KnownBit::IsoNicotine), "%.2f", c.design.alt_nico,
                              "-.--");
           }},
          {"Carbon Monoxide (CO)", "mg/cig",
           [](const Column& c) {
               return valueOr(alternativeYieldKnown(c, KnownBit::IsoCo), "%.2f", c.design.alt_co, "-.--");
           }}}},
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
