#include <clocale>
#include <cmath>
#include <limits>
#include <string>

#include "SyntheticDesign.h"
#include "ViewTestSupport.h"
#include "core/design/NumberText.h"
#include "render/resources/Palette.h"
#include "render/views/Views.h"

namespace veltrano {
namespace {

using test::pixelAt;
using test::recordTexts;
using test::renderClient;
using test::viewResources;

// y of a value on a chart whose zero line is `zero`, at `scale` pixels per unit.
int chartY(int zero, double value, double scale) {
    return zero - checkedToInt(value * scale);
}

TEST(StationaryFlowView, CurvesTableAndLabelsWhereTheLayoutPutsThem) {
    const CigaretteDesign d = test::syntheticDesign();
    const QImage image = renderClient([&](QPainter& p) { drawStationaryFlowView(p, viewResources(), d); });

    // Point 150 of each curve lies at x 121 + 300, on the scale of its axis (client y = view y + 40).
    const double pressureScale = 300 / 124.0, flowScale = 300 / 17.5;
    const struct {
        const std::vector<double>& values;
        double scale;
        QColor colour;
    } curves[] = {{d.stat_pres_closed, pressureScale, palette::darkGreen},
                  {d.stat_flow_closed, flowScale, palette::darkBlue},
                  {d.stat_pres_open, pressureScale, palette::lightGreen},
                  {d.stat_flow_open, flowScale, palette::lightBlue}};
    for (const auto& curve : curves)
        EXPECT_EQ(pixelAt(image, 421, 40 + chartY(379, curve.values[150], curve.scale)), curve.colour)
            << curve.colour.name().toStdString();

    // Result box frame and divider.
    EXPECT_EQ(pixelAt(image, 60, 500), palette::frameGrey);
    EXPECT_EQ(pixelAt(image, 729, 500), palette::frameGrey);
    EXPECT_EQ(pixelAt(image, 395, 480), palette::frameGrey);
    EXPECT_EQ(pixelAt(image, 380, 472), palette::panelGrey);
    // Axes in black: suction axis, flow axis, length axis.
    EXPECT_EQ(pixelAt(image, 60, 300), palette::black);
    EXPECT_EQ(pixelAt(image, 120, 300), palette::black);
    EXPECT_EQ(pixelAt(image, 700, 420), palette::black);
    // The pictures fill the two strips above the chart.
    EXPECT_NE(pixelAt(image, 400, 40), palette::white);
    EXPECT_NE(pixelAt(image, 400, 70), palette::white);

    const auto texts = recordTexts([&](QPainter& p) { drawStationaryFlowView(p, viewResources(), d); });
    // Suction maximum 124: 10-mm H2O ticks, every second labelled; "20" right-aligned at x 50,
    // its top 7 pixels above the tick.
    const auto twenty = texts->find("20");
    ASSERT_FALSE(twenty.empty());
    EXPECT_EQ(twenty.front().right, 50);
    EXPECT_EQ(twenty.front().top, 40 + chartY(380, 20, pressureScale) - 7);
    // 84 mm: labels at 10, 20, ..., 80 centred 9 pixels below the length axis.
    const auto eighty = texts->find("80");
    ASSERT_EQ(eighty.size(), 2u);  // the suction label and the length label
    EXPECT_EQ(eighty.back().top, 40 + 389);
    EXPECT_NEAR((eighty.back().left + eighty.back().right) / 2.0, 120 + 571, 1.0);
    EXPECT_TRUE(texts->find("90").empty());
}

TEST(StationaryFlowView, YieldPlaceholdersFollowTheKnownBits) {
    CigaretteDesign d = test::syntheticDesign();
    const auto valueTextAt = [&](int row) {
        const auto texts = recordTexts([&](QPainter& p) { drawStationaryFlowView(p, viewResources(), d); });
        for (const auto& t : texts->texts())
            if (t.right == 665 && t.top >= 40 + 433 + 20 * row && t.top < 40 + 453 + 20 * row)
                return t.text.toStdString();
        return std::string("(none)");
    };
    // Nicotine known, NFDPM not: DPM and NFDPM show dashes, nicotine its value.
    d.known &= ~known::bit(KnownBit::IsoTar);
    EXPECT_EQ(valueTextAt(1), "--.--");
    EXPECT_EQ(valueTextAt(2), "--.--");
    EXPECT_EQ(valueTextAt(3), "0.70");
    d.known |= known::bit(KnownBit::IsoTar);
    EXPECT_EQ(valueTextAt(1), "11.70");
    EXPECT_EQ(valueTextAt(2), "11.00");
}

TEST(YieldsView, CurvesTablesAndPerforation) {
    CigaretteDesign d = test::syntheticDesign();
    const QImage image = renderClient([&](QPainter& p) { drawYieldsView(p, viewResources(), d); });

    // Both rows share the axes: flow maximum alt_tab_flow[199], suction maximum from both tables.
    const double flowMax = d.alt_tab_flow[199], tableFlowScale = 360 / flowMax;
    const double suctionScale = 190 / std::max(d.iso_tab_pdo[199], d.alt_tab_pdo[199]),
                 ventScale = 190 / 25.0;
    // ISO row (origin y 10): puff point 105 from entry 200 at x 41 + 105.
    EXPECT_EQ(pixelAt(image, 146, 10 + chartY(224, d.iso_prof_flow[200], 190 / flowMax)), palette::lightBlue);
    EXPECT_EQ(pixelAt(image, 146, 10 + chartY(224, d.iso_prof_fivent[200], 190 / flowMax)),
              palette::lightGreen);
    EXPECT_EQ(pixelAt(image, 146, 10 + chartY(224, d.iso_prof_rovent[200], 190 / flowMax)),
              palette::darkGreen);
    // Characteristic curves at table entry 100, alternative row (origin y 270).
    const int x = 361 + checkedToInt(d.alt_tab_flow[100] * tableFlowScale);
    EXPECT_EQ(pixelAt(image, x, 270 + chartY(224, d.alt_tab_fivent[100], ventScale)), palette::lightBlue);
    EXPECT_EQ(pixelAt(image, x, 270 + chartY(224, d.alt_tab_rovent[100], ventScale)), palette::darkBlue);
    EXPECT_EQ(pixelAt(image, x, 270 + chartY(224, d.alt_tab_pdo[100], suctionScale)), palette::lightGreen);
    const int perforationY = 270 + chartY(224, d.alt_tab_pvent[100], suctionScale);
    EXPECT_EQ(pixelAt(image, x, perforationY), palette::darkGreen);
    // Comparison table frame at (65, 530), 650 × 180.
    EXPECT_EQ(pixelAt(image, 65, 600), palette::frameGrey);
    EXPECT_EQ(pixelAt(image, 65 + 649, 600), palette::frameGrey);
    EXPECT_EQ(pixelAt(image, 300, 530 + 179), palette::frameGrey);

    const auto texts = recordTexts([&](QPainter& p) { drawYieldsView(p, viewResources(), d); });
    EXPECT_EQ(texts->find("Pressure at perforation").size(), 2u);
    EXPECT_EQ(texts->find("55/2/30/0%").size(), 1u);
    const auto note = texts->at(75, 700);
    EXPECT_TRUE(note.text.startsWith("The degrees of ventilation")) << note.text.toStdString();
    // The stationary column of the yield rows stays empty; the alternative columns follow bit 23.
    d.known &= ~known::bit(KnownBit::IsoPuffNumber);
    const auto withoutPuffs = recordTexts([&](QPainter& p) { drawYieldsView(p, viewResources(), d); });
    EXPECT_EQ(withoutPuffs->find("--.--").size(), 2u);
    EXPECT_TRUE(withoutPuffs->at(65 + 260, 530 + 90).text.isEmpty());

    // Without perforation neither the suction at the perforation nor its legend is drawn.
    d.tp_perfotype = kNoPerforation;
    const QImage plain = renderClient([&](QPainter& p) { drawYieldsView(p, viewResources(), d); });
    EXPECT_EQ(pixelAt(plain, x, perforationY), palette::white);
    const auto plainTexts = recordTexts([&](QPainter& p) { drawYieldsView(p, viewResources(), d); });
    EXPECT_TRUE(plainTexts->find("Pressure at perforation").empty());
}

// Every number the views write uses a period, whatever the locale says.
TEST(ResultViews, NumbersIgnoreACommaLocale) {
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "no de_DE.UTF-8 locale";
    DesignSet set = test::syntheticDesignSet(12);
    const auto texts = recordTexts([&](QPainter& p) {
        drawStationaryFlowView(p, viewResources(), set.currentDesign);
        drawYieldsView(p, viewResources(), set.currentDesign);
        drawPuffView(p, viewResources(), set.currentDesign, 3);
        drawSummaryView(p, viewResources(), set, true);
        drawRecordListing(p, viewResources(), set.currentDesign, 0);
    });
    std::setlocale(LC_ALL, previous.c_str());
    int numbers = 0;
    for (const auto& t : texts->texts()) {
        if (t.text.isEmpty() || !t.text.at(0).isDigit()) continue;
        EXPECT_FALSE(t.text.contains(',')) << t.text.toStdString();
        if (t.text.contains('.')) ++numbers;
    }
    EXPECT_GT(numbers, 100);
    EXPECT_FALSE(texts->find("116.0").empty());
}

// Designs whose arrays and maxima are absurd still paint, bounded, and keep their axes.
TEST(ResultViews, AbsurdValuesPaintWithoutHanging) {
    const double nan = std::numeric_limits<double>::quiet_NaN(),
                 inf = std::numeric_limits<double>::infinity();
    for (double v : {-1.0, 0.0, 1e300, nan, inf}) {
        DesignSet set = test::syntheticDesignSet(0);
        CigaretteDesign& d = set.currentDesign;
        for (const OwnedArray& array : ownedArrays())
            std::fill((d.*array.member).begin(), (d.*array.member).end(), v);
        test::fillPuffs(d, 5);
        for (const PuffArray& array : puffArrays())
            std::fill((d.*array.member).begin(), (d.*array.member).end(), v);
        d.ci_len = d.fi_len = d.tp_width = d.tp_perfopos = d.alt_duration = d.stat_pdo = d.iso_puff = v;
        const QImage stationary =
            renderClient([&](QPainter& p) { drawStationaryFlowView(p, viewResources(), d); });
        EXPECT_EQ(pixelAt(stationary, 60, 300), palette::black) << v;
        const QImage yields = renderClient([&](QPainter& p) { drawYieldsView(p, viewResources(), d); });
        EXPECT_EQ(pixelAt(yields, 320, 100), palette::black) << v;
        renderClient([&](QPainter& p) {
            drawPuffView(p, viewResources(), d, 2);
            drawSummaryView(p, viewResources(), set, true);
            drawRecordListing(p, viewResources(), d, 600);
        });
    }
}

}  // namespace
}  // namespace veltrano
