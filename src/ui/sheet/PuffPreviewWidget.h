#pragma once

#include <QWidget>

#include "core/sheet/PuffShape.h"

namespace veltrano {

// The preview box of the puff shape: white, with the axes and their arrow marks in black and the
// shape's curve in blue, from the samples the page computed.
class PuffPreviewWidget : public QWidget {
    Q_OBJECT

public:
    explicit PuffPreviewWidget(QWidget* parent = nullptr);
    void setSamples(const PreviewSamples& samples);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    PreviewSamples samples_{};
};

}  // namespace veltrano
