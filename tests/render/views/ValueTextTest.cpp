#include <algorithm>
#include <cmath>
#include <limits>

#include <QRegularExpression>

#include "SyntheticDesign.h"
#include "ViewTestSupport.h"
#include "render/views/RecordListing.h"
#include "render/views/ValueText.h"
#include "render/views/Views.h"

namespace veltrano {
namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();
// What printf makes of a value that is not a number: "nan", "-nan", "inf", "-inf".
const QRegularExpression kRawNonFinite("\\b(nan|inf)\\b", QRegularExpression::CaseInsensitiveOption);

// What a value of every kind shows in a cell of eight characters.
TEST(ValueText, NonFiniteAndHugeValues) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {12.5, "12.50"},         {-0.004, "-0.00"},         {99999.99, "99999.99"},
        {-99999.99, "-1.0e+05"}, {1234567.891, "1.23e+06"}, {1e300, "1.0e+300"},
        {-1e300, "-1e+300"},     {kNaN, "--.--"},           {std::copysign(kNaN, -1.0), "--.--"},
        {kInf, "--.--"},         {-kInf, "--.--"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(valueText("%.2f", c.value, "--.--"), c.text) << c.value;
        EXPECT_EQ(valueOr(true, "%.2f", c.value, "--.--"), c.text) << c.value;
        EXPECT_EQ(valueOr(false, "%.2f", c.value, "--.--"), "--.--") << c.value;
    }
    // Cells without dashes of their own take those of their format.
    EXPECT_EQ(valueText("%.1f", kNaN), "-.-");
    EXPECT_EQ(valueText("%.0f", -kInf), "-");
    EXPECT_EQ(valueText("%6.2f", kNaN), "  -.--");
    EXPECT_EQ(valueText("%i", kNaN), "-");
    // A wider cell keeps more decimals of the exponent form.
    EXPECT_EQ(valueText("%8.4f", 1e20, "-", 22), "1.0000e+20");
    EXPECT_EQ(joinedValues("%.0f", {35, 1e300, kNaN}, "/", "-", 4), "35/1e+300/-");
}

// Hostile values in every view: no "nan" or "inf" anywhere, and the dashes or the short form in the
// value's own cell.
TEST(ValueText, DrawnViewsShowDashesAndShortForms) {
    DesignSet set = test::syntheticDesignSet(4);
    CigaretteDesign& d = set.currentDesign;
    d.fi_len = kNaN;                          // always shown
    d.fi_diam = 1e300;                        // always shown
    d.tp_width = -kInf;                       // shown when known, "--.--" otherwise
    d.puff_avgpd[0] = -1e300;                 // a puff cell
    d.stat_pdo = kNaN, d.alt_volume = 1e300;  // the stationary result box and the regime texts
    const auto texts = test::recordTexts([&](QPainter& p) {
        drawStationaryFlowView(p, test::viewResources(), d);
        drawYieldsView(p, test::viewResources(), d);
        drawPuffView(p, test::viewResources(), d, 0);
        drawSummaryView(p, test::viewResources(), set, true);
    });
    for (const auto& t : texts->texts()) {
        EXPECT_FALSE(t.text.contains(kRawNonFinite)) << t.text.toStdString();
        EXPECT_LE(t.text.size(), 120) << t.text.toStdString();
    }
    // The summary's current column: cells from x 200 to 260 of the panel at (20, 10), values
    // right-aligned at 250, rows 25 + 15 r below their section's top. Filter length and diameter are
    // the first rows of the section at 390, the tipping length the first of the one at 45.
    const auto cell = [&](int sectionTop, int row) {
        return texts->at(20 + 249, 10 + sectionTop + 25 + 15 * row + 5);
    };
    EXPECT_EQ(cell(390, 0).text, "-.--");
    EXPECT_EQ(cell(390, 1).text, "1.0e+300");
    EXPECT_EQ(cell(45, 0).text, "--.--");
    for (const auto& t : {cell(390, 0), cell(390, 1), cell(45, 0)})
        EXPECT_GT(t.left, 20 + 200) << t.text.toStdString();
    // The puff table: the first column of the "Avg. Open Draw Resistance" row.
    const auto puff = texts->at(20 + 249, 620 + 30 + 5);
    EXPECT_EQ(puff.text, "-1e+300");
    EXPECT_GT(puff.left, 20 + 200);
    // The alternative regime as the summary lists it and the views title it.
    const auto regimes = std::count_if(texts->texts().begin(), texts->texts().end(),
                                       [](const auto& t) { return t.text.startsWith("1e+300/"); });
    EXPECT_EQ(regimes, 3);
}

TEST(ValueText, RawListing) {
    CigaretteDesign d;
    d.ci_len = kNaN;
    d.cp_diff = 1e20;
    d.tp_perfotrack = kInf;
    const auto lines = recordListingLines(d);
    EXPECT_EQ(lines[3], "ci_len           -.--");
    EXPECT_EQ(lines[17], "cp_diff        1.0000e+20");
    EXPECT_EQ(lines[9], "tp_perfotrack  -");
}

}  // namespace
}  // namespace veltrano
