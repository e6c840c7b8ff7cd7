#pragma once

#include <optional>
#include <string_view>

#include <QSize>

#include "core/design/DesignSet.h"
#include "render/views/ViewResources.h"
#include "render/views/Views.h"

class QPainter;

namespace veltrano {

// What the main window's client area shows: one of the four views (numbered as the view modes) or
// the raw listing of the three designs.
enum class ViewKind { Stationary = 1, Yields = 2, Puffs = 3, Summary = 4, Listing = 5 };

// "stationary", "yields", "puffs", "summary", "listing".
std::optional<ViewKind> viewKindNamed(std::string_view name);

// Everything a view is drawn from.
struct ViewScene {
    const DesignSet& designs;
    ViewKind kind;
    bool puffByPuffValid = true;  // the summary's puff table is filled only then
    int hoveredPuff = -1;         // the puff of the "Puff data" column of view 3
};

// The client area's picture: the logo, then the view or the listing. The window, the exports and the
// clipboard all draw through here.
void paintView(QPainter& painter, const ViewResources& resources, const ViewScene& scene);

// The canvas a view is laid out on: the client area of the main window, 1024 × 768; the listing
// takes as much more as it reaches.
inline constexpr QSize kViewCanvas{1024, 768};
QSize viewCanvasSize(const ViewResources& resources, const ViewScene& scene);

}  // namespace veltrano
