#include "render/charts/Isolines.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>
#include <unordered_map>

namespace veltrano {

namespace {

// An edge between two neighbouring grid nodes: along x from node (i, j), or along y from it.
using EdgeId = long long;
EdgeId alongX(int i, int j, int ny) {
    return (static_cast<EdgeId>(i) * ny + j) * 2;
}
EdgeId alongY(int i, int j, int ny) {
    return (static_cast<EdgeId>(i) * ny + j) * 2 + 1;
}

// The sides of a cell (i, j)-(i+1, j+1): bottom at j, right at i+1, top at j+1, left at i.
enum Side { kBottom, kRight, kTop, kLeft };
struct SidePair {
    Side a, b;
};

// The segments of the marching squares in a cell whose corners above the level are `corners` (bit 0
// the corner (i, j), 1 (i+1, j), 2 (i+1, j+1), 3 (i, j+1)), as pairs of the sides they join. Where the
// corners above lie crosswise, the centre decides which of them the region above joins.
std::vector<SidePair> cellSegments(int corners, bool centreAbove) {
    switch (corners) {
        case 1:
        case 14:
            return {{kLeft, kBottom}};
        case 2:
        case 13:
            return {{kBottom, kRight}};
        case 3:
        case 12:
            return {{kLeft, kRight}};
        case 4:
        case 11:
            return {{kRight, kTop}};
        case 6:
        case 9:
            return {{kBottom, kTop}};
        case 7:
        case 8:
            return {{kLeft, kTop}};
        case 5:  // (i, j) and (i+1, j+1) above
            if (centreAbove) return {{kBottom, kRight}, {kLeft, kTop}};
            return {{kLeft, kBottom}, {kRight, kTop}};
        case 10:  // (i+1, j) and (i, j+1) above
            if (centreAbove) return {{kLeft, kBottom}, {kRight, kTop}};
            return {{kBottom, kRight}, {kLeft, kTop}};
        default:
            return {};
    }
}

struct LevelTracer {
    const std::vector<double>& values;
    int nx, ny;
    double level;
    std::unordered_map<EdgeId, QPointF> crossing;
    std::unordered_map<EdgeId, std::vector<int>> segmentsAt;
    std::vector<std::array<EdgeId, 2>> segments;

    double at(int i, int j) const { return values[static_cast<std::size_t>(i) * ny + j]; }

    // Where the level crosses the edge between nodes p and q.
    QPointF crossingOn(QPointF p, double vp, QPointF q, double vq) const {
        const double t = vq == vp ? 0.5 : (level - vp) / (vq - vp);
        return p + (q - p) * t;
    }

    EdgeId edgeOf(int i, int j, Side side) {
        const QPointF a(i, j), b(i + 1, j), c(i + 1, j + 1), d(i, j + 1);
        EdgeId id = 0;
        QPointF point;
        switch (side) {
            case kBottom:
                id = alongX(i, j, ny);
                point = crossingOn(a, at(i, j), b, at(i + 1, j));
                break;
            case kRight:
                id = alongY(i + 1, j, ny);
                point = crossingOn(b, at(i + 1, j), c, at(i + 1, j + 1));
                break;
            case kTop:
                id = alongX(i, j + 1, ny);
                point = crossingOn(d, at(i, j + 1), c, at(i + 1, j + 1));
                break;
            case kLeft:
                id = alongY(i, j, ny);
                point = crossingOn(a, at(i, j), d, at(i, j + 1));
                break;
        }
        crossing.emplace(id, point);
        return id;
    }

    void traceCells() {
        for (int i = 0; i + 1 < nx; ++i) {
            for (int j = 0; j + 1 < ny; ++j) {
                const double v[4] = {at(i, j), at(i + 1, j), at(i + 1, j + 1), at(i, j + 1)};
                if (!std::all_of(std::begin(v), std::end(v), [](double x) { return std::isfinite(x); }))
                    continue;
                int corners = 0;
                for (int k = 0; k < 4; ++k)
                    if (v[k] >= level) corners |= 1 << k;
                const bool centreAbove = (v[0] + v[1] + v[2] + v[3]) / 4 >= level;
                for (const SidePair& s : cellSegments(corners, centreAbove)) {
                    const int index = static_cast<int>(segments.size());
                    segments.push_back({edgeOf(i, j, s.a), edgeOf(i, j, s.b)});
                    segmentsAt[segments.back()[0]].push_back(index);
                    segmentsAt[segments.back()[1]].push_back(index);
                }
            }
        }
    }

