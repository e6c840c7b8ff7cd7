#include "render/views/PuffTable.h"

#include <algorithm>

#include "render/views/ValueText.h"

namespace veltrano {

int puffCount(const CigaretteDesign& d) {
    std::size_t n = static_cast<std::size_t>(std::max(d.puff_number, 0));
    n = std::min(n, d.puff_size.size());
    for (const auto* values :
         {&d.puff_fivent, &d.puff_rovent, &d.puff_avgpd, &d.puff_nfdpm, &d.puff_nico, &d.puff_co})
        n = std::min(n, values->size());
    return static_cast<int>(n);
}

bool puffTableFilled(const CigaretteDesign& d, bool puffByPuffValid) {
    return puffCount(d) > 0 && d.isKnown(KnownBit::IsoPuffNumber) && puffByPuffValid;
}

std::vector<int> puffTableColumns(int puffs, int columns) {
    std::vector<int> shown;
    if (puffs <= columns) {
        for (int i = 0; i < puffs; ++i) shown.push_back(i);
        return shown;
    }
    constexpr int leading = 5;
    for (int i = 0; i < leading; ++i) shown.push_back(i);
    shown.push_back(kDotsColumn);
    const int trailing = columns - leading - 1;
    for (int i = puffs - trailing; i < puffs; ++i) shown.push_back(i);
    return shown;
}

const std::array<PuffTableRow, kPuffTableRows>& puffTableRows(Medium medium) {
    static const std::array<PuffTableRow, kPuffTableRows> screen{{{"Avg. Open Draw Resistance", "mm H2O"},
                                                                  {"Degree of Filter Ventilation", "%"},
                                                                  {"Degree of Rod Ventilation", "%"},
                                                                  {"Puff", ""},
                                                                  {"Nicotine-free DPM ('Tar')", "mg"},
                                                                  {"Nicotine", "mg"},
                                                                  {"CO", "mg"}}};
    static const std::array<PuffTableRow, kPuffTableRows> paper = [] {
        auto rows = screen;
        rows[4].label = "Nicotine-free DPM ('tar')";
        return rows;
    }();
    return medium == Medium::Screen ? screen : paper;
}

std::string puffCellText(const CigaretteDesign& d, int row, int puff) {
    const auto i = static_cast<std::size_t>(puff);
    switch (row) {
        case 0:
            return valueText("%.2f", d.puff_avgpd[i]);
        case 1:
            return valueText("%.2f", d.puff_fivent[i]);
        case 2:
            return valueText("%.2f", d.puff_rovent[i]);
        case 3:
            return valueText("%.2f", d.puff_size[i] / 10.0);
        case 4:
            return valueOr(d.isKnown(KnownBit::IsoTar), "%.2f", d.puff_nfdpm[i], "-.--");
        case 5:
            return valueOr(d.isKnown(KnownBit::IsoNicotine), "%.2f", d.puff_nico[i], "-.--");
        case 6:
            return valueOr(d.isKnown(KnownBit::IsoCo), "%.2f", d.puff_co[i], "-.--");
        default:
            return {};
    }
}

}  // namespace veltrano
