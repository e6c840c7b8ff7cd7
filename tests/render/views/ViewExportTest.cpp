#include <QBuffer>
#include <QImageReader>
#include <QRegularExpression>

#include "SyntheticDesign.h"
#include "ViewTestSupport.h"
#include "render/resources/Palette.h"
#include "render/views/ViewExport.h"

namespace veltrano {
namespace {

using test::viewResources;

TEST(ViewExport, FormatsFromFileNamesAndScalesInRange) {
    EXPECT_EQ(exportFormatOf("view.png"), ExportFormat::Png);
#ifdef VELTRANO_HAVE_SVG
    EXPECT_EQ(exportFormatOf("/a.b/VIEW.SVG"), ExportFormat::Svg);
#else
    EXPECT_EQ(exportFormatOf("/a.b/VIEW.SVG"), std::nullopt);  // a build without Qt SVG writes none
    EXPECT_TRUE(renderViewFile(viewResources(), {test::syntheticDesignSet(), View::Yields}, ExportFormat::Svg)
                    .isEmpty());
#endif
    EXPECT_EQ(exportFormatOf("veltrano 4.1.pdf"), ExportFormat::Pdf);
    for (const char* name : {"view", "view.jpg", "veltrano 4.1", "png"})
        EXPECT_EQ(exportFormatOf(name), std::nullopt);
    for (double scale : {0.25, 1.0, 2.0, 4.0}) EXPECT_TRUE(validExportScale(scale)) << scale;
    for (double scale : {0.0, -1.0, 4.5, std::nan(""), HUGE_VAL})
        EXPECT_FALSE(validExportScale(scale)) << scale;
}

TEST(ViewExport, PngAtScaleTwoHasTwiceThePixelsOfTheCanvas) {
    const DesignSet designs = test::syntheticDesignSet();
    const ViewScene scene{designs, View::StationaryFlow};
    QByteArray bytes = renderViewFile(viewResources(), scene, ExportFormat::Png, 2.0);
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer, "png");
    EXPECT_EQ(reader.size(), QSize(2048, 1536));
    const QImage image = reader.read();
    // The result box is filled at (380, 472) of the view, twice as far in the picture.
    EXPECT_EQ(image.pixelColor(2 * 380, 2 * 472), palette::panelGrey);
    EXPECT_EQ(image.pixelColor(2 * 380 + 1, 2 * 472 + 1), palette::panelGrey);
    EXPECT_EQ(image.pixelColor(2 * 1000, 2 * 700), palette::white);
    EXPECT_TRUE(renderViewFile(viewResources(), scene, ExportFormat::Png, 9.0).isEmpty());
}

#ifdef VELTRANO_HAVE_SVG
TEST(ViewExport, SvgKeepsTheTextsAsTextsInTheFamilyDrawn) {
    const DesignSet designs = test::syntheticDesignSet();
    const std::string svg =
        renderViewFile(viewResources(), {designs, View::Yields}, ExportFormat::Svg).toStdString();
    ASSERT_FALSE(svg.empty());
    for (const char* text : {">ISO Smoking Regime<", ">Alternative Smoking Regime<", ">Flow at mouth end<",
                             ">Carbon Monoxide (CO)<", ">cm\xc2\xb3/s<"})
        EXPECT_NE(svg.find(text), std::string::npos) << text;
    EXPECT_NE(svg.find("font-family=\"Liberation Sans\""), std::string::npos);
    EXPECT_EQ(svg.find("MS Sans Serif"), std::string::npos);
    // The pictures of the stationary view go in as embedded images.
    const std::string stationary =
        renderViewFile(viewResources(), {designs, View::StationaryFlow}, ExportFormat::Svg).toStdString();
    EXPECT_NE(stationary.find("<image"), std::string::npos);
    EXPECT_NE(stationary.find("data:image/png;base64,"), std::string::npos);
}
#endif

TEST(ViewExport, PdfIsOnePageOfVectors) {
    const DesignSet designs = test::syntheticDesignSet(12);
    const QByteArray pdf = renderViewFile(viewResources(), {designs, View::Summary}, ExportFormat::Pdf);
    EXPECT_TRUE(pdf.startsWith("%PDF"));
    EXPECT_EQ(pdf.count("/Type /Page\n") + pdf.count("/Type /Page "), 1);
    // The page has the canvas's size at 96 pixels per inch: 768 × 576 points.
    EXPECT_TRUE(pdf.contains("/MediaBox [0 0 768.000000 576.000000]"));
}

TEST(ViewExport, TheListingCanvasReachesAsFarAsTheListing) {
    DesignSet designs = test::syntheticDesignSet(9);
    const ViewScene listing{designs, View::StationaryFlow, true, -1, true};
    const QSize extent = recordListingExtent(viewResources(), designs);
    EXPECT_GT(extent.height(), 74 * 12);  // 75 lines 12 pixels apart
    EXPECT_EQ(viewCanvasSize(viewResources(), listing), kViewCanvas.expandedTo(extent));
    EXPECT_EQ(viewCanvasSize(viewResources(), {designs, View::Summary}), kViewCanvas);
    // The last line, the current design's CO per puff, is in the picture.
    const QImage image = renderDrawingImage(viewResources(), viewDrawing(viewResources(), listing), 1.0);
    ASSERT_EQ(image.height(), viewCanvasSize(viewResources(), listing).height());
    bool olive = false;
    for (int x = 600; x < 700 && !olive; ++x)
        for (int y = 74 * 12; y < image.height() && !olive; ++y)
            olive = image.pixelColor(x, y) != QColor(Qt::white);
    EXPECT_TRUE(olive);
}

}  // namespace
}  // namespace veltrano
