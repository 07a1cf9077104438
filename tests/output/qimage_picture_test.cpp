#include "output/qt/qimage_picture.h"

#include <gtest/gtest.h>

#include "test_pictures.h"

namespace fw {
namespace {

TEST(PictureToQImage, CopiesEveryPixelDeeply) {
    // Width 3 gives 9-byte rows, which QImage pads to 12.
    for (auto [w, h] : {std::pair{3, 2}, {1, 1}, {537, 497}}) {
        SCOPED_TRACE(testing::Message() << w << " x " << h);
        DiagramPicture picture = test::PatternPicture(w, h);
        const QImage image = PictureToQImage(picture);
        ASSERT_EQ(image.format(), QImage::Format_RGB888);
        ASSERT_EQ(image.width(), w);
        ASSERT_EQ(image.height(), h);
        int differing = 0;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const Rgb p = picture.pixel(x, y);
                differing += image.pixel(x, y) != qRgb(p.r, p.g, p.b);
            }
        }
        EXPECT_EQ(differing, 0);

        // Later changes of the picture do not reach the image.
        const QRgb before = image.pixel(0, 0);
        picture.rgb[0] ^= 0xFF;
        EXPECT_EQ(image.pixel(0, 0), before);
    }
}

TEST(PictureToQImage, EmptyOrInconsistentPictureGivesNullImage) {
    EXPECT_TRUE(PictureToQImage(DiagramPicture{}).isNull());
    DiagramPicture broken = test::PatternPicture(4, 4);
    broken.rgb.resize(10);
    EXPECT_TRUE(PictureToQImage(broken).isNull());
}

}  // namespace
}  // namespace fw
