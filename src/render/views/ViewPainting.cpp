#include "render/views/ViewPainting.h"

#include <QPainter>

namespace veltrano {

std::optional<ViewKind> viewKindNamed(std::string_view name) {
    constexpr std::pair<std::string_view, ViewKind> names[] = {{"stationary", ViewKind::Stationary},
                                                               {"yields", ViewKind::Yields},
                                                               {"puffs", ViewKind::Puffs},
                                                               {"summary", ViewKind::Summary},
                                                               {"listing", ViewKind::Listing}};
    for (const auto& [text, kind] : names)
        if (text == name) return kind;
    return std::nullopt;
}

void paintView(QPainter& painter, const ViewResources& resources, const ViewScene& scene) {
    drawLogo(painter, resources);
    const DesignSet& d = scene.designs;
    switch (scene.kind) {
        case ViewKind::Stationary:
            drawStationaryFlowView(painter, resources, d.currentDesign);
            break;
        case ViewKind::Yields:
            drawYieldsView(painter, resources, d.currentDesign);
            break;
        case ViewKind::Puffs:
            drawPuffView(painter, resources, d.currentDesign, scene.hoveredPuff);
            break;
        case ViewKind::Summary:
            drawSummaryView(painter, resources, d, scene.puffByPuffValid);
            break;
        case ViewKind::Listing:
            drawRecordListings(painter, resources, d);
            break;
    }
}

QSize viewCanvasSize(const ViewResources& resources, const ViewScene& scene) {
    if (scene.kind != ViewKind::Listing) return kViewCanvas;
    return kViewCanvas.expandedTo(recordListingExtent(resources, scene.designs));
}

}  // namespace veltrano
