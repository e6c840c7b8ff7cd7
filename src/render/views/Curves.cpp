#include "render/views/Curves.h"

#include "render/views/Axis.h"

namespace veltrano {

double entryOf(const std::vector<double>& values, std::size_t i) {
    return i < values.size() ? values[i] : 0.0;
}

int upFrom(const CurveAxis& axis, double value) {
    return axis.origin - axisOffset(value, axis.scale);
}

int rightFrom(const CurveAxis& axis, double value) {
    return axis.origin + axisOffset(value, axis.scale);
}

QPolygon sampledCurve(const std::vector<double>& values, int entries, int points,
                      const std::function<int(int)>& column, const CurveAxis& y) {
    QPolygon curve(points);
    for (int i = 0; i < points; ++i) {
        const auto entry = static_cast<std::size_t>(static_cast<long long>(entries) * i / points);
        curve[i] = QPoint(column(i), upFrom(y, entryOf(values, entry)));
    }
    return curve;
}

QPolygon tableCurve(const std::vector<double>& flow, const std::vector<double>& values, const CurveAxis& x,
                    const CurveAxis& y) {
    QPolygon curve;
    curve.reserve(kLastTableEntry - kFirstTableEntry + 1);
    for (std::size_t j = kFirstTableEntry; j <= kLastTableEntry; ++j)
        curve << QPoint(rightFrom(x, entryOf(flow, j)), upFrom(y, entryOf(values, j)));
    return curve;
}

}  // namespace veltrano
