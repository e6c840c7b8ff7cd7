#include <gtest/gtest.h>

#include "ExploreTestSupport.h"
#include "core/document/DesignDocument.h"
#include "core/explore/SheetPreview.h"
#include "tests/core/sheet/EditorTestSupport.h"

namespace veltrano {
namespace {

using testing::fixtureParameters;

// The program's designs after a recalculation, as a sheet finds them.
DesignSet recalculatedDesigns(const DesignValues& current = DesignValues()) {
    DesignSet set;
    set.currentDesign.assign(current);
    RecordingErrorReporter errors;
    recalculate(set, fixtureParameters(), errors);
    return set;
}

// The strip of the sheet as it stands.
SheetPreview previewSheet(const DesignSheet& sheet, const DesignSet& designs, const ModelParameters& mp) {
    return previewStored(sheet.storedValues(), sheet.isReference(), designs, mp);
}

// What the program shows after OK on the sheet: the sheet's checks, then the document's edit and its
// recalculation.
std::array<double, kPreviewOutputNames.size()> afterOk(DesignSheet& sheet, const DesignSet& designs) {
    RecordingErrorReporter errors;
    EXPECT_EQ(sheet.confirm(errors), -1);
    DesignDocument document(fixtureParameters());
    document.takeDesigns(designs.clone());
    document.replaceDesign(sheet.isReference() ? DesignRole::Reference : DesignRole::Current,
                           sheet.editCopy(), errors);
    return previewValues(document.designs().currentDesign);
}

TEST(SheetPreview, EqualsWhatOkAndTheRecalculationGive) {
    DesignSet designs = recalculatedDesigns();
    DesignSheet sheet(designs.currentDesign, false, fixtureParameters());
    for (int page : {kTippingPage, kPaperPage, kFilterPage}) sheet.displayPage(page);
    sheet.paper().texts[kAirPermeability] = "75.5";
    sheet.filter().texts[kFilterRodPressureDrop] = "480.125";
    sheet.tipping().texts[kPerforationPermeability] = "150";

    const SheetPreview preview = previewSheet(sheet, designs, fixtureParameters());
    ASSERT_EQ(preview.status, VariantStatus::Computed);
    EXPECT_TRUE(preview.errors.empty());
    ASSERT_TRUE(preview.values.has_value());
    EXPECT_NE(*preview.values, previewValues(designs.currentDesign));  // the edit shows
    EXPECT_EQ(*preview.values, afterOk(sheet, designs));
}

TEST(SheetPreview, OfTheReferenceSheetEqualsOkToo) {
    DesignSet designs = recalculatedDesigns();
    DesignSheet sheet(designs.referenceDesign, true, fixtureParameters());
    sheet.displayPage(kYieldsPage);
    sheet.yields().texts[kOpenDrawResistance] = "130";
    testing::setBox(sheet.yields(), KnownBit::RodVentilation, false);  // rod ventilation no longer measured
    const SheetPreview preview = previewSheet(sheet, designs, fixtureParameters());
    ASSERT_TRUE(preview.values.has_value());
    EXPECT_EQ(*preview.values, afterOk(sheet, designs));
}

TEST(SheetPreview, TextsTheChecksRefuseGiveNoValuesAndReportNothing) {
    DesignSet designs = recalculatedDesigns();
    DesignSheet sheet(designs.currentDesign, false, fixtureParameters());
    sheet.displayPage(kPaperPage);
    sheet.paper().texts[kAirPermeability] = "250";
    const DesignValues before = sheet.storedValues();
    const SheetPreview preview = previewSheet(sheet, designs, fixtureParameters());
    EXPECT_EQ(preview.status, VariantStatus::Refused);
    EXPECT_EQ(preview.refusedPage, kPaperPage);
    EXPECT_EQ(preview.errors, std::vector<int>{12});
    EXPECT_FALSE(preview.values.has_value());
    // The sheet is as it was: the page still displayed, its text still there.
    EXPECT_TRUE(sheet.isDisplayed(kPaperPage));
    EXPECT_EQ(testing::imageOf(sheet.storedValues()), testing::imageOf(before));
}

}  // namespace
}  // namespace veltrano
