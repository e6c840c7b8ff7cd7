#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/design/CigaretteDesign.h"
#include "core/design/ErrorMessages.h"

namespace veltrano {

// A puff shape: `count` relative flow values for evenly spaced moments of the puff, first at its start
// and last at its end; the slots beyond `count` are not used.
struct PuffShape {
    std::array<double, kShapeSlots> values{};
    int count = 0;
    friend bool operator==(const PuffShape&, const PuffShape&) = default;
};

// The built-in shapes, in the order of their radio buttons.
enum class BuiltInShape { Sine, Rectangle, Triangle, Ramp };
inline constexpr std::array<std::string_view, 4> kBuiltInShapeLabels{"Sinus (ISO)", "Rectangle", "Triangle",
                                                                     "Ramp"};

// Sine: sin(pi i / 400) for 400 points; rectangle 1, 1; triangle 0, 1, 0; ramp 0, 1. Unused slots are 0.
PuffShape builtInShape(BuiltInShape shape);

// Puff shape files.
inline constexpr int kPuffShapeFileUnreadable = kErrorPuffShapeNotReadable;
inline constexpr int kPuffShapeTooFewPoints = kErrorPuffShapeTooFewPoints;
// No puff shape file comes near this: 400 points of at most 249 characters are under 100 KiB.
inline constexpr std::uint64_t kPuffShapeFileCap = std::uint64_t{1} << 20;

// Reads a puff shape file: one value a line, lines longer than 249 characters counting as several,
// commas taken as decimal points, lines without a digit skipped, each line's leading number read as a
// field is read, negative values skipped, at most 400 points, all divided by the largest.
// Returns 0 and fills `shape`, or the error number, leaving `shape` as it was: 50 when the path names
// no regular file that can be read (a directory, pipe or device is never opened), 51 when the file
// gives fewer than two points or no positive peak, or is larger than kPuffShapeFileCap.
int readPuffShapeFile(const std::string& path, PuffShape& shape);
int parsePuffShape(std::string_view text, PuffShape& shape);

// "Load from file", on the regime page and in the command-line tool's build: reads the file and
// reports 50 or 51 when it gives no shape. Returns 0 or the number reported.
int loadPuffShapeFile(const std::string& path, PuffShape& shape, ErrorReporter& reporter);

// The shape as a design keeps it: all 400 slots and the number of points in use.
void storePuffShape(const PuffShape& shape, DesignValues& design);
// The design's shape: all 400 slots and its number of points, taken as 2 to 400.
PuffShape puffShapeOf(const DesignValues& design);

// The preview: 120 heights in pixels, 0 to 120, of the shape sampled evenly from first to last point.
inline constexpr int kPreviewSampleCount = 120;
using PreviewSamples = std::array<int, kPreviewSampleCount>;
PreviewSamples previewSamples(const PuffShape& shape);

// Geometry of the preview box in its own pixels (origin top left, y downwards).
struct PreviewPoint {
    int x;
    int y;
    friend bool operator==(const PreviewPoint&, const PreviewPoint&) = default;
};
struct PreviewLine {
    PreviewPoint from, to;
};
struct PreviewColour {
    int red, green, blue;
};
inline constexpr int kPreviewMinWidth = 147, kPreviewMinHeight = 136;
// Drawn in black, one pixel wide, on white: the x and y axes and their arrow marks.
inline constexpr std::array<PreviewLine, 6> kPreviewAxes{{
    {{2, 132}, {146, 132}},
    {{5, 135}, {5, 3}},
    {{4, 8}, {4, 6}},
    {{6, 8}, {6, 6}},
    {{141, 133}, {143, 133}},
    {{141, 131}, {143, 131}},
}};
inline constexpr PreviewColour kPreviewCurveColour{0, 158, 224};
// The curve as one polyline: each sample at x = 6 + i, then down to the axis at x = 125.
std::vector<PreviewPoint> previewCurve(const PreviewSamples& samples);

}  // namespace veltrano
