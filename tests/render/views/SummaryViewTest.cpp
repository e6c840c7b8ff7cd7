#include <algorithm>

#include "SyntheticDesign.h"
#include "ViewTestSupport.h"
#include "render/resources/Palette.h"
#include "render/views/SummaryTables.h"
#include "render/views/Views.h"

namespace veltrano {
namespace {

using test::pixelAt;
using test::recordTexts;
using test::renderClient;
using test::viewResources;

// The texts of the puff table's heading band, left to right.
std::vector<QString> puffHeadings(const DesignSet& set, bool valid) {
    const auto texts = recordTexts([&](QPainter& p) { drawSummaryView(p, viewResources(), set, valid); });
    std::vector<test::DrawnText> band;
    for (const auto& t : texts->texts())
        if (t.top == 620 + 7 && t.left >= 220) band.push_back(t);
    std::sort(band.begin(), band.end(), [](const auto& a, const auto& b) { return a.left < b.left; });
    std::vector<QString> headings;
    for (std::size_t j = 0; j < band.size(); ++j) {
        EXPECT_NEAR((band[j].left + band[j].right) / 2.0, 20 + 230 + 60 * double(j), 1.0) << j;
        headings.push_back(band[j].text);
    }
    return headings;
}

TEST(SummaryView, PuffTableColumns) {
    using Headings = std::vector<QString>;
    EXPECT_EQ(puffHeadings(test::syntheticDesignSet(10), true),
              (Headings{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}));
    EXPECT_EQ(puffHeadings(test::syntheticDesignSet(11), true),
              (Headings{"1", "2", "3", "4", "5", ".....", "8", "9", "10", "11"}));
    // The printed table has eleven columns and shows the last five.
    EXPECT_EQ(puffTableColumns(12, 11), (std::vector<int>{0, 1, 2, 3, 4, kDotsColumn, 7, 8, 9, 10, 11}));
    EXPECT_EQ(puffTableColumns(11, 11).size(), 11u);

    // Cells are right-aligned at x 250 + 60 j; the dots fill every row of their column.
    DesignSet eleven = test::syntheticDesignSet(11);
    const auto texts = recordTexts([&](QPainter& p) { drawSummaryView(p, viewResources(), eleven, true); });
    EXPECT_EQ(texts->find(".....").size(), 8u);
    EXPECT_EQ(texts->at(20 + 249 + 60 * 9, 620 + 30 + 15 * 3 + 5).text, "0.60");  // puff 11, "Puff" row

    // Stale per-puff data, or an unknown puff number, leaves the table empty.
    EXPECT_TRUE(puffHeadings(eleven, false).empty());
    eleven.currentDesign.known &= ~known::bit(KnownBit::IsoPuffNumber);
    EXPECT_TRUE(puffHeadings(eleven, true).empty());
}

TEST(SummaryView, PanelsAndFrames) {
    const DesignSet set = test::syntheticDesignSet(4);
    const QImage image = renderClient([&](QPainter& p) { drawSummaryView(p, viewResources(), set, true); });
    for (QPoint frame :
         {QPoint(20, 300), QPoint(339, 300), QPoint(500, 300), QPoint(819, 300), QPoint(20 + 200, 200),
          QPoint(300, 10 + 165), QPoint(300, 620 + 25), QPoint(20 + 260, 700)})
        EXPECT_EQ(pixelAt(image, frame.x(), frame.y()), palette::frameGrey) << frame.x() << "," << frame.y();
    EXPECT_EQ(pixelAt(image, 25, 30), palette::panelGrey);

    const auto texts = recordTexts([&](QPainter& p) { drawSummaryView(p, viewResources(), set, true); });
    const auto current = texts->find("Current");
    ASSERT_EQ(current.size(), 2u);
    EXPECT_NEAR((current.front().left + current.front().right) / 2.0, 20 + 230, 1.0);
    // Section headings 5 below their rule, first rows 20 below the heading, 15 apart.
    const auto plugWrap = texts->find("Plug Wrap Paper");
    ASSERT_EQ(plugWrap.size(), 1u);
    EXPECT_EQ(plugWrap.front().top, 10 + 170);
    EXPECT_EQ(texts->at(25, 10 + 190 + 5).text, "Permeability");
    EXPECT_EQ(texts->at(25, 10 + 205 + 5).text, "Permeability Exponent");
    // The reference's filter pressure drop comes from the working reference.
    DesignSet changed = test::syntheticDesignSet(4);
    changed.workingReference.fi_pd = 77.25;
    const auto withWorking =
        recordTexts([&](QPainter& p) { drawSummaryView(p, viewResources(), changed, true); });
    const auto pressureDrop = withWorking->find("77.25");
    ASSERT_EQ(pressureDrop.size(), 1u);
    EXPECT_EQ(pressureDrop.front().right, 20 + 310);
}

const SummaryRow& row(const std::vector<SummarySection>& sections, const char* section, const char* label) {
    for (const auto& s : sections)
        if (s.heading == section)
            for (const auto& r : s.rows)
                if (r.label == label) return r;
    throw std::runtime_error(std::string("no row ") + label);
}

TEST(SummaryTables, ReferenceWithOnlinePerforation) {
    DesignSet set = test::syntheticDesignSet(0);
    CigaretteDesign& ref = set.referenceDesign;
    ref.tp_perfotype = kOnlineLaser;
    ref.tp_onlinevent = 30.0;
    ref.stat_fivent = 28.5, ref.stat_rovent = 6.25;
    ref.known = known::kDefault & ~known::bit(KnownBit::FilterVentilation);

    const auto screen = resultSummary(set, Medium::Screen);
    EXPECT_EQ(row(screen, "Stationary Flow", "Degree of Filter Ventilation").reference, "28.50");
    EXPECT_EQ(row(screen, "Stationary Flow", "Degree of Total Ventilation").reference, "34.75");
    const auto paper = resultSummary(set, Medium::Paper);
    EXPECT_EQ(row(paper, "Stationary Flow", "Degree of Filter Ventilation").reference, "30.00");
    EXPECT_EQ(row(paper, "Stationary Flow", "Degree of Total Ventilation").reference, "--.--");
    ref.known &= ~known::bit(KnownBit::RodVentilation);
    EXPECT_EQ(
        row(resultSummary(set, Medium::Screen), "Stationary Flow", "Degree of Total Ventilation").reference,
        "--.--");

    const auto parameters = parameterSummary(set, Medium::Screen);
    EXPECT_EQ(row(parameters, "Tipping Paper", "Permeability").reference, "---.--");
    EXPECT_EQ(row(parameters, "Tipping Paper", "Permeability Exponent").reference, "-.--");
    EXPECT_EQ(row(parameters, "Tipping Paper", "Width of Perforation").reference, "--.--");
    EXPECT_EQ(row(parameters, "Tipping Paper", "Position of Perforation").reference, "12.00");
    EXPECT_EQ(row(parameters, "Tipping Paper", "Type of Perforation").reference, "Online");
    EXPECT_EQ(row(parameters, "Plug Wrap Paper", "Permeability").reference, "----.--");
    EXPECT_EQ(row(parameters, "Plug Wrap Paper", "Permeability Exponent").reference, "-.--");
    EXPECT_EQ(row(parameters, "Tipping Paper", "Permeability").current, "120.00");
    EXPECT_EQ(row(parameterSummary(set, Medium::Paper), "Plug Wrap Paper", "Permeability").reference, "-.--");

    // The summary view shows the reference's filter ventilation in its column.
    ref.known |= known::bit(KnownBit::RodVentilation);
    const auto texts = recordTexts([&](QPainter& p) { drawSummaryView(p, viewResources(), set, true); });
    const auto shown = texts->find("28.50");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown.front().right, 500 + 310);
}

TEST(SummaryTables, BandsAndAlternativeYieldBits) {
    DesignSet set = test::syntheticDesignSet(0);
    const auto plain = parameterSummary(set, Medium::Screen);
    EXPECT_EQ(row(plain, "Cigarette Paper", "Band Permeability").current, "-.--");
    EXPECT_EQ(row(plain, "Cigarette Paper", "Band Diffusion Capacity").current, "-.--");
    EXPECT_EQ(row(plain, "Cigarette Paper", "Band Width/Spacing").current, "--.-/--.-");
    set.currentDesign.cp_lip = 1;
    set.currentDesign.cp_bandwidth = 6, set.currentDesign.cp_bandspace = 21.5,
    set.currentDesign.cp_banddiff = 0.125;
    const auto banded = parameterSummary(set, Medium::Paper);
    EXPECT_EQ(row(banded, "Cigarette Paper", "Band Width/Spacing").current, "6.0/21.5");
    EXPECT_EQ(row(banded, "Cigarette Paper", "Band Diffusion Capacity").current, "0.125");

    // Alternative yields: the current design by its ISO bits, the reference by bits 27 to 30.
    set.currentDesign.known = known::kDefault;  // 27 to 30 clear, 23 to 26 set
    set.referenceDesign.known = known::kDefault | known::bit(KnownBit::AltTar);
    set.referenceDesign.alt_nfdpm = 14.5;
    const auto results = resultSummary(set, Medium::Screen);
    EXPECT_EQ(row(results, "Alternative Smoking", "Nicotine-free DPM ('tar')").current, "15.20");
    EXPECT_EQ(row(results, "Alternative Smoking", "Nicotine-free DPM ('tar')").reference, "14.50");
    EXPECT_EQ(row(results, "Alternative Smoking", "Nicotine").reference, "-.--");
    EXPECT_EQ(row(results, "Alternative Smoking", "Avg. Open Draw Resistance").reference, "");
    EXPECT_EQ(row(results, "ISO Smoking Regime", "Smoking Regime").reference, "35/2/60");
    EXPECT_EQ(row(results, "Alternative Smoking", "Smoking Regime").current, "55/2/30");
}

}  // namespace
}  // namespace veltrano
