#include <algorithm>
#include <functional>

#include <QIcon>
#include <QPixmap>

#include "SyntheticDesign.h"
#include "ViewTestSupport.h"
#include "core/design/NumberText.h"
#include "render/resources/Palette.h"
#include "render/resources/Pictures.h"
#include "render/views/Views.h"

namespace veltrano {
namespace {

using test::renderClient;

// The fonts and pictures as the main window makes them for a screen at 200 %.
const ViewResources& doubleResources() {
    static const ViewResources resources = makeViewResources(2.0);
    return resources;
}

// How many image pixels thick the line through the logical point `at` is: the run of `colour` across
// the line through the image pixel under that point.
int lineThickness(const QImage& image, QPoint at, const QColor& colour, Qt::Orientation line) {
    const double ratio = image.devicePixelRatio();
    const QPoint pixel(checkedToInt(at.x() * ratio), checkedToInt(at.y() * ratio));
    const QPoint across = line == Qt::Horizontal ? QPoint(0, 1) : QPoint(1, 0);
    // The stroke is centred on the line, so the pixel under the point may lie just past it.
    QPoint start = pixel;
    if (image.pixelColor(start) != colour) start -= across;
    if (image.pixelColor(start) != colour) return 0;
    while (image.rect().contains(start - across) && image.pixelColor(start - across) == colour)
        start -= across;
    int run = 0;
    for (QPoint p = start; image.rect().contains(p) && image.pixelColor(p) == colour; p += across) ++run;
    return run;
}

// A design whose curves are level lines where the probes look at them.
CigaretteDesign levelDesign() {
    CigaretteDesign d = test::syntheticDesign();
    std::fill(d.stat_flow_open.begin(), d.stat_flow_open.end(), 10.0);
    std::fill(d.iso_prof_flow.begin(), d.iso_prof_flow.end(), 20.0);
    std::fill(d.alt_prof_flow.begin(), d.alt_prof_flow.end(), 20.0);
    return d;
}

// y of a value on a chart whose zero line is `zero`, at `scale` pixels per unit.
int chartY(int zero, double value, double scale) {
    return zero - checkedToInt(value * scale);
}

struct Probe {
    const char* what;
    std::function<void(QPainter&, const ViewResources&)> paint;
    QPoint at;
    QColor colour;
    Qt::Orientation line;
};

std::vector<Probe> probes() {
    static const CigaretteDesign d = levelDesign();
    static const DesignSet set = test::syntheticDesignSet(6);
    const auto stationary = [](QPainter& p, const ViewResources& r) { drawStationaryFlowView(p, r, d); };
    const auto yields = [](QPainter& p, const ViewResources& r) { drawYieldsView(p, r, d); };
    const auto puffs = [](QPainter& p, const ViewResources& r) { drawPuffView(p, r, d, -1); };
    const auto summary = [](QPainter& p, const ViewResources& r) { drawSummaryView(p, r, set, true); };
    const double flowMax = d.alt_tab_flow[199];
    return {
        {"stationary: length axis", stationary, {700, 420}, palette::black, Qt::Horizontal},
        {"stationary: suction axis", stationary, {60, 306}, palette::black, Qt::Vertical},
        {"stationary: open flow curve",
         stationary,
         {200, 40 + chartY(379, 10.0, 300 / 17.5)},
         palette::lightBlue,
         Qt::Horizontal},
        {"stationary: result box frame", stationary, {60, 500}, palette::frameGrey, Qt::Vertical},
        {"yields: characteristic axis", yields, {320, 100}, palette::black, Qt::Vertical},
        {"yields: ISO puff curve",
         yields,
         {146, 10 + chartY(224, 20.0, 190 / flowMax)},
         palette::lightBlue,
         Qt::Horizontal},
        {"puffs: bar axis", puffs, {60, 225}, palette::black, Qt::Horizontal},
        {"puffs: puff shape curve",
         puffs,
         {65 + 511 + 60, 530 + chartY(151, 20.0, 95 / flowMax)},
         palette::lightBlue,
         Qt::Horizontal},
        {"summary: panel frame", summary, {20, 300}, palette::frameGrey, Qt::Vertical},
        {"summary: table rule", summary, {300, 620 + 25}, palette::frameGrey, Qt::Horizontal},
    };
}

// Lines are one logical pixel wide: one image pixel at 100 %, two at 200 % (never a hairline).
TEST(HighDpi, LinesAxesAndCurvesAreOneLogicalPixelWide) {
    for (const Probe& probe : probes()) {
        SCOPED_TRACE(probe.what);
        const QImage normal = renderClient([&](QPainter& p) { probe.paint(p, test::viewResources()); });
        EXPECT_EQ(lineThickness(normal, probe.at, probe.colour, probe.line), 1);
        const QImage doubled = renderClient([&](QPainter& p) { probe.paint(p, doubleResources()); }, 2.0);
        EXPECT_EQ(lineThickness(doubled, probe.at, probe.colour, probe.line), 2);
    }
}

// The pictures carry every pixel of the screen: made at twice the size, drawn at their logical size,
// and not 1× pictures blown up into 2 × 2 blocks.
TEST(HighDpi, PicturesAreMadeAtTheScreensPixelDensity) {
    const ViewResources &r = doubleResources(), &normal = test::viewResources();
    const auto pictures = [](const ViewResources& v) {
        return std::vector<const QImage*>{&v.filterTexture,  &v.paperTexture, &v.tippingTexture,
                                          &v.tobaccoTexture, &v.barTexture,   &v.logo};
    };
    for (std::size_t i = 0; i < pictures(r).size(); ++i) {
        const QImage &picture = *pictures(r)[i], &single = *pictures(normal)[i];
        EXPECT_EQ(picture.devicePixelRatio(), 2.0) << i;
        EXPECT_EQ(picture.size(), single.size() * 2) << i;
        EXPECT_EQ(picture.deviceIndependentSize(), QSizeF(single.size())) << i;
    }

    const CigaretteDesign d = test::syntheticDesign();
    const QImage view = renderClient([&](QPainter& p) { drawStationaryFlowView(p, r, d); }, 2.0);
    // The tobacco strip (client y 25 to 55, right of the filter): its 2 × 2 blocks are not all uniform.
    int detailedBlocks = 0;
    for (int y = 2 * 30; y < 2 * 50; y += 2)
        for (int x = 2 * 500; x < 2 * 700; x += 2) {
            const QRgb c = view.pixel(x, y);
            if (view.pixel(x + 1, y) != c || view.pixel(x, y + 1) != c || view.pixel(x + 1, y + 1) != c)
                ++detailedBlocks;
        }
    EXPECT_GT(detailedBlocks, 1000);

    // Bars stay solid rectangles of their stripe's colour, to the last image pixel.
    const CigaretteDesign puffs = test::syntheticDesign(4);  // bar width 20
    const QImage bars = renderClient([&](QPainter& p) { drawPuffView(p, r, puffs, -1); }, 2.0);
    const int x0 = 80 + 20;  // the first puff's first bar
    for (int y = 2 * 200; y < 2 * 224; ++y)
        for (int x = 2 * x0; x < 2 * (x0 + 20); ++x)
            ASSERT_EQ(bars.pixelColor(x, y), palette::barLightGreen) << x << "," << y;
}

TEST(HighDpi, TheIconHasAPictureForEverySizeAtTwiceThePixels) {
    const QIcon icon = makeApplicationIcon();
    for (int size : {16, 24, 32, 64, 128}) {
        const QPixmap pixmap = icon.pixmap(QSize(size, size), 2.0);
        EXPECT_EQ(pixmap.size(), QSize(2 * size, 2 * size)) << size;
        EXPECT_EQ(pixmap.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied),
                  makeApplicationIconImage(2 * size))
            << size;
    }
}

}  // namespace
}  // namespace veltrano
