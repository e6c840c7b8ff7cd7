#include <gtest/gtest.h>

#include "render/resources/Palette.h"
#include "render/resources/Pictures.h"

namespace veltrano {
namespace {

TEST(Pictures, TexturesHaveTheirSizesAndAreTheSameEveryRun) {
    for (QImage (*make)(double) :
         {makeFilterTexture, makePaperTexture, makeTippingTexture, makeTobaccoTexture}) {
        const QImage texture = make(1.0);
        EXPECT_EQ(texture.size(), QSize(kTextureWidth, kTextureHeight));
        EXPECT_EQ(texture, make(1.0));
        // A shaded cylinder: the middle row is lighter than the bottom row.
        EXPECT_GT(qGray(texture.pixel(300, 12)), qGray(texture.pixel(300, 29)));
    }
    // The filter's mouth end is rounded: its corner is background, its middle is filter.
    const QImage filter = makeFilterTexture();
    EXPECT_EQ(filter.pixelColor(0, 0), palette::white);
    EXPECT_NE(filter.pixelColor(1, 15), palette::white);
    EXPECT_EQ(makeLogo().size(), QSize(kLogoWidth, kLogoHeight));
}

TEST(Pictures, BarTextureStripesHaveTheExactColours) {
    const QImage bars = makeBarTexture();
    ASSERT_EQ(bars.size(), QSize(75, 200));
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 75; ++x) {
            const QColor expected = x < 25   ? palette::barLightGreen
                                    : x < 50 ? palette::barDarkGreen
                                             : palette::barBlue;
            ASSERT_EQ(bars.pixelColor(x, y), expected) << x << "," << y;
        }
}

TEST(Pictures, ApplicationIconHasSeveralSizes) {
    const QIcon icon = makeApplicationIcon();
    const QList<QSize> sizes = icon.availableSizes();
    for (int size : {16, 32, 48, 256}) EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
}

}  // namespace
}  // namespace veltrano
