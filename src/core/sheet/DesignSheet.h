#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string_view>

#include "core/design/CigaretteDesign.h"
#include "core/design/ErrorMessages.h"
#include "core/design/ModelParameters.h"
#include "core/sheet/RodEstimator.h"
#include "core/sheet/SheetPageTable.h"

namespace veltrano {

// Five pages for the current design, six (with Smoke Yields) for the reference.
int sheetPageCount(bool isReference);

inline constexpr std::string_view kReferenceSheetTitle = "Reference Cigarette Specification Sheet";
inline constexpr std::string_view kCurrentSheetTitle = "Cigarette Design Specification Sheet";

// The design sheet without its window: a private copy of the edited design, the state of every
// page, and the rules that tie them together. The ui shows the pages; this decides what they hold,
// what is stored on OK and what the checks say.
//
// One opening of the sheet may take several showings: OK with a failing check reopens it at the
// failing page. Within a showing a page is loaded from `editCopy` when it is displayed for the first
// time; its texts persist from showing to showing, so another page reading them sees what the page
// last held (empty texts for a page not displayed since the sheet was made).
class DesignSheet {
public:
    // The caller's design is copied (record values only) into `editCopy`; the sheet keeps `mp`.
    DesignSheet(const DesignValues& target, bool isReference, const ModelParameters& mp);

    bool isReference() const { return isReference_; }
    std::string_view title() const { return isReference_ ? kReferenceSheetTitle : kCurrentSheetTitle; }
    int pageCount() const { return sheetPageCount(isReference_); }

    // A page becomes visible: loads it from `editCopy` when it is its first display in this showing
    // (returns true then). The ui shows the page's state afterwards either way.
    bool displayPage(int page);
    bool isDisplayed(int page) const { return displayed_.at(static_cast<std::size_t>(page)); }

    // What OK would store: `editCopy` after every page displayed in this showing has stored into it, in
    // page order. The sheet itself does not change.
    DesignValues storedValues() const;
    // OK: every page displayed in this showing stores into `editCopy`, in page order; the showing
    // ends; then every page is checked in order until one fails. Returns the index of the failing page
    // (whose failures were all reported) or -1 when all pass.
    int confirm(ErrorReporter& reporter);
    // What the sheet holds: after a confirm that returned -1, the values OK hands back.
    const DesignValues& editCopy() const { return editCopy_; }
    const ModelParameters& modelParameters() const { return mp_; }

    TippingPageState& tipping() { return pages_.tipping; }
    PaperPageState& paper() { return pages_.paper; }
    FilterPageState& filter() { return pages_.filter; }
    RodPageState& rod() { return pages_.rod; }
    RegimePageState& regime() { return pages_.regime; }
    YieldsPageState& yields() { return pages_.yields; }
    // The state of page `page` (a SheetPage), whichever page it is.
    PageTexts& pageState(int page) { return sheetPage(page).state(pages_); }

    // Actions that read other pages' texts.
    RodEstimator startRodEstimator() const {
        return RodEstimator(pages_.filter, pages_.paper, pages_.yields);
    }
    void acceptRodEstimate(RodEstimator& estimator) { estimator.accept(pages_.rod); }
    void convertMassToLinear() { YieldsPageRules::massToLinear(pages_.yields, pages_.rod); }
    void convertLinearToMass() { YieldsPageRules::linearToMass(pages_.yields, pages_.rod); }
    void paperDiffusionHelp() { PaperPageRules::diffusionHelp(pages_.paper, mp_); }

private:
    bool isReference_;
    const ModelParameters& mp_;
    DesignValues editCopy_;
    std::array<bool, kSheetPageCount> displayed_{};
    SheetPageStates pages_;
};

// The checks of OK on a design: the pages of a sheet on the reference (six) or on the current design
// (five), in order, until one fails. Returns the index of the failing page, whose failures were all
// reported, or -1 when all pass.
int validateSheet(const DesignValues& design, bool isReference, const ModelParameters& mp,
                  ErrorReporter& reporter);

// Shows the sheet modally with `firstPage` displayed; returns true for OK, false for Cancel or close.
using ShowSheet = std::function<bool(DesignSheet& sheet, int firstPage)>;

// Edits `design` in a sheet: shows it, and on OK stores and checks; a failing check reopens the sheet
// at the failing page. Returns the values the sheet stored when the edit was confirmed, nothing when the
// user cancelled.
std::optional<DesignValues> runSheet(const DesignValues& design, bool isReference, const ModelParameters& mp,
                                     ErrorReporter& reporter, const ShowSheet& show);

}  // namespace veltrano
