#pragma once

#include <QFontMetrics>
#include <QLineF>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QTransform>
#include <memory>
#include <vector>

namespace veltrano::test {

// One text a painter drew, in device coordinates: its cell from `left` to `right`, top to baseline,
// and the whole cell with its descent.
struct DrawnText {
    QString text;
    int left, right, top, baseline;
    QRectF cell;
};

// A paint device that draws nothing and records every text, straight line and polyline painted on it,
// so tests can ask what a painter wrote where.
class PaintRecorder : public QPaintDevice {
public:
    explicit PaintRecorder(QSize size) : size_(size), engine_(std::make_unique<Engine>()) {}

    QPaintEngine* paintEngine() const override { return engine_.get(); }
    const std::vector<DrawnText>& texts() const { return engine_->texts; }
    const std::vector<QLineF>& lines() const { return engine_->lines; }
    int polylines() const { return engine_->polylines; }

    // The texts equal to `text`.
    std::vector<DrawnText> find(const QString& text) const {
        std::vector<DrawnText> found;
        for (const DrawnText& t : texts())
            if (t.text == text) found.push_back(t);
        return found;
    }
    // The text whose cell holds the point (x, y), or an empty one.
    DrawnText at(int x, int y) const {
        for (const DrawnText& t : texts())
            if (t.left <= x && x <= t.right && t.top <= y && y <= t.baseline) return t;
        return {};
    }

protected:
    int metric(PaintDeviceMetric metric) const override {
        switch (metric) {
            case PdmWidth:
                return size_.width();
            case PdmHeight:
                return size_.height();
            case PdmWidthMM:
                return size_.width() * 254 / 960;
            case PdmHeightMM:
                return size_.height() * 254 / 960;
            case PdmDpiX:
            case PdmDpiY:
            case PdmPhysicalDpiX:
            case PdmPhysicalDpiY:
                return 96;
            case PdmDepth:
                return 32;
            case PdmNumColors:
                return 0x7fffffff;
            case PdmDevicePixelRatio:
                return 1;
            case PdmDevicePixelRatioScaled:
                return int(devicePixelRatioFScale());
            default:
                return 0;
        }
    }

private:
    struct Engine : QPaintEngine {
        Engine() : QPaintEngine(QPaintEngine::AllFeatures) {}
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState& state) override {
            if (state.state() & QPaintEngine::DirtyTransform) transform = state.transform();
        }
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
        void drawImage(const QRectF&, const QImage&, const QRectF&, Qt::ImageConversionFlags) override {}
        void drawPath(const QPainterPath&) override {}
        void drawRects(const QRectF*, int) override {}
        void drawPolygon(const QPointF*, int, PolygonDrawMode mode) override {
            if (mode == PolylineMode) ++polylines;
        }
        void drawLines(const QLineF* l, int count) override {
            for (int i = 0; i < count; ++i) lines.push_back(transform.map(l[i]));
        }
        void drawTextItem(const QPointF& p, const QTextItem& item) override {
            const QPointF at = transform.map(p);
            const QFontMetrics metrics(item.font());
            const QString text = item.text();
            const int left = qRound(at.x()), baseline = qRound(at.y());
            texts.push_back({text, left, left + metrics.horizontalAdvance(text), baseline - metrics.ascent(),
                             baseline,
                             QRectF(at.x(), at.y() - metrics.ascent(), metrics.horizontalAdvance(text),
                                    metrics.height())});
        }
        Type type() const override { return QPaintEngine::User; }

        QTransform transform;
        std::vector<DrawnText> texts;
        std::vector<QLineF> lines;
        int polylines = 0;
    };
    QSize size_;
    std::unique_ptr<Engine> engine_;
};

}  // namespace veltrano::test
