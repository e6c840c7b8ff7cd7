#pragma once

#include <QImage>
#include <QPainter>
#include <functional>

#include <gtest/gtest.h>

#include "TextRecorder.h"
#include "render/views/ViewResources.h"

namespace veltrano::test {

// The fonts and pictures of the main window, made once for all view tests.
inline const ViewResources& viewResources() {
    static const ViewResources resources = makeViewResources();
    return resources;
}

// Paints on a white client area of the main window's size, with `devicePixelRatio` image pixels to a
// logical pixel as on a screen at that scale.
inline QImage renderClient(const std::function<void(QPainter&)>& paint, double devicePixelRatio = 1.0) {
    QImage image(QSize(1024, 820) * devicePixelRatio, QImage::Format_RGB32);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::white);
    QPainter painter(&image);
    paint(painter);
    return image;
}

// The texts a painter writes, with their places.
inline std::unique_ptr<TextRecorder> recordTexts(const std::function<void(QPainter&)>& paint) {
    auto recorder = std::make_unique<TextRecorder>();
    QPainter painter(recorder.get());
    paint(painter);
    return recorder;
}

inline QColor pixelAt(const QImage& image, int x, int y) {
    return image.pixelColor(x, y);
}

}  // namespace veltrano::test
