#include "render/charts/PointInfo.h"

#include "core/design/ErrorMessages.h"
#include "render/charts/ExploreText.h"
#include "render/resources/Palette.h"

namespace veltrano {

std::vector<InfoLine> pointInfoLines(const SweepData& data, int index, bool coloured) {
    std::vector<InfoLine> lines;
    const SweepPoint* point = data.point(index);
    if (!point) return lines;
    const SweepColumns columns = data.columns();
    for (std::size_t k = 0; k < columns.inputs.size() && k < point->inputs.size(); ++k) {
        const ExploreField& f = *columns.inputs[k];
        std::string text = fieldTitle(f) + " = " + storedInput(point->inputs[k]);
        if (!f.unit().empty()) text += " " + std::string(f.unit());
        lines.push_back({text, palette::black});
    }
    const VariantResult& r = point->result;
    if (r.status == VariantStatus::Refused) {
        lines.push_back({"Refused by the sheet's rules:", palette::black});
    } else {
        for (std::size_t k = 0; k < columns.outputs.size(); ++k) {
            const ExploreOutput& o = *columns.outputs[k];
            std::string text = std::string(o.label) + ": " + outputText(o.read(r.values));
            if (!o.unit.empty()) text += " " + std::string(o.unit);
            lines.push_back({text, coloured ? seriesPen(static_cast<int>(k)).color() : palette::textGrey});
        }
        if (columns.puffs)
            lines.push_back({"Puffs analysed: " + std::to_string(r.puffNumber), palette::textGrey});
    }
    for (int n : r.errors)
        lines.push_back({errorMessage(n).value_or("Error " + std::to_string(n)), palette::textGrey});
    return lines;
}

}  // namespace veltrano
