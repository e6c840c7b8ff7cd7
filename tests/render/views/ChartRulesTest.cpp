#include <QImage>
#include <QPainter>
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "render/views/Axis.h"
#include "render/views/AxisRules.h"
#include "render/views/ChartText.h"

namespace veltrano {
namespace {

struct StepCase {
    const char* rule;
    AxisRange (*apply)(double);
    double input, maximum, step;
};

TEST(AxisRules, StepsFollowStrictThresholds) {
    const StepCase cases[] = {
        {"pressureStep", pressureStep, 100, 100, 5},
        {"pressureStep", pressureStep, 101, 101, 10},
        {"pressureStep", pressureStep, 201, 201, 20},
        {"profileFlowStep", profileFlowStep, 19.9, 19.9, 1},
        {"profileFlowStep", profileFlowStep, 20, 20, 2},
        {"lengthStep", lengthStep, 50, 50, 1},
        {"lengthStep", lengthStep, 84, 84, 2},
        {"lengthStep", lengthStep, 101, 101, 5},
        {"puffFlowAxis", puffFlowAxis, 20, kIsoPeakFlow, 1},
        {"puffFlowAxis", puffFlowAxis, kIsoPeakFlow, kIsoPeakFlow, 1},
        {"puffFlowAxis", puffFlowAxis, 45, 45, 1},
        {"puffFlowAxis", puffFlowAxis, 50, 50, 2},
        {"puffFlowAxis", puffFlowAxis, 80, 80, 4},
        {"puffFlowAxis", puffFlowAxis, 100, 100, 10},
        {"puffTimeAxis", puffTimeAxis, 1.5, 2, 0.1},
        {"puffTimeAxis", puffTimeAxis, 3, 3, 0.1},
        {"puffTimeAxis", puffTimeAxis, 5, 5, 0.2},
        {"ventilationAxis", ventilationAxis, 25.9, 25, 1},
        {"ventilationAxis", ventilationAxis, 26, 50, 2},
        {"ventilationAxis", ventilationAxis, 51, 100, 5},
        {"suctionStep", suctionStep, 50, 50, 2},
        {"suctionStep", suctionStep, 51, 51, 5},
        {"suctionStep", suctionStep, 101, 101, 10},
        {"suctionStep", suctionStep, 201, 201, 20},
        {"suctionStep", suctionStep, 401, 401, 50},
        {"tableFlowAxis", tableFlowAxis, 49, 49, 1},
        {"tableFlowAxis", tableFlowAxis, 50, 50, 2},
        {"tableFlowAxis", tableFlowAxis, 80, 80, 4},
        {"tableFlowAxis", tableFlowAxis, 100, 100, 10},
        {"yieldAxis", yieldAxis, 0.1, 0.1, 0.05},
        {"yieldAxis", yieldAxis, 1.1, 1.1, 0.1},
        {"yieldAxis", yieldAxis, 2.1, 2.1, 0.2},
        {"puffVentStep", puffVentStep, 19, 19, 1},
        {"puffVentStep", puffVentStep, 20, 20, 2},
        {"puffVentStep", puffVentStep, 50, 50, 5},
        {"puffPressureStep", puffPressureStep, 100, 100, 5},
        {"puffPressureStep", puffPressureStep, 101, 101, 10},
        {"puffPressureStep", puffPressureStep, 201, 201, 20},
        {"puffPressureStep", puffPressureStep, 401, 401, 50},
    };
    for (const StepCase& c : cases) {
        const AxisRange range = c.apply(c.input);
        EXPECT_EQ(range.maximum, c.maximum) << c.rule << "(" << c.input << ")";
        EXPECT_EQ(range.step, c.step) << c.rule << "(" << c.input << ")";
    }
    // The ISO peak is the value the puff simulation computes.
    EXPECT_EQ(kIsoPeakFlow, 27.488935722500003);
}

TEST(AxisTicks, TickOnTheLimitIsNotDrawn) {
    // Suction axis of 100 mm H2O over 300 pixels: tick 20 would lie exactly on the limit y 80.
    const TickAxis pressure{AxisDirection::Up, 60, 380, 80, 300, pressureStep(100)};
    const auto vertical = axisTicks(pressure);
    ASSERT_EQ(vertical.size(), 19u);
    EXPECT_EQ(vertical.front().position, 365);
    EXPECT_EQ(vertical.back().position, 95);

    // An 84 mm cigarette: 2-mm ticks, tick 42 would reach x 720.
    const TickAxis length{AxisDirection::Right, 380, 120, 720, 600, lengthStep(84)};
    const auto horizontal = axisTicks(length);
    ASSERT_EQ(horizontal.size(), 41u);
    EXPECT_EQ(horizontal[4].position, 120 + 71);  // 10 mm at 600/84 pixels per mm
    EXPECT_EQ(horizontal.back().position, 705);
}

TEST(AxisTicks, AxesWithoutScaleOrWithAbsurdMaximaEnd) {
    const double nan = std::numeric_limits<double>::quiet_NaN(),
                 inf = std::numeric_limits<double>::infinity();
    QImage image(800, 450, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    for (double maximum : {-1.0, 0.0, nan, inf, -inf}) {
        const TickAxis axis{AxisDirection::Up, 60, 380, 80, 300, pressureStep(maximum)};
        EXPECT_TRUE(axisTicks(axis).empty()) << maximum;
        EXPECT_EQ(drawTicks(painter, axis, {6, 6, 2, "%i", 10}), 0) << maximum;
    }
    // A huge maximum puts every tick at the origin: ticking stops after plot length + 1 ticks.
    const TickAxis huge{AxisDirection::Right, 380, 120, 720, 600, lengthStep(1e300)};
    EXPECT_EQ(drawTicks(painter, huge, {4, 7, 5, "%i", 9}), 601);
    // A tiny one puts the first tick far beyond the limit.
    EXPECT_TRUE(axisTicks({AxisDirection::Up, 60, 380, 80, 300, pressureStep(1e-300)}).empty());
}

TEST(AxisTicks, ARangeFromAMinimumTicksAboveIt) {
    // 20 to 120 over 500 pixels, a tick each 5: the minimum lies at the origin, the first tick above it.
    const TickAxis axis{AxisDirection::Right, 380, 100, 601, 500, {120, 5, 20}};
    EXPECT_EQ(axisPosition(axis, 20), 100);
    EXPECT_EQ(axisPosition(axis, 70), 350);
    const auto ticks = axisTicks(axis);
    ASSERT_EQ(ticks.size(), 20u);
    EXPECT_EQ(ticks.front().k, 5);
    EXPECT_EQ(ticks.front().position, 125);
    EXPECT_EQ(ticks.back().position, 600);
    // A negative minimum ticks through 0; one beyond any tick number, or not a number, has no ticks.
    EXPECT_EQ(axisTicks({AxisDirection::Up, 60, 380, 79, 300, {10, 5, -20}}).front().k, -3);
    for (double minimum : {1e300, std::numeric_limits<double>::quiet_NaN()})
        EXPECT_TRUE(axisTicks({AxisDirection::Up, 60, 380, 79, 300, {1e301, 1, minimum}}).empty()) << minimum;
}

TEST(ChartText, AnchorsPlaceTheTextCell) {
    QFont font("Liberation Sans");
    font.setPixelSize(11);
    const QFontMetrics metrics(font);
    const QString text = QStringLiteral("Degree");
    const int width = metrics.horizontalAdvance(text), height = metrics.ascent() + metrics.descent();
    EXPECT_EQ(textCell(metrics, 100, 50, text, Anchor::TopLeft), QRect(100, 50, width, height));
    EXPECT_EQ(textCell(metrics, 100, 50, text, Anchor::Right).right() + 1, 100);
    EXPECT_EQ(textCell(metrics, 100, 50, text, Anchor::Centre).left(), 100 - width / 2);
    EXPECT_EQ(textCell(metrics, 100, 50, text, Anchor::Bottom).bottom() + 1, 50);
    EXPECT_EQ(textCell(metrics, 100, 50, text, Anchor::Baseline).top(), 50 - metrics.ascent());
    EXPECT_EQ(textCell(metrics, 100, 50, text, Anchor::Right | Anchor::Bottom),
              QRect(100 - width, 50 - height, width, height));
}

TEST(ChartText, RightAlignedInkEndsAtItsX) {
    QImage image(300, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QFont font("Liberation Sans");
    font.setPixelSize(11);
    painter.setFont(font);
    painter.setPen(Qt::black);
    drawText(painter, 200, 40, "mm H2O", Anchor::Right);
    painter.end();
    int left = image.width(), right = -1, top = image.height();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 160)
                left = std::min(left, x), right = std::max(right, x), top = std::min(top, y);
    EXPECT_LE(right, 199);
    EXPECT_GE(right, 196);
    EXPECT_GT(left, 150);
    EXPECT_GE(top, 40);  // placed by its top, not by its baseline
    EXPECT_LE(top, 43);
}

}  // namespace
}  // namespace veltrano
