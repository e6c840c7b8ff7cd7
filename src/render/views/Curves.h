#pragma once

#include <QPolygon>
#include <functional>
#include <vector>

namespace veltrano {

// Entry i of a record array, 0 when the array is shorter (a design without arrays).
double entryOf(const std::vector<double>& values, std::size_t i);

// A value axis of a curve: the value v lies at origin − int(v × scale) (upward) or
// origin + int(v × scale) (to the right).
struct CurveAxis {
    int origin;
    double scale;
};
int upFrom(const CurveAxis& axis, double value);
int rightFrom(const CurveAxis& axis, double value);

// A curve of `points` points from an array of `entries` samples: point i takes entry
// floor(entries × i / points) and lies at x = column(i), y = upFrom(y, entry). With as many points
// as entries (the profiles along the cigarette) every entry gives one point.
QPolygon sampledCurve(const std::vector<double>& values, int entries, int points,
                      const std::function<int(int)>& column, const CurveAxis& y);

// A characteristic curve from a table over flow: entries 1 to 199 (entry 0 is skipped), x from
// the flow grid entry and y from the table entry of the same index.
inline constexpr int kFirstTableEntry = 1, kLastTableEntry = 199;
QPolygon tableCurve(const std::vector<double>& flow, const std::vector<double>& values, const CurveAxis& x,
                    const CurveAxis& y);

}  // namespace veltrano
