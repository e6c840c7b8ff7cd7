#include "render/views/ViewPainting.h"

#include <QPainter>

namespace veltrano {

void paintView(QPainter& painter, const ViewResources& resources, const ViewScene& scene) {
    drawLogo(painter, resources);
    const DesignSet& d = scene.designs;
    if (scene.rawListing) {
        drawRecordListings(painter, resources, d);
        return;
    }
    switch (scene.view) {
        case View::StationaryFlow:
            drawStationaryFlowView(painter, resources, d.currentDesign);
            break;
        case View::Yields:
            drawYieldsView(painter, resources, d.currentDesign);
            break;
        case View::PuffByPuff:
            drawPuffView(painter, resources, d.currentDesign, scene.hoveredPuff);
            break;
        case View::Summary:
            drawSummaryView(painter, resources, d, scene.puffByPuffValid);
            break;
    }
}

QSize viewCanvasSize(const ViewResources& resources, const ViewScene& scene) {
    if (!scene.rawListing) return kViewCanvas;
    return kViewCanvas.expandedTo(recordListingExtent(resources, scene.designs));
}

}  // namespace veltrano
