#include "editor/DesignSheet.h"

namespace veltrano {

DesignSheet::DesignSheet(const DesignValues& target, bool isReference, const ModelParameters& mp)
    : isReference_(isReference), mp_(mp), editCopy_(ArrayMode::WithArrays) {
    editCopy_.assign(target);
}

bool DesignSheet::displayPage(int page) {
    if (page < 0 || page >= pageCount() || displayed_[static_cast<std::size_t>(page)]) return false;
    displayed_[static_cast<std::size_t>(page)] = true;
    loadPage(page);
    return true;
}

int DesignSheet::confirm(ErrorReporter& reporter) {
    for (int page = 0; page < pageCount(); ++page)
        if (displayed_[static_cast<std::size_t>(page)]) storePage(page);
    displayed_.fill(false);
    for (int page = 0; page < pageCount(); ++page)
        if (!validatePage(page, reporter)) return page;
    return -1;
}

void DesignSheet::loadPage(int page) {
    switch (page) {
        case kTippingPage:
            return TippingPageRules::loadPage(tipping_, editCopy_);
        case kPaperPage:
            return PaperPageRules::loadPage(paper_, editCopy_);
        case kFilterPage:
            return FilterPageRules::loadPage(filter_, editCopy_);
        case kRodPage:
            return RodPageRules::loadPage(rod_, editCopy_);
        case kRegimePage:
            return RegimePageRules::loadPage(regime_, editCopy_);
        case kYieldsPage:
            return YieldsPageRules::loadPage(yields_, editCopy_, rod_);
    }
}

void DesignSheet::storePage(int page) {
    switch (page) {
        case kTippingPage:
            return TippingPageRules::storePage(tipping_, editCopy_);
        case kPaperPage:
            return PaperPageRules::storePage(paper_, editCopy_);
        case kFilterPage:
            return FilterPageRules::storePage(filter_, editCopy_);
        case kRodPage:
            return RodPageRules::storePage(rod_, editCopy_);
        case kRegimePage:
            return RegimePageRules::storePage(regime_, editCopy_);
        case kYieldsPage:
            return YieldsPageRules::storePage(yields_, editCopy_);
    }
}

bool DesignSheet::validatePage(int page, ErrorReporter& reporter) const {
    switch (page) {
        case kTippingPage:
            return TippingPageRules::validatePage(editCopy_, reporter);
        case kPaperPage:
            return PaperPageRules::validatePage(editCopy_, reporter);
        case kFilterPage:
            return FilterPageRules::validatePage(editCopy_, reporter);
        case kRodPage:
            return RodPageRules::validatePage(editCopy_, reporter);
        case kRegimePage:
            return RegimePageRules::validatePage(editCopy_, reporter);
        case kYieldsPage:
            return YieldsPageRules::validatePage(editCopy_, mp_, reporter);
    }
    return true;
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
