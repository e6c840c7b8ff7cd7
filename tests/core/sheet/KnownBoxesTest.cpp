#include <string>

#include <gtest/gtest.h>

#include "AwkwardDesigns.h"

#include "core/sheet/DesignSheet.h"

namespace veltrano {
namespace {

using testing::awkwardDesign;

void displayEveryPage(DesignSheet& sheet) {
    for (int page = 0; page < sheet.pageCount(); ++page) sheet.displayPage(page);
}

// The burn rate fields lose the focus, as they do when the user moves on.
void convertBurnRates(DesignSheet& sheet) {
    sheet.convertMassToLinear();
    sheet.convertLinearToMass();
}

// Every "known" box of every page, cleared on a reference where everything is known, against the same
// reference in which that value was never known.
TEST(KnownBoxes, AClearedBoxEmptiesItsFieldsStoresZeroAndEveryPageTakesTheValueAsUnknown) {
    const ModelParameters mp;
    int boxes = 0;
    for (int page = 0; page < kSheetPageCount; ++page) {
        const std::span<const FieldSpec> fields = sheetPage(page).fields();
        for (const FieldSpec& field : fields) {
            if (!field.ownBox) continue;
            ++boxes;
            SCOPED_TRACE(std::string(field.name));
            const std::uint32_t bit = known::bit(field.knownBit);

            DesignSheet cleared(awkwardDesign(), true, mp);
            displayEveryPage(cleared);
            PageTexts& state = cleared.pageState(page);
            page::setKnownBox(state.texts, state.boxes, fields, field.knownBit, false);
            convertBurnRates(cleared);

            CigaretteDesign unknown = awkwardDesign();
            unknown.known &= ~bit;
            DesignSheet neverKnown(unknown, true, mp);
            displayEveryPage(neverKnown);
            convertBurnRates(neverKnown);

            for (std::size_t i = 0; i < fields.size(); ++i)
                if (fields[i].knownBit == field.knownBit) {
                    EXPECT_EQ(state.texts[i], "") << fields[i].name;
                }
            for (int other = 0; other < kSheetPageCount; ++other) {
                EXPECT_EQ(cleared.pageState(other).texts, neverKnown.pageState(other).texts)
                    << "page " << other;
                EXPECT_EQ(cleared.pageState(other).boxes, neverKnown.pageState(other).boxes)
                    << "page " << other;
            }
            EXPECT_EQ(cleared.yields().massPerLength, neverKnown.yields().massPerLength);
            const RodEstimator estimate = cleared.startRodEstimator(),
                               expected = neverKnown.startRodEstimator();
            EXPECT_EQ(estimate.texts, expected.texts);
            EXPECT_EQ(estimate.paperPermeability, expected.paperPermeability);

            RecordingErrorReporter reporter;
            cleared.confirm(reporter);
            const DesignValues& stored = cleared.editCopy();
            EXPECT_EQ(stored.known, unknown.known);
            for (const FieldSpec& f : fields)
                if (f.knownBit == field.knownBit && f.member) {
                    EXPECT_EQ(stored.*f.member, 0) << f.name;
                }
            if (field.knownBit == KnownBit::PaperComposition) {
                EXPECT_EQ(stored.cp_fiber, 0);
                EXPECT_EQ(stored.cp_filler, 0);
            }
        }
    }
    EXPECT_EQ(boxes, 29);  // bits 0 to 30 but 3 and 12 (no box)
}

// The burn rates no longer convert, and the tobacco balance takes the model's 750 mg (which leaves enough
// tobacco) for the 0 the empty field stored.
TEST(KnownBoxes, AClearedTobaccoMassStopsTheBurnRateConversionAndTheBalanceTakesTheDefault) {
    const ModelParameters mp;
    DesignSheet sheet(awkwardDesign(), true, mp);
    displayEveryPage(sheet);
    RodPageState& rod = sheet.rod();
    page::setKnownBox(rod.texts, rod.boxes, RodPageRules::fields(), KnownBit::TobaccoMass, false);
    sheet.convertMassToLinear();
    EXPECT_EQ(sheet.yields().texts[kLinearBurnRate], "");
    EXPECT_FALSE(YieldsPageRules::updateEnabling(sheet.yields()).field[kLinearBurnRate]);
    RecordingErrorReporter reporter;
    EXPECT_EQ(sheet.confirm(reporter), -1);
    EXPECT_TRUE(reporter.numbers.empty());
    EXPECT_EQ(sheet.editCopy().ro_totmass, 0);
}

}  // namespace
}  // namespace veltrano
