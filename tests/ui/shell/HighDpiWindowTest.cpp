#include <QImage>
#include <QPainter>

#include "ShellFixture.h"

namespace veltrano::testing {
namespace {

using HighDpiWindow = ShellTest;

// The window makes its pictures for the pixel density it is painted at, once, and again when the
// window moves to a screen of another density.
TEST_F(HighDpiWindow, PicturesFollowTheDensityOfThePaintDevice) {
    EXPECT_EQ(window->resources().devicePixelRatio, 1.0);
    const auto paintAt = [&](double ratio) {
        QImage client(QSize(1024, 820) * ratio, QImage::Format_RGB32);
        client.setDevicePixelRatio(ratio);
        QPainter painter(&client);
        window->paintClient(painter);
    };
    paintAt(2.0);
    EXPECT_EQ(window->resources().devicePixelRatio, 2.0);
    EXPECT_EQ(window->resources().logo.size(), QSize(2 * 92, 2 * 75));
    const QImage logo = window->resources().logo;
    paintAt(2.0);
    EXPECT_EQ(window->resources().logo.cacheKey(), logo.cacheKey());  // not made again
    paintAt(1.0);
    EXPECT_EQ(window->resources().logo.size(), QSize(92, 75));
}

}  // namespace
}  // namespace veltrano::testing
