#include <cmath>

#include <gtest/gtest.h>

#include "render/charts/Isolines.h"

namespace veltrano {
namespace {

// A grid of nx × ny values from f(i, j), in the map's point order.
template <class F>
std::vector<double> gridOf(int nx, int ny, F f) {
    std::vector<double> values;
    for (int i = 0; i < nx; ++i)
        for (int j = 0; j < ny; ++j) values.push_back(f(i, j));
    return values;
}

TEST(Isolines, OnAPlaneEachLevelIsOneOpenLineOnItsValue) {
    const std::vector<double> plane = gridOf(5, 4, [](int i, int j) { return i + 2.0 * j; });
    const std::vector<Isoline> lines = isolines(plane, 5, 4, {0.5, 3.25, 9.9});
    ASSERT_EQ(lines.size(), 3u);
    for (const Isoline& line : lines) {
        EXPECT_FALSE(line.closed);
        ASSERT_GE(line.points.size(), 2u);
        for (const QPointF& p : line.points) EXPECT_NEAR(p.x() + 2 * p.y(), line.level, 1e-12);
        // It runs from edge to edge of the grid.
        for (const QPointF& end : {line.points.front(), line.points.back()})
            EXPECT_TRUE(end.x() == 0 || end.x() == 4 || end.y() == 0 || end.y() == 3)
                << end.x() << " " << end.y();
    }
    // Levels outside the values, or not numbers, draw nothing.
    EXPECT_TRUE(isolines(plane, 5, 4, {-1, 100, NAN}).empty());
}

TEST(Isolines, AHillGivesAClosedLoop) {
    const std::vector<double> hill =
        gridOf(7, 7, [](int i, int j) { return 10 - std::hypot(i - 3.0, j - 3.0); });
    const std::vector<Isoline> lines = isolines(hill, 7, 7, {8});
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(lines[0].closed);
    EXPECT_EQ(lines[0].points.front(), lines[0].points.back());
    for (const QPointF& p : lines[0].points) EXPECT_NEAR(std::hypot(p.x() - 3, p.y() - 3), 2, 0.2);
}

TEST(Isolines, CellsWithoutAValueBreakTheLine) {
    std::vector<double> plane = gridOf(5, 5, [](int i, int j) { return i + j; });
    plane[2 * 5 + 2] = NAN;  // the point a refused variant leaves
    const std::vector<Isoline> lines = isolines(plane, 5, 5, {4.5});
    EXPECT_EQ(lines.size(), 2u);
    for (const Isoline& line : lines)
        for (const QPointF& p : line.points) EXPECT_NEAR(p.x() + p.y(), 4.5, 1e-12);
}

TEST(Isolines, CrosswiseCornersAreSplitByTheCentre) {
    // (0,0) and (1,1) high, (1,0) and (0,1) low.
    const std::vector<double> saddle{1, 0, 0, 1};  // (0,0) (0,1) (1,0) (1,1)
    for (const auto& [level, corner] : {std::pair{0.4, QPointF(1, 0)}, std::pair{0.6, QPointF(0, 0)}}) {
        // Below the centre's 0.5 the low corners are cut off, above it the high ones.
        const std::vector<Isoline> lines = isolines(saddle, 2, 2, {level});
        ASSERT_EQ(lines.size(), 2u) << level;
        for (const Isoline& line : lines) {
            ASSERT_EQ(line.points.size(), 2u);
            const QPointF mid = (line.points[0] + line.points[1]) / 2;
            const bool nearCorner =
                std::fabs(mid.x() - corner.x()) < 0.5 && std::fabs(mid.y() - corner.y()) < 0.5;
            const bool nearOpposite =
                std::fabs(mid.x() - (1 - corner.x())) < 0.5 && std::fabs(mid.y() - (1 - corner.y())) < 0.5;
            EXPECT_TRUE(nearCorner || nearOpposite) << level << ": " << mid.x() << " " << mid.y();
        }
    }
}

TEST(IsolineLabels, NeverOverlapEachOtherTheAreaOrWhatTheyAvoid) {
    // Twelve close horizontal lines, labels taller than the lines are apart.
    std::vector<std::vector<QPointF>> lines;
    for (int k = 0; k < 12; ++k) lines.push_back({QPointF(0, 100 + 8 * k), QPointF(400, 100 + 8 * k)});
    lines.push_back({QPointF(50, 20), QPointF(70, 20)});  // too short for its label
    const std::vector<QSizeF> sizes(lines.size(), QSizeF(30, 14));
    const QRectF area(0, 0, 400, 300), avoid(180, 90, 40, 40);
    const std::vector<IsolineLabel> labels = placeIsolineLabels(lines, sizes, area, {avoid});
    EXPECT_GE(labels.size(), 4u);
    for (std::size_t a = 0; a < labels.size(); ++a) {
        EXPECT_NE(labels[a].line, 12);
        EXPECT_TRUE(area.contains(labels[a].box));
        EXPECT_FALSE(labels[a].box.intersects(avoid));
        // Centred on its line.
        EXPECT_DOUBLE_EQ(labels[a].box.center().y(), lines[static_cast<std::size_t>(labels[a].line)][0].y());
        for (std::size_t b = a + 1; b < labels.size(); ++b)
            EXPECT_FALSE(labels[a].box.intersects(labels[b].box)) << a << " " << b;
    }
}

}  // namespace
}  // namespace veltrano
