#include "core/sheet/DesignSheet.h"

namespace veltrano {

DesignSheet::DesignSheet(const DesignValues& target, bool isReference, const ModelParameters& mp)
    : isReference_(isReference), mp_(mp), editCopy_(target) {}

int sheetPageCount(bool isReference) {
    int count = 0;
    for (const SheetPageDescriptor& page : kSheetPages)
        if (isReference || !page.referenceOnly) ++count;
    return count;
}

bool DesignSheet::displayPage(int page) {
    if (page < 0 || page >= pageCount() || displayed_[static_cast<std::size_t>(page)]) return false;
    displayed_[static_cast<std::size_t>(page)] = true;
    const SheetPageDescriptor& descriptor = sheetPage(page);
    descriptor.load(pages_, editCopy_);
    // OK stores what was edited since (and what is not known); the rest keeps the copy's values exactly.
    descriptor.state(pages_).rememberLoaded();
    return true;
}

DesignValues DesignSheet::storedValues() const {
    DesignValues stored = editCopy_;
    for (int page = 0; page < pageCount(); ++page)
        if (displayed_[static_cast<std::size_t>(page)]) sheetPage(page).store(pages_, stored);
    return stored;
}

int DesignSheet::confirm(ErrorReporter& reporter) {
    editCopy_ = storedValues();
    displayed_.fill(false);
    return validateSheet(editCopy_, isReference_, mp_, reporter);
}

int validateSheet(const DesignValues& design, bool isReference, const ModelParameters& mp,
                  ErrorReporter& reporter) {
    for (int page = 0; page < sheetPageCount(isReference); ++page)
        if (!sheetPage(page).validate(design, mp, reporter)) return page;
    return -1;
}

std::optional<DesignValues> runSheet(const DesignValues& design, bool isReference, const ModelParameters& mp,
                                     ErrorReporter& reporter, const ShowSheet& show) {
    DesignSheet sheet(design, isReference, mp);
    int firstPage = kTippingPage;
    for (;;) {
        sheet.displayPage(firstPage);
        if (!show(sheet, firstPage)) return std::nullopt;
        firstPage = sheet.confirm(reporter);
        if (firstPage < 0) break;
    }
    return sheet.editCopy();
}

}  // namespace veltrano
