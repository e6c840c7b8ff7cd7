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

DesignValues DesignSheet::storedValues() const {
    DesignValues stored = editCopy_;
    for (int page = 0; page < pageCount(); ++page)
        if (displayed_[static_cast<std::size_t>(page)]) storePage(page, stored);
    return stored;
}

int DesignSheet::confirm(ErrorReporter& reporter) {
    editCopy_.assign(storedValues());
    displayed_.fill(false);
    return validateSheet(editCopy_, isReference_, mp_, reporter);
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

void DesignSheet::storePage(int page, DesignValues& target) const {
    switch (page) {
        case kTippingPage:
            return TippingPageRules::storePage(tipping_, target);
        case kPaperPage:
            return PaperPageRules::storePage(paper_, target);
        case kFilterPage:
            return FilterPageRules::storePage(filter_, target);
        case kRodPage:
            return RodPageRules::storePage(rod_, target);
        case kRegimePage:
            return RegimePageRules::storePage(regime_, target);
        case kYieldsPage:
            return YieldsPageRules::storePage(yields_, target);
    }
}

namespace {

bool validatePage(int page, const DesignValues& design, const ModelParameters& mp, ErrorReporter& reporter) {
    switch (page) {
        case kTippingPage:
            return TippingPageRules::validatePage(design, reporter);
        case kPaperPage:
            return PaperPageRules::validatePage(design, reporter);
        case kFilterPage:
            return FilterPageRules::validatePage(design, reporter);
        case kRodPage:
            return RodPageRules::validatePage(design, reporter);
        case kRegimePage:
            return RegimePageRules::validatePage(design, reporter);
        case kYieldsPage:
            return YieldsPageRules::validatePage(design, mp, reporter);
    }
    return true;
}

}  // namespace

int validateSheet(const DesignValues& design, bool isReference, const ModelParameters& mp,
                  ErrorReporter& reporter) {
    for (int page = 0; page < sheetPageCount(isReference); ++page)
        if (!validatePage(page, design, mp, reporter)) return page;
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
