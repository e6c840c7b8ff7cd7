#include <QPainter>
#include <algorithm>

#include "render/resources/Palette.h"
#include "render/views/Axis.h"
#include "render/views/ChartAxes.h"
#include "render/views/ChartText.h"
#include "render/views/Curves.h"
#include "render/views/PainterScopes.h"
#include "render/views/TableDrawing.h"
#include "render/views/ValueText.h"
#include "render/views/Views.h"

namespace veltrano {

namespace {

// The view is laid out 40 pixels below the client top.
constexpr int kViewTop = 40;
constexpr int kPlotLeft = 120, kPlotRight = 720, kPlotBottom = 380, kPlotTop = 80;
constexpr int kPlotWidth = kPlotRight - kPlotLeft, kPlotHeight = kPlotBottom - kPlotTop;

const TickStyle kVerticalTicks{6, 6, 2, "%i", 10};
const TickStyle kLengthTicks{4, 7, 5, "%i", 9};

void drawProfileCurve(QPainter& painter, const std::vector<double>& values, double scale,
                      const QColor& colour) {
    painter.setPen(screenPen(colour));
    painter.drawPolyline(sampledCurve(values, kProfileSamples, kProfileSamples,
                                      [](int i) { return kPlotLeft + 1 + 2 * i; }, {kPlotBottom - 1, scale}));
}

void drawLegendEntry(QPainter& painter, int y, const QColor& colour, const char* name) {
    PainterScope scope(painter);
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.setBackground(palette::white);
    drawLegendLine(painter, screenPen(colour), 130, 160, y, 163, y - 7, name);
}

void drawResultBox(QPainter& painter, const ViewResources& resources, const CigaretteDesign& d) {
    PainterScope scope(painter);
    const QRect box(60, 430, 670, 105);
    constexpr int rowHeight = 20, textInset = 3, divider = 395;
    fillPanel(painter, box, palette::panelGrey);
    painter.setFont(resources.titleFont);
    painter.setPen(palette::textGrey);

    struct Row {
        const char* label;
        std::string value;
        const char* unit;
    };
    const Row left[] = {
        {"Open draw resistance", valueText("%.1f", d.stat_pdo), "mm H2O"},
        {"Closed draw resistance", valueText("%.1f", d.stat_pdc), "mm H2O"},
        {"Degree of filter ventilation", valueText("%.1f", d.stat_fivent), "%"},
        {"Degree of rod ventilation", valueText("%.1f", d.stat_rovent), "%"},
        {"Total degree of ventilation", valueText("%.1f", d.stat_fivent + d.stat_rovent), "%"},
    };
    const bool puff = d.isKnown(KnownBit::IsoPuffNumber), nico = d.isKnown(KnownBit::IsoNicotine),
               tar = d.isKnown(KnownBit::IsoTar), co = d.isKnown(KnownBit::IsoCo);
    const Row right[] = {
        {"Puff number", valueOr(puff, "%.2f", d.iso_puff, "--.--"), ""},
        {"Dry particulate matter (DPM)", valueOr(tar && nico, "%.2f", d.iso_nfdpm + d.iso_nico, "--.--"),
         "mg/cig"},
        {"Nicotine-free DPM ('tar')", valueOr(tar, "%.2f", d.iso_nfdpm, "--.--"), "mg/cig"},
        {"Nicotine", valueOr(nico, "%.2f", d.iso_nico, "--.--"), "mg/cig"},
        {"Carbon monoxide (CO)", valueOr(co, "%.2f", d.iso_co, "--.--"), "mg/cig"},
    };
    for (int r = 0; r < 5; ++r) {
        const int y = box.top() + r * rowHeight + textInset;
        drawText(painter, box.left() + 5, y, left[r].label);
        drawValueWithUnit(painter, 320, y, left[r].value, left[r].unit);
        drawText(painter, 400, y, right[r].label);
        drawValueWithUnit(painter, 665, y, right[r].value, right[r].unit);
    }

    painter.setPen(screenPen(palette::frameGrey));
    drawFrame(painter, box, palette::frameGrey);
    drawVerticalRule(painter, divider, box.top(), box.bottom());
    for (int r = 1; r < 5; ++r)
        drawHorizontalRule(painter, box.top() + r * rowHeight, box.left(), box.right());
}

// Copies the left `width` columns of a texture to (x, y), as far as the texture reaches.
void drawTexturePiece(QPainter& painter, int x, int y, const QImage& texture, int width) {
    const QSize size = texture.deviceIndependentSize().toSize();
    width = std::min(width, size.width());
    if (width > 0) drawImagePiece(painter, QPoint(x, y), texture, QRect(0, 0, width, size.height()));
}

// Two strips above the chart: filter and tobacco rod, tipping and cigarette paper, to scale.
void drawPictures(QPainter& painter, const ViewResources& resources, const CigaretteDesign& d, double scale) {
    constexpr int upperStrip = 25 - kViewTop, lowerStrip = 55 - kViewTop;  // client y 25 and 55
    const int filterEnd = axisOffset(d.fi_len, scale), tippingEnd = axisOffset(d.tp_width, scale);
    drawTexturePiece(painter, kPlotLeft, upperStrip, resources.filterTexture,
                     toPixels(scale * d.fi_len * 1.1));
    drawTexturePiece(painter, filterEnd + 118, upperStrip, resources.tobaccoTexture, 602 - filterEnd);
    drawTexturePiece(painter, kPlotLeft, lowerStrip, resources.tippingTexture,
                     toPixels(scale * d.tp_width * 1.1));
    drawTexturePiece(painter, tippingEnd + 118, lowerStrip, resources.paperTexture, 602 - tippingEnd);
}

}  // namespace

void drawStationaryFlowView(QPainter& painter, const ViewResources& resources, const CigaretteDesign& d) {
    BlockScope block(painter, 0, kViewTop);
    beginView(painter, resources.labelFont);
    const StationaryAxes axes = stationaryAxes(d);

    drawAxisLine(painter, {60, 385}, {60, 70}, kScreenArrow);
    drawAxisLine(painter, {kPlotLeft, 385}, {kPlotLeft, 70}, kScreenArrow);
    drawAxisLine(painter, {55, kPlotBottom}, {730, kPlotBottom}, kScreenArrow);

    const TickAxis pressure{AxisDirection::Up, 60, kPlotBottom, kPlotTop, kPlotHeight, axes.pressure};
    drawTicks(painter, pressure, kVerticalTicks);
    drawText(painter, 50, 45, "p", Anchor::Right);
    drawText(painter, 50, 60, "mm H2O", Anchor::Right);

    const TickAxis flow{AxisDirection::Up, kPlotLeft, kPlotBottom, kPlotTop, kPlotHeight, axes.flow};
    drawTicks(painter, flow, kVerticalTicks);
    drawText(painter, 110, 45, "V", Anchor::Right);
    drawText(painter, 110, 60, "cm³/s", Anchor::Right);

    const TickAxis length{AxisDirection::Right, kPlotBottom, kPlotLeft, kPlotRight, kPlotWidth, axes.length};
    drawTicks(painter, length, kLengthTicks);
    drawText(painter, 730, kPlotBottom + kLengthTicks.labelGap, "mm", Anchor::Centre);

    {
        PainterScope scope(painter);
        painter.setPen(screenPen(palette::noteGrey, Qt::DotLine));
        for (double at : {d.tp_perfopos - d.tp_perfowidth / 2, d.tp_perfopos + d.tp_perfowidth / 2, d.fi_len,
                          d.tp_width}) {
            const int x = axisPosition(length, at);
            painter.drawLine(x, kPlotBottom, x, 45);
        }
    }

    const double pressureScale = axisScale(kPlotHeight, axes.pressure),
                 flowScale = axisScale(kPlotHeight, axes.flow);
    drawProfileCurve(painter, d.stat_pres_closed, pressureScale, palette::darkGreen);
    drawLegendEntry(painter, 368, palette::darkGreen, "pressure unventilated");
    drawProfileCurve(painter, d.stat_flow_closed, flowScale, palette::darkBlue);
    drawLegendEntry(painter, 338, palette::darkBlue, "flow rate unventilated");
    drawProfileCurve(painter, d.stat_pres_open, pressureScale, palette::lightGreen);
    drawLegendEntry(painter, 353, palette::lightGreen, "pressure ventilated");
    drawProfileCurve(painter, d.stat_flow_open, flowScale, palette::lightBlue);
    drawLegendEntry(painter, 323, palette::lightBlue, "flow rate ventilated");

    drawResultBox(painter, resources, d);
    drawPictures(painter, resources, d, axisScale(kPlotWidth, axes.length));
}

}  // namespace veltrano
