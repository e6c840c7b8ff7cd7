#include <QBuffer>
#include <QFontMetrics>
#include <QPdfWriter>
#include <QRegularExpression>
#include <algorithm>
#include <limits>

#include <gtest/gtest.h>

#include "PrintTestSupport.h"
#include "render/print/PrintedPage.h"
#include "render/print/SheetFonts.h"
#include "render/resources/Palette.h"

namespace veltrano {
namespace {

using test::fullDesignSet;
using test::recordSheet;
using test::renderPage;

bool dark(const QImage& image, int x, int y) {
    return qGray(image.pixel(x, y)) < 128;
}

// Whether any pixel of the rectangle is not white.
bool inked(const QImage& image, const QRect& area) {
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255)) return true;
    return false;
}

bool overlap(const QRectF& a, const QRectF& b) {
    return a.left() < b.right() && b.left() < a.right() && a.top() < b.bottom() && b.top() < a.bottom();
}

// The area a straight line of the thin pen covers.
QRectF lineArea(const QLineF& line) {
    return QRectF(QPointF(std::min(line.x1(), line.x2()), std::min(line.y1(), line.y2())),
                  QPointF(std::max(line.x1(), line.x2()) + 1, std::max(line.y1(), line.y2()) + 1));
}

TEST(PrintedPage, PageFontFitsItsRows) {
    // Sized in sheet units, not in points of the device: on a 1200 dpi printer too.
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    QPdfWriter printer(&pdf);
    printer.setResolution(1200);
    const QFont page = sheetFont(kPageFontSize);
    EXPECT_LT(QFontMetrics(page, &printer).height(), 30);
    EXPECT_GE(QFontMetrics(page, &printer).height(), kPageFontSize);
    const auto sheet = recordSheet(fullDesignSet(), true);
    const auto row = sheet->find("Diffusion Capacity");
    ASSERT_EQ(row.size(), 1u);
    EXPECT_LT(row.front().cell.height(), 30);
}

TEST(PrintedPage, LandscapePageIsScaledToItsHeight) {
    EXPECT_EQ(sheetViewport({1500, 1000}), QRect(0, 0, 667, 1000));
    EXPECT_EQ(sheetViewport({1000, 3000}), QRect(0, 0, 1000, 1500));

    const QImage image = renderPage(fullDesignSet(), true, {1500, 1000});
    EXPECT_FALSE(inked(image, QRect(668, 0, 1500 - 668, 1000)));
    // The puff table's frame reaches down to sheet y 2889 and across to sheet x 1969.
    EXPECT_TRUE(inked(image, QRect(60, 955, 560, 15)));
    EXPECT_TRUE(inked(image, QRect(650, 880, 12, 80)));
}

TEST(PrintedPage, FramesAxesAndHeaderStandWhereTheLayoutPutsThem) {
    const QImage image = renderPage(fullDesignSet(), true, {kSheetWidth, kSheetHeight});
    const QPoint lines[] = {
        {150, 800},  {1034, 800},  {600, 220},   {600, 300},    // parameter table frame and title rule
        {1085, 800}, {1969, 800},  {1500, 530},  {1590, 700},   // result table: frame, band rule, column rule
        {150, 2300}, {889, 2300},  {500, 2220},                 // information box and its rule
        {150, 2700}, {1969, 2700}, {1000, 2889}, {1850, 2640},  // puff table: frame and last column rule
        {200, 1700}, {270, 1700},  {500, 1940},                 // stationary chart axes
        {990, 1700}, {1390, 1700}, {1460, 1700}, {1700, 1940},  // ISO puff and characteristic axes
        {990, 2300}, {1700, 2540},                              // alternative row, 600 lower
    };
    for (QPoint p : lines) EXPECT_TRUE(dark(image, p.x(), p.y())) << p.x() << "," << p.y();
    // Filled arrowheads: inside the triangle at the top of the suction axis.
    EXPECT_TRUE(dark(image, 150 + 50 + 2, 1390 + 20));
    // The header: the product mark, its grey run and the maker's emblem.
    EXPECT_TRUE(inked(image, QRect(150, 110, 280, 65)));
    EXPECT_TRUE(inked(image, QRect(560, 110, 100, 65)));
    EXPECT_TRUE(dark(image, 1830, 100));
    // Black on white: the tables have no fill.
    EXPECT_EQ(image.pixelColor(450, 1300), QColor(Qt::white));
}

