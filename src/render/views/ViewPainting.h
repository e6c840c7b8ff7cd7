#pragma once

#include <QSize>

#include "core/design/DesignSet.h"
#include "render/views/ViewList.h"
#include "render/views/ViewResources.h"
#include "render/views/Views.h"

class QPainter;

namespace veltrano {

// Everything the client area is drawn from: one of the four views, or the raw listing of the three
// designs in its place.
struct ViewScene {
    const DesignSet& designs;
    View view;
    bool puffByPuffValid = true;  // the summary's puff table is filled only then
    int hoveredPuff = -1;         // the puff of the "Puff data" column of view 3
    bool rawListing = false;
};

// The client area's picture: the logo, then the view or the listing. The window, the exports and the
// clipboard all draw through here.
void paintView(QPainter& painter, const ViewResources& resources, const ViewScene& scene);

// The canvas a view is laid out on: the client area of the main window, 1024 × 768; the listing
// takes as much more as it reaches.
inline constexpr QSize kViewCanvas{1024, 768};
QSize viewCanvasSize(const ViewResources& resources, const ViewScene& scene);

}  // namespace veltrano
