#pragma once

#include <QFontMetrics>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QString>
#include <QTransform>
#include <memory>
#include <vector>

namespace veltrano::test {

// One text a painter drew, in device coordinates: its cell from `left` to `right` and its top.
struct DrawnText {
    QString text;
    int left, right, top, baseline;
};

// A paint device that draws nothing and records every text painted on it with its position, so
// tests can ask what a view wrote where.
class TextRecorder : public QPaintDevice {
  public:
    TextRecorder() : engine_(std::make_unique<Engine>()) {}
    ~TextRecorder() override = default;

    QPaintEngine* paintEngine() const override { return engine_.get(); }
    const std::vector<DrawnText>& texts() const { return engine_->texts; }

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
                return 1024;
            case PdmHeight:
                return 820;
            case PdmWidthMM:
                return 271;
            case PdmHeightMM:
                return 217;
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
        void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
        void drawLines(const QLineF*, int) override {}
        void drawRects(const QRectF*, int) override {}
        void drawTextItem(const QPointF& p, const QTextItem& item) override {
            const QPointF at = transform.map(p);
            const QFontMetrics metrics(item.font());
            const int left = qRound(at.x()), baseline = qRound(at.y());
            texts.push_back({item.text(), left, left + metrics.horizontalAdvance(item.text()),
                             baseline - metrics.ascent(), baseline});
        }
        Type type() const override { return QPaintEngine::User; }

        QTransform transform;
        std::vector<DrawnText> texts;
    };
    std::unique_ptr<Engine> engine_;
};

}  // namespace veltrano::test