TEST(PrintedPage, NoTextCrossesARuleOrAnotherText) {
    for (const DesignSet& set : {fullDesignSet(), test::syntheticDesignSet(0)}) {
        const auto sheet = recordSheet(set, true);
        ASSERT_GT(sheet->texts().size(), 200u);
        ASSERT_GT(sheet->lines().size(), 100u);
        for (const auto& text : sheet->texts()) {
            for (const QLineF& line : sheet->lines())
                EXPECT_FALSE(overlap(text.cell, lineArea(line)))
                    << text.text.toStdString() << " at " << text.cell.x() << "," << text.cell.y()
                    << " crosses " << line.x1() << "," << line.y1() << "-" << line.x2() << "," << line.y2();
            for (const auto& other : sheet->texts()) {
                if (&other == &text) continue;
                EXPECT_FALSE(overlap(text.cell, other.cell))
                    << text.text.toStdString() << " overlaps " << other.text.toStdString();
            }
        }
    }
}

// The cell of the text whose right edge or centre lies at x on row top y.
QString textAt(const test::SheetRecorder& sheet, double x, double top) {
    for (const auto& t : sheet.texts())
        if (std::abs(t.cell.top() - top) < 0.5 && t.cell.left() <= x && x <= t.cell.right()) return t.text;
    return {};
}

TEST(PrintedPage, TablesPrintThePaperValuesInTheirColumns) {
    DesignSet set = fullDesignSet();
    set.referenceDesign.known &= ~known::bit(KnownBit::FilterVentilation);
    const auto sheet = recordSheet(set, true);
    const double rowHeight = sheet->find("Length").front().cell.height();
    // Result table, stationary rows from y 220 + 125: the reference's online ventilation as its
    // filter ventilation, no total without both measured ventilations.
    const auto filter = sheet->find("31.50");
    ASSERT_EQ(filter.size(), 1u);
    EXPECT_EQ(filter.front().cell.right(), 1085 + 830);
    EXPECT_EQ(filter.front().cell.top(), 220 + 125 + 2 * 30);
    EXPECT_EQ(textAt(*sheet, 1085 + 829, 220 + 125 + 4 * 30), "--.--");
    // Parameter table: the band's width and spacing, the paper's plug wrap placeholder.
    EXPECT_EQ(textAt(*sheet, 150 + 639, 220 + 465 + 8 * 30), "6.0/21.5");
    EXPECT_EQ(textAt(*sheet, 150 + 829, 220 + 355), "-.--");
    // Headings: bold, 5 below the band's top rule.
    const auto filterHeading = sheet->find("Filter");
    ASSERT_EQ(filterHeading.size(), 1u);
    EXPECT_EQ(filterHeading.front().cell.top(), 220 + 745);
    EXPECT_EQ(sheet->find("Current").front().cell.bottom(), 220 + 65);
    EXPECT_GT(rowHeight, 0);
}

