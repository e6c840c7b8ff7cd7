#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "AwkwardDesigns.h"
#include "RichReference.h"

#include "core/design/DesignFields.h"
#include "core/design/NumberText.h"
#include "core/sheet/DesignSheet.h"

namespace veltrano {
namespace {

using testing::awkwardDesign;
using testing::onlineDesign;
using testing::richReference;

// What OK stores for a value the field shows in `format`: the value rounded to the shown text.
double asShown(const char* format, double value) {
    return readNumber(formatNumber(format, value));
}

TEST(UneditedFields, OkKeepsTheDesignExactlyWhicheverPagesWereDisplayed) {
    const ModelParameters mp;
    const struct {
        const char* name;
        std::function<CigaretteDesign()> make;
    } designs[] = {
        {"default", [] { return CigaretteDesign(); }},
        {"rich reference", richReference},
        {"awkward values", awkwardDesign},
        {"online perforation", onlineDesign},
    };
    for (const auto& design : designs) {
        const DesignImage before = encodeDesignImage(design.make());
        for (bool isReference : {true, false}) {
            const int pages = isReference ? kSheetPageCount : kSheetPageCount - 1;
            // Every choice of displayed pages, none and all included.
            for (unsigned shown = 0; shown < (1u << pages); ++shown) {
                SCOPED_TRACE(std::string(design.name) + (isReference ? ", reference" : ", current design") +
                             ", pages shown " + std::to_string(shown));
                CigaretteDesign target = design.make();
                DesignSheet sheet(target, isReference, mp);
                for (int page = 0; page < pages; ++page)
                    if (shown & (1u << page)) sheet.displayPage(page);
                RecordingErrorReporter reporter;
                ASSERT_EQ(sheet.confirm(reporter), -1);
                target.assign(sheet.editCopy());
                EXPECT_EQ(encodeDesignImage(target), before);
            }
        }
    }
}

TEST(UneditedFields, AnEditStoresWhatWasEditedAndNothingElse) {
    const ModelParameters mp;
    const struct {
        const char* what;
        std::function<void(DesignSheet&)> edit;
        std::function<void(DesignValues&)> stored;  // the change it makes to the design
    } cases[] = {
        {"a typed length", [](DesignSheet& s) { s.tipping().texts[kTippingLength] = "31.5"; },
         [](DesignValues& d) { d.tp_width = 31.5; }},
        {"the shown text typed again", [](DesignSheet& s) { s.tipping().texts[kTippingLength] = "31.24"; },
         [](DesignValues&) {}},
        // Either text of the pair stores both parts, from both texts.
        {"a typed filler content", [](DesignSheet& s) { s.paper().texts[kFillerContent] = "30"; },
         [](DesignValues& d) {
             d.cp_filler = 30.0 * 27.0 / 100;
             d.cp_fiber = 27.0 - d.cp_filler;
         }},
        {"a typed basis weight", [](DesignSheet& s) { s.paper().texts[kBasisWeight] = "28"; },
         [](DesignValues& d) {
             d.cp_filler = 29.63 * 28.0 / 100;
             d.cp_fiber = 28.0 - d.cp_filler;
         }},
        // Another perforation type stores the whole page as entered.
        {"another perforation type", [](DesignSheet& s) { s.tipping().perforationType = kMicroLaser; },
         [](DesignValues& d) {
             d.tp_perfotype = kMicroLaser;
             d.tp_perfoperm = asShown("%.0f", d.tp_perfoperm);
             d.tp_exponent = asShown("%.2f", d.tp_exponent);
             d.tp_perfopos = asShown("%.2f", d.tp_perfopos);
             d.tp_perfowidth = asShown("%.2f", d.tp_perfowidth);
             d.tp_perfotrack = 3;
             d.pw_perm = asShown("%.0f", d.pw_perm);
             d.pw_exponent = asShown("%.2f", d.pw_exponent);
         }},
        // Plain paper shows no bands: the band fields store as entered.
        {"banded paper made plain", [](DesignSheet& s) { s.paper().lowIgnitionPropensity = false; },
         [](DesignValues& d) {
             d.cp_lip = 0;
             d.cp_bandwidth = asShown("%.2f", d.cp_bandwidth);
             d.cp_bandspace = asShown("%.2f", d.cp_bandspace);
             d.cp_bandperm = asShown("%.1f", d.cp_bandperm);
             d.cp_banddiff = asShown("%.3f", d.cp_banddiff);
         }},
        // A box cleared and checked again has an empty field, which stores 0 (and fails its check).
        {"a box cleared and checked again",
         [](DesignSheet& s) {
             RodPageState& rod = s.rod();
             page::setKnownBox(rod.texts, rod.boxes, RodPageRules::fields(), KnownBit::TobaccoMass, false);
             page::setKnownBox(rod.texts, rod.boxes, RodPageRules::fields(), KnownBit::TobaccoMass, true);
         },
         [](DesignValues& d) { d.ro_totmass = 0; }},
        {"another puff shape",
         [](DesignSheet& s) { RegimePageRules::selectShape(s.regime(), BuiltInShape::Ramp); },
         [](DesignValues& d) { storePuffShape(builtInShape(BuiltInShape::Ramp), d); }},
    };
    for (const auto& c : cases) {
        DesignSheet sheet(awkwardDesign(), true, mp);
        for (int page = 0; page < sheet.pageCount(); ++page) sheet.displayPage(page);
        c.edit(sheet);
        RecordingErrorReporter reporter;
        sheet.confirm(reporter);
        CigaretteDesign expected = awkwardDesign(), stored(ArrayMode::NoArrays);
        c.stored(expected);
        stored.assign(sheet.editCopy());
        EXPECT_EQ(encodeDesignImage(stored), encodeDesignImage(expected)) << c.what;
    }
}

}  // namespace
}  // namespace veltrano
