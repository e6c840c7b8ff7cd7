#include "editor/DesignSheet.h"

namespace veltrano {

DesignSheet::DesignSheet(const DesignValues& target, bool isReference, const ModelParameters& mp)
    : isReference_(isReference), mp_(mp), editCopy_(ArrayMode::WithArrays) {
    editCopy_.assign(target);
}

int DesignSheet::pageCount() const {
    int count = 0;
    for (const SheetPageDescriptor& page : kSheetPages)
        if (isReference_ || !page.referenceOnly) ++count;
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

int DesignSheet::confirm(ErrorReporter& reporter) {
    for (int page = 0; page < pageCount(); ++page)
        if (displayed_[static_cast<std::size_t>(page)]) sheetPage(page).store(pages_, editCopy_);
    displayed_.fill(false);
    for (int page = 0; page < pageCount(); ++page)
        if (!sheetPage(page).validate(editCopy_, mp_, reporter)) return page;
    return -1;
}

bool runSheet(CigaretteDesign& target, bool isReference, const ModelParameters& mp, ErrorReporter& reporter,
              const ShowSheet& show) {
    DesignSheet sheet(target, isReference, mp);
    int firstPage = kTippingPage;
    for (;;) {
        sheet.displayPage(firstPage);
        if (!show(sheet, firstPage)) return false;
        firstPage = sheet.confirm(reporter);
        if (firstPage < 0) break;
    }
    sheet.apply(target);
    return true;
}

}  // namespace veltrano
