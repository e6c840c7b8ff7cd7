#include "SyntheticDesign.h"
#include "ViewTestSupport.h"
#include "resources/Palette.h"
#include "views/Views.h"

namespace veltrano {
namespace {

using test::pixelAt;
using test::recordTexts;
using test::renderClient;
using test::viewResources;

double centreOf(const test::DrawnText& t) {
    return (t.left + t.right) / 2.0;
}

TEST(PuffView, ColumnsLabelsBarsAndHoverForAnyPuffCount) {
    const struct { int puffs, barWidth, lastLabel; } cases[] = {{4, 20, 4}, {12, 10, 12}, {70, 2, 64}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.puffs);
        const CigaretteDesign d = test::syntheticDesign(c.puffs);
        const QImage image = renderClient([&](QPainter& p) { drawPuffView(p, viewResources(), d, -1); });
        const PuffHoverGeometry hover = puffHoverGeometry(d);
        EXPECT_EQ(hover.puffAreaLeft, 80);
        EXPECT_EQ(hover.puffAreaRight, 80 + c.puffs * 5 * c.barWidth);
        EXPECT_EQ(hover.puffColumnWidth, 5 * c.barWidth);
        EXPECT_EQ(hover.puffAreaTop, 30);
        EXPECT_EQ(hover.gapTop, 225);
        EXPECT_EQ(hover.gapBottom, 300);
        EXPECT_EQ(hover.puffAreaBottom, 495);

        // Puff labels centred in their columns while left of x 720, in both charts.
        const auto texts = recordTexts([&](QPainter& p) { drawPuffView(p, viewResources(), d, -1); });
        const auto first = texts->find("1"), last = texts->find(QString::number(c.lastLabel));
        ASSERT_EQ(first.size(), 2u);
        EXPECT_NEAR(centreOf(first.front()), 80 + 2.5 * c.barWidth, 1.0);
        ASSERT_EQ(last.size(), 2u);
        EXPECT_NEAR(centreOf(last.back()), 80 + 2.5 * c.barWidth + 5 * c.barWidth * (c.lastLabel - 1), 1.0);
        EXPECT_TRUE(texts->find(QString::number(c.lastLabel + 1)).empty());

        // The bars of the last labelled puff stand on the axis; nothing stands right of them.
        const int x0 = 80 + 5 * c.barWidth * (c.lastLabel - 1) + c.barWidth;
        EXPECT_EQ(pixelAt(image, x0, 224), palette::barLightGreen);
        EXPECT_EQ(pixelAt(image, x0 + c.barWidth, 224), palette::barDarkGreen);
        EXPECT_EQ(pixelAt(image, x0 + 2 * c.barWidth, 270 + 224), palette::barBlue);
        EXPECT_EQ(pixelAt(image, x0 + 3 * c.barWidth, 224), palette::white);
        EXPECT_EQ(pixelAt(image, 722, 220), palette::white);
    }
}

TEST(PuffView, YieldChartWithoutKnownYieldsHasNoTicksAndNoBars) {
    CigaretteDesign d = test::syntheticDesign(8);  // bar width 16
    d.known &=
        ~(known::bit(KnownBit::IsoNicotine) | known::bit(KnownBit::IsoTar) | known::bit(KnownBit::IsoCo));
    const QImage image = renderClient([&](QPainter& p) { drawPuffView(p, viewResources(), d, -1); });
    for (int y = 41; y < 225; ++y) {
        for (int x : {35, 37, 39, 75, 79}) ASSERT_EQ(pixelAt(image, x, y), palette::white) << x << "," << y;
        for (int i = 0; i < 8; ++i)
            for (int slot = 0; slot < 3; ++slot)
                ASSERT_EQ(pixelAt(image, 80 + 80 * i + 16 * (slot + 1), y), palette::white) << i << "," << y;
    }
    const auto texts = recordTexts([&](QPainter& p) { drawPuffView(p, viewResources(), d, -1); });
    EXPECT_EQ(texts->find("8").size(), 2u);    // puff labels stay
    EXPECT_TRUE(texts->find("0.1").empty());   // the left axis would label 0.1
    EXPECT_TRUE(texts->find("0.01").empty());  // and the nicotine axis 0.01
    // The ventilation chart below still has its ticks and bars.
    EXPECT_EQ(pixelAt(image, 80 + 16, 270 + 224), palette::barLightGreen);
}

TEST(PuffView, PuffDataColumnShowsTheHoveredPuff) {
    const CigaretteDesign d = test::syntheticDesign(6);
    const auto cellText = [&](int hovered, int row) {
        const auto texts = recordTexts([&](QPainter& p) { drawPuffView(p, viewResources(), d, hovered); });
        for (const auto& t : texts->texts())
            if (t.right == 65 + 420 && t.top >= 530 + 23 + 20 * row && t.top < 530 + 43 + 20 * row)
                return t.text;
        return QString("(none)");
    };
    const auto heading = [&](int hovered) {
        const auto texts = recordTexts([&](QPainter& p) { drawPuffView(p, viewResources(), d, hovered); });
        const auto t = texts->at(65 + 425, 530 + 10);
        EXPECT_NEAR(centreOf(t), 65 + 425, 1.0);
        return t.text;
    };
    EXPECT_EQ(heading(2), "Puff #3 data");
    EXPECT_EQ(cellText(2, 0), "21.0");
    EXPECT_EQ(cellText(2, 4), "1.06");
    EXPECT_EQ(cellText(5, 3), "0.6");  // the last, partial puff
    for (int none : {-1, 6, 100}) {
        EXPECT_EQ(heading(none), "Puff data");
        EXPECT_EQ(cellText(none, 0), "(none)");
    }

    // Changing the hovered puff changes pixels only inside the rectangle the window repaints.
    EXPECT_EQ(puffDataCellsRect(), QRect(65 + 351, 530 + 1, 148, 161));
    const QImage none = renderClient([&](QPainter& p) { drawPuffView(p, viewResources(), d, -1); });
    const QImage third = renderClient([&](QPainter& p) { drawPuffView(p, viewResources(), d, 2); });
    int changed = 0;
    for (int y = 0; y < none.height(); ++y)
        for (int x = 0; x < none.width(); ++x)
            if (none.pixel(x, y) != third.pixel(x, y)) {
                ++changed;
                ASSERT_TRUE(puffDataCellsRect().contains(x, y)) << x << "," << y;
            }
    EXPECT_GT(changed, 0);
}

TEST(PuffView, NothingWithoutPuffs) {
    const CigaretteDesign d = test::syntheticDesign(0);
    const QImage image = renderClient([&](QPainter& p) { drawPuffView(p, viewResources(), d, 0); });
    const PuffHoverGeometry hover = puffHoverGeometry(d);
    EXPECT_EQ(hover.puffAreaRight, 0);
    EXPECT_EQ(hover.puffColumnWidth, 1);
    EXPECT_EQ(pixelAt(image, 40, 100), palette::white);
}

}  // namespace
}  // namespace veltrano
