#pragma once

#include <QRect>
#include <QSize>

#include "core/design/CigaretteDesign.h"
#include "core/design/DesignSet.h"
#include "render/views/ViewResources.h"

class QPainter;

namespace veltrano {

// The painters of the main window's client area. Each draws the whole view from the designs, in
// client coordinates, and leaves the painter as it found it.

// Where the puff columns of the puff-by-puff view lie, in client pixels: the mouse is over puff
// (x − puffAreaLeft) / puffColumnWidth when puffAreaLeft ≤ x ≤ puffAreaRight,
// puffAreaTop ≤ y ≤ puffAreaBottom and y is outside gapTop..gapBottom.
struct PuffHoverGeometry {
    int puffAreaLeft = 0, puffAreaRight = 0, puffAreaTop = 0, gapTop = 0, gapBottom = 0, puffAreaBottom = 0,
        puffColumnWidth = 1;
};

// The logo picture at (860, 24); drawn before every view and before the raw listing.
void drawLogo(QPainter& painter, const ViewResources& resources);

// View 1: suction and flow along the current cigarette, its pictures and the stationary results.
void drawStationaryFlowView(QPainter& painter, const ViewResources& resources,
                            const CigaretteDesign& current);

// View 2: puff curves and characteristics of both regimes, and the comparison table.
void drawYieldsView(QPainter& painter, const ViewResources& resources, const CigaretteDesign& current);

// View 3: per-puff bar charts, the alternative totals and the "Puff data" column of `hoveredPuff`
// (none when it is negative or not below the puff count). Draws nothing without puffs.
void drawPuffView(QPainter& painter, const ViewResources& resources, const CigaretteDesign& current,
                  int hoveredPuff);
// Where view 3 draws the puff columns of `current`; a geometry that holds no point without puffs.
PuffHoverGeometry puffHoverGeometry(const CigaretteDesign& current);

// The client rectangle of the "Puff data" heading and value cells: what the main window repaints
// when the hovered puff changes.
QRect puffDataCellsRect();

// View 4: parameters and results of both designs side by side and the per-puff table. The puff
// table is filled only when `puffByPuffValid` (the per-puff data belong to the present inputs).
void drawSummaryView(QPainter& painter, const ViewResources& resources, const DesignSet& designs,
                     bool puffByPuffValid);

// The raw listing of one design's fields in a column starting at client x.
void drawRecordListing(QPainter& painter, const ViewResources& resources, const CigaretteDesign& design,
                       int x);
// The listing of the three designs side by side: the reference at x 0, the working reference at 300
// and the current design at 600.
void drawRecordListings(QPainter& painter, const ViewResources& resources, const DesignSet& designs);
// How far the listing of the three designs reaches to the right and down, in client pixels.
QSize recordListingExtent(const ViewResources& resources, const DesignSet& designs);

}  // namespace veltrano
