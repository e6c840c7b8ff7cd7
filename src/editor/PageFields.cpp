#include "editor/PageFields.h"

#include "design/NumberText.h"

namespace veltrano {

void PageTexts::setBox(KnownBit bit, bool checked) {
    if (checked)
        boxes |= known::bit(bit);
    else
        boxes &= ~known::bit(bit);
}

double PageTexts::value(int field) const {
    return readNumber(texts.at(static_cast<std::size_t>(field)));
}

std::uint32_t boxMask(std::span<const FieldSpec> fields) {
    std::uint32_t mask = 0;
    for (const FieldSpec& f : fields)
        if (f.ownBox) mask |= known::bit(f.knownBit);
    return mask;
}

namespace page {

void loadBoxes(PageTexts& page, std::span<const FieldSpec> fields, const DesignValues& design) {
    page.boxes = design.known & boxMask(fields);
}

void loadValues(PageTexts& page, std::span<const FieldSpec> fields, const DesignValues& design) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const FieldSpec& f = fields[i];
        if (!f.member) continue;
        const bool shown = f.knownBit == KnownBit::None || design.isKnown(f.knownBit);
        page.texts[i] = shown ? formatNumber(f.format, design.*f.member) : std::string();
    }
}

void storeBoxes(const PageTexts& page, std::span<const FieldSpec> fields, DesignValues& design) {
    const std::uint32_t mask = boxMask(fields);
    design.known = (design.known & ~mask) | (page.boxes & mask);
}

void storeValues(const PageTexts& page, std::span<const FieldSpec> fields, DesignValues& design) {
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (fields[i].member) design.*fields[i].member = readNumber(page.texts[i]);
}

void load(PageTexts& page, std::span<const FieldSpec> fields, const DesignValues& design) {
    loadBoxes(page, fields, design);
    loadValues(page, fields, design);
}

void store(const PageTexts& page, std::span<const FieldSpec> fields, DesignValues& design) {
    storeBoxes(page, fields, design);
    storeValues(page, fields, design);
}

PageEnabling enablingByBoxes(const PageTexts& page, std::span<const FieldSpec> fields,
                             std::span<const HelpSpec> helps) {
    PageEnabling e;
    for (const FieldSpec& f : fields) e.field.push_back(f.knownBit == KnownBit::None || page.box(f.knownBit));
    enableHelpsByFields(e, helps);
    return e;
}

void enableHelpsByFields(PageEnabling& enabling, std::span<const HelpSpec> helps) {
    enabling.help.clear();
    for (const HelpSpec& h : helps)
        enabling.help.push_back(enabling.field[static_cast<std::size_t>(h.field)]);
}

}  // namespace page

void RuleCheck::require(bool holds, ErrorNumber error) {
    if (holds) return;
    passed_ = false;
    ReportError(reporter_, error);
}

}  // namespace veltrano
