#include "core/sheet/PageFields.h"

#include <algorithm>

#include "core/design/NumberText.h"

namespace veltrano {

namespace {

void setBit(std::uint32_t& boxes, KnownBit bit, bool checked) {
    if (checked)
        boxes |= known::bit(bit);
    else
        boxes &= ~known::bit(bit);
}

}  // namespace

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

bool storesText(const PageTexts& page, std::span<const FieldSpec> fields, int field) {
    const auto i = static_cast<std::size_t>(field);
    if (!page.loaded) return true;
    if (const KnownBit bit = fields[i].knownBit; bit != KnownBit::None) {
        // Not known now (the empty text stores 0), or not known when loaded (the field was empty).
        const std::uint32_t mask = known::bit(bit);
        if ((page.boxes & mask) == 0 || (page.loaded->boxes & mask) == 0) return true;
    }
    return page.texts.at(i) != page.loaded->texts.at(i);
}

void setKnownBox(std::span<std::string> texts, std::uint32_t& boxes, std::span<const FieldSpec> fields,
                 KnownBit bit, bool checked) {
    if (bit == KnownBit::None) return;
    setBit(boxes, bit, checked);
    if (checked) return;
    for (std::size_t i = 0; i < fields.size() && i < texts.size(); ++i)
        if (fields[i].knownBit == bit) texts[i].clear();
}

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

void storeValues(const PageTexts& page, std::span<const FieldSpec> fields, DesignValues& design,
                 std::span<const int> alsoStore) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const int field = static_cast<int>(i);
        if (!fields[i].member) continue;
        if (storesText(page, fields, field) || std::ranges::find(alsoStore, field) != alsoStore.end())
            design.*fields[i].member = readNumber(page.texts[i]);
    }
}

void load(PageTexts& page, std::span<const FieldSpec> fields, const DesignValues& design) {
    loadBoxes(page, fields, design);
    loadValues(page, fields, design);
}

void store(const PageTexts& page, std::span<const FieldSpec> fields, DesignValues& design,
           std::span<const int> alsoStore) {
    storeBoxes(page, fields, design);
    storeValues(page, fields, design, alsoStore);
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
