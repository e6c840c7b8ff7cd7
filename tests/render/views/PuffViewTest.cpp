#include <algorithm>

#include "SyntheticDesign.h"
#include "ViewTestSupport.h"
#include "render/resources/Palette.h"
#include "render/views/Views.h"

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

TEST(PuffView, LabelsOfManyPuffsNeverRunTogetherAndTheLastDrawnPuffIsLabelled) {
    // Puff counts, the bar width they give, and the last puff drawn left of x 720.
    const struct {
        int puffs, barWidth, lastDrawn;
    } cases[] = {{9, 14, 9},  {13, 9, 13}, {26, 4, 26}, {43, 2, 43},
                 {54, 2, 54}, {64, 2, 64}, {99, 2, 64}, {200, 2, 64}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.puffs);
        const CigaretteDesign d = test::syntheticDesign(c.puffs);
        const auto texts = recordTexts([&](QPainter& p) { drawPuffView(p, viewResources(), d, -1); });
        // The labels under the ventilation chart's axis, left to right.
        std::vector<test::DrawnText> labels;
        for (const auto& t : texts->texts())
            if (t.top > 270 + 225 && t.top < 270 + 250) labels.push_back(t);
        ASSERT_FALSE(labels.empty());
        for (std::size_t i = 1; i < labels.size(); ++i)
            EXPECT_GT(labels[i].left, labels[i - 1].right + 1)
                << labels[i - 1].text.toStdString() << " runs into " << labels[i].text.toStdString();
        EXPECT_EQ(labels.back().text, QString::number(c.lastDrawn));
        EXPECT_NEAR(centreOf(labels.back()), 80 + 2.5 * c.barWidth + 5 * c.barWidth * (c.lastDrawn - 1), 1.0);
        // Labels of regular steps between the first and the last.
        const std::vector<int> steps{1, 2, 5, 10};
        const int step = labels.size() > 2 ? labels[2].text.toInt() - labels[1].text.toInt() : 1;
        EXPECT_NE(std::find(steps.begin(), steps.end(), step), steps.end()) << step;
        // The mouse over the last drawn puff's column shows that puff.
        const PuffHoverGeometry hover = puffHoverGeometry(d);
        const int x = 80 + 5 * c.barWidth * (c.lastDrawn - 1) + 2;
        EXPECT_EQ((x - hover.puffAreaLeft) / hover.puffColumnWidth, c.lastDrawn - 1);
    }
}

TEST(PuffView, BarsStopBelowTheRightAxisTitles) {
    // The first puff has the highest draw resistance, so its blue bar reaches the top of the chart, and
    // the bars are wide enough to stand under "mm H2O".
    CigaretteDesign d = test::syntheticDesign(4);
    for (int i = 0; i < 4; ++i) {
        d.puff_avgpd[std::size_t(i)] = 150.0 - 10 * i;
        d.puff_fivent[std::size_t(i)] = 30.0 - i;  // and the ventilation bars as well
    }
    d.puff_nfdpm[0] = 5.0;  // the yield chart's first bar reaches under "mg" of "Nicotine"
    const QImage image = renderClient([&](QPainter& p) { drawPuffView(p, viewResources(), d, -1); });
    const auto texts = recordTexts([&](QPainter& p) { drawPuffView(p, viewResources(), d, -1); });
    for (const char* unit : {"mm H2O", "mg"}) {
        for (const auto& t : texts->find(unit)) {
            if (t.left != 85) continue;  // the right axis's unit
            const QRect cell = t.cell.toAlignedRect();
            for (int y = cell.top(); y <= cell.bottom(); ++y)
                for (int x = cell.left(); x <= cell.right(); ++x)
                    for (const QColor& bar :
                         {palette::barLightGreen, palette::barDarkGreen, palette::barBlue})
                        ASSERT_NE(pixelAt(image, x, y), bar) << unit << " at " << x << "," << y;
        }
    }
    // Bars away from the titles keep their full height of 195 pixels.
    EXPECT_EQ(pixelAt(image, 80 + 3 * 20 + 5, 270 + 225 - 195), palette::barBlue);
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