    // Follows unused segments from `edge` on, appending their far crossings.
    void follow(EdgeId edge, std::vector<bool>& used, Isoline& line) {
        for (;;) {
            int next = -1;
            for (int s : segmentsAt[edge])
                if (!used[static_cast<std::size_t>(s)]) next = s;
            if (next < 0) return;
            used[static_cast<std::size_t>(next)] = true;
            const auto& seg = segments[static_cast<std::size_t>(next)];
            edge = seg[0] == edge ? seg[1] : seg[0];
            line.points.push_back(crossing.at(edge));
        }
    }

    Isoline traceFrom(EdgeId edge, std::vector<bool>& used, bool closed) {
        Isoline line;
        line.level = level;
        line.closed = closed;
        line.points.push_back(crossing.at(edge));
        follow(edge, used, line);
        return line;
    }

    std::vector<Isoline> lines() {
        traceCells();
        std::vector<Isoline> result;
        std::vector<bool> used(segments.size(), false);
        // Open lines first, from an edge only one segment reaches (the grid or a gap in it ends them);
        // what is left are closed loops.
        for (std::size_t s = 0; s < segments.size(); ++s)
            for (EdgeId edge : segments[s])
                if (!used[s] && segmentsAt[edge].size() == 1) result.push_back(traceFrom(edge, used, false));
        for (std::size_t s = 0; s < segments.size(); ++s)
            if (!used[s]) result.push_back(traceFrom(segments[s][0], used, true));
        return result;
    }
};

double lengthOf(const std::vector<QPointF>& line) {
    double length = 0;
    for (std::size_t k = 1; k < line.size(); ++k)
        length += std::hypot(line[k].x() - line[k - 1].x(), line[k].y() - line[k - 1].y());
    return length;
}

// The point `distance` along the line from its start.
QPointF pointAlong(const std::vector<QPointF>& line, double distance) {
    for (std::size_t k = 1; k < line.size(); ++k) {
        const QPointF d = line[k] - line[k - 1];
        const double piece = std::hypot(d.x(), d.y());
        if (distance <= piece && piece > 0) return line[k - 1] + d * (distance / piece);
        distance -= piece;
    }
    return line.back();
}

// Labels keep this many pixels from each other and from what they avoid.
constexpr double kLabelClearance = 3;
// Places along a line tried in turn, as shares of its length.
constexpr double kLabelPlaces[] = {0.5, 0.3, 0.7, 0.15, 0.85};

}  // namespace

std::vector<Isoline> isolines(const std::vector<double>& values, int nx, int ny,
                              const std::vector<double>& levels) {
    std::vector<Isoline> result;
    if (nx < 2 || ny < 2 || values.size() != static_cast<std::size_t>(nx) * static_cast<std::size_t>(ny))
        return result;
    for (double level : levels) {
        if (!std::isfinite(level)) continue;
        LevelTracer tracer{values, nx, ny, level, {}, {}, {}};
        for (Isoline& line : tracer.lines()) result.push_back(std::move(line));
    }
    return result;
}

std::vector<IsolineLabel> placeIsolineLabels(const std::vector<std::vector<QPointF>>& lines,
                                             const std::vector<QSizeF>& sizes, const QRectF& area,
                                             const std::vector<QRectF>& avoid) {
    std::vector<double> lengths;
    for (const auto& line : lines) lengths.push_back(line.empty() ? 0 : lengthOf(line));
    std::vector<int> order(lines.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return lengths[static_cast<std::size_t>(a)] > lengths[static_cast<std::size_t>(b)];
    });

    std::vector<QRectF> taken = avoid;
    std::vector<IsolineLabel> labels;
    const double m = kLabelClearance;
    for (int line : order) {
        const auto k = static_cast<std::size_t>(line);
        const QSizeF size = k < sizes.size() ? sizes[k] : QSizeF();
        if (lines[k].size() < 2 || lengths[k] < size.width() * 1.5) continue;
        for (double share : kLabelPlaces) {
            const QPointF at = pointAlong(lines[k], lengths[k] * share);
            const QRectF box(at.x() - size.width() / 2, at.y() - size.height() / 2, size.width(),
                             size.height());
            if (!area.contains(box)) continue;
            const QRectF clear = box.adjusted(-m, -m, m, m);
            if (std::any_of(taken.begin(), taken.end(), [&](const QRectF& r) { return r.intersects(clear); }))
                continue;
            taken.push_back(box);
            labels.push_back({line, box});
            break;
        }
    }
    return labels;
}

}  // namespace veltrano
