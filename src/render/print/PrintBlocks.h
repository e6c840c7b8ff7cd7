#pragma once

#include <QPoint>

#include "core/design/DesignSet.h"

class QPainter;

namespace veltrano {

// The blocks of the printed sheet. Each draws in its own sheet units with the origin moved to
// `origin`, in black on white, and leaves the painter as it found it. The painter's font on entry
// is the page font.

// Pens of the sheet, in sheet units: frames, rules, axes and thin curves; thick curves.
inline constexpr int kThinPen = 1, kThickPen = 5;

// Parameters and results of both designs, 885 × 1140 each.
void printParameterTable(QPainter& painter, QPoint origin, const DesignSet& designs);
void printResultTable(QPainter& painter, QPoint origin, const DesignSet& designs);

// Suction and flow along the current cigarette, perforation open (thick) and closed (thin).
void printStationaryChart(QPainter& painter, QPoint origin, const CigaretteDesign& current);

// Puff curves and characteristics: the ISO row at the origin, the alternative row 600 below.
void printPuffCharts(QPainter& painter, QPoint origin, const CigaretteDesign& current);

// What the thick and thin lines of the charts stand for.
void printChartLegend(QPainter& painter, QPoint origin, const CigaretteDesign& current);

// The information text, wrapped inside its box and cut off below it.
void printInformation(QPainter& painter, QPoint origin, const InformationText& text);

// The per-puff results in eleven columns; filled only under the condition of puffTableFilled.
void printPuffTable(QPainter& painter, QPoint origin, const CigaretteDesign& current, bool puffByPuffValid);

// The product word mark at the top left, the maker's name and emblem at the top right.
void printHeader(QPainter& painter);

}  // namespace veltrano