TEST(PrintedPage, PuffTableShowsElevenColumns) {
    const auto headings = [](const DesignSet& set, bool valid) {
        const auto sheet = recordSheet(set, valid);
        std::vector<std::pair<double, QString>> band;
        for (const auto& t : sheet->texts())
            if (std::abs(t.cell.bottom() - (2590 + 65)) < 0.5 && t.cell.left() > 150 + 500)
                band.push_back({t.cell.center().x() - 150, t.text});
        std::sort(band.begin(), band.end());
        std::vector<QString> texts;
        for (std::size_t c = 0; c < band.size(); ++c) {
            EXPECT_NEAR(band[c].first, 560 + 120 * double(c), 1.0) << c;
            texts.push_back(band[c].second);
        }
        return texts;
    };
    using Headings = std::vector<QString>;
    EXPECT_EQ(headings(test::syntheticDesignSet(11), true),
              (Headings{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"}));
    EXPECT_EQ(headings(test::syntheticDesignSet(12), true),
              (Headings{"1", "2", "3", "4", "5", ".....", "8", "9", "10", "11", "12"}));
    EXPECT_TRUE(headings(test::syntheticDesignSet(12), false).empty());

    // Puff 12 is six tenths of a puff: its "Puff" row, right-aligned at x 600 + 120 × 10.
    const auto sheet = recordSheet(test::syntheticDesignSet(12), true);
    EXPECT_EQ(textAt(*sheet, 150 + 1799, 2590 + 85 + 3 * 30), "0.60");
    EXPECT_EQ(sheet->find(".....").size(), 8u);
    EXPECT_EQ(textAt(*sheet, 150 + 21, 2590 + 85 + 4 * 30), "Nicotine-free DPM ('tar')");
}

TEST(PrintedPage, InformationIsWrappedInsideItsBox) {
    const QRectF area(150 + 20, 2140 + 85, 700, 321);
    const auto informationLines = [&](const DesignSet& set) {
        std::vector<test::SheetRecorder::Text> inside;
        const auto sheet = recordSheet(set, true);
        for (const auto& t : sheet->texts())
            if (t.cell.intersects(area)) inside.push_back(t);
        return inside;
    };
    DesignSet set = test::syntheticDesignSet(0);
    EXPECT_TRUE(informationLines(set).empty());

    // Up to the first zero byte; "&" stays; Windows-1252 "é" (0xE9) is decoded.
    test::setInformation(set, "Caf\xE9 & bar\r\nsecond line");
    set.informationText[24] = 'x';
    auto lines = informationLines(set);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].text, QString::fromUtf8("Café & bar"));
    EXPECT_EQ(lines[1].text, "second line");
    EXPECT_EQ(lines[0].cell.topLeft(), area.topLeft());

    // 511 bytes of words: wrapped into lines of the box's width, cut off at its bottom.
    std::string words;
    while (words.size() < 500) words += "filter ventilation ";
    test::setInformation(set, words.c_str());
    lines = informationLines(set);
    ASSERT_GT(lines.size(), 5u);
    for (const auto& line : lines) {
        EXPECT_TRUE(area.contains(line.cell)) << line.text.toStdString();
        EXPECT_FALSE(line.text.startsWith(' '));
    }
    std::string many;
    for (int i = 0; i < 100; ++i) many += "x\r\n";
    test::setInformation(set, many.c_str());
    lines = informationLines(set);
    ASSERT_FALSE(lines.empty());
    EXPECT_LT(lines.size(), 20u);
    for (const auto& line : lines) EXPECT_TRUE(area.contains(line.cell));
}

TEST(PrintedPage, LegendAndCurvesFollowThePerforation) {
    DesignSet set = fullDesignSet();
    const auto perforated = recordSheet(set, true);
    EXPECT_EQ(perforated->find("pressure at perforation").size(), 1u);
    // Four stationary curves, and per row two puff curves and four characteristics.
    EXPECT_EQ(perforated->polylines(), 4 + 2 * (2 + 4));
    set.currentDesign.tp_perfotype = kNoPerforation;
    const auto plain = recordSheet(set, true);
    EXPECT_TRUE(plain->find("pressure at perforation").empty());
    EXPECT_EQ(plain->polylines(), 4 + 2 * (2 + 3));
}

TEST(PrintedPage, DesignsWithoutDataOrWithWildValuesStillPrintTheirFrames) {
    DesignSet wild = fullDesignSet();
    CigaretteDesign& d = wild.currentDesign;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    d.stat_pres_open[0] = nan, d.stat_flow_closed[0] = 1e308, d.ci_len = -1e308, d.alt_duration = nan;
    d.iso_tab_pdo[199] = std::numeric_limits<double>::infinity(), d.alt_tab_flow[199] = -4.0;
    d.iso_prof_flow[10] = -1e300, d.puff_number = 1 << 30;
    DesignSet bare;
    bare.currentDesign = CigaretteDesign(ArrayMode::NoArrays);
    bare.currentDesign.puff_number = 5;
    for (const DesignSet* set : {&bare, &wild}) {
        const QImage image = renderPage(*set, true, {kSheetWidth, kSheetHeight});
        for (QPoint p : {QPoint(150, 800), QPoint(1969, 800), QPoint(1000, 2889), QPoint(200, 1700)})
            EXPECT_TRUE(dark(image, p.x(), p.y())) << p.x() << "," << p.y();
    }
}

// Values that are not numbers print as their cell's dashes, huge ones in a short exponent form that
// stays inside its column (from the rule at x 505 to the one at 695 of the table at (150, 220)).
TEST(PrintedPage, NonFiniteAndHugeValuesStayInTheirCells) {
    const QRegularExpression rawNonFinite("\\b(nan|inf)\\b", QRegularExpression::CaseInsensitiveOption);
    DesignSet set = fullDesignSet();
    CigaretteDesign& d = set.currentDesign;
    d.fi_len = std::numeric_limits<double>::quiet_NaN();
    d.fi_diam = -1e300;
    d.puff_co[0] = std::numeric_limits<double>::infinity();
    const auto sheet = recordSheet(set, true);
    for (const auto& t : sheet->texts()) {
        EXPECT_FALSE(t.text.contains(rawNonFinite)) << t.text.toStdString();
    }
    // The filter section's band is 740 to 780; its rows follow 5 below it, 30 apart.
    const auto length = sheet->at(150 + 639, 220 + 785 + 10), diameter = sheet->at(150 + 639, 220 + 815 + 10);
    EXPECT_EQ(length.text, "-.--");
    EXPECT_EQ(diameter.text, "-1e+300");
    EXPECT_GT(diameter.left, 150 + 505);
    // The puff table's CO row (the seventh, at y 265) in the first column, right-aligned at 600.
    EXPECT_EQ(sheet->at(150 + 599, 2590 + 265 + 10).text, "-.--");
}

}  // namespace
}  // namespace veltrano
