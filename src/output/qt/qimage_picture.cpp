#include "output/qt/qimage_picture.h"

#include <cstring>

namespace fw {

QImage PictureToQImage(const DiagramPicture& picture) {
    const auto pixels = static_cast<std::size_t>(picture.width) * picture.height;
    if (picture.empty() || picture.rgb.size() != pixels * 3) return {};
    QImage image(picture.width, picture.height, QImage::Format_RGB888);
    if (image.isNull()) return {};  // allocation failed
    // QImage pads its rows to 32 bits, so the rows are copied one by one.
    const std::size_t rowBytes = static_cast<std::size_t>(picture.width) * 3;
    for (int y = 0; y < picture.height; ++y) {
        std::memcpy(image.scanLine(y), picture.row(y), rowBytes);
    }
    return image;
}

QImage PictureImageView(const DiagramPicture& picture) {
    const auto pixels = static_cast<std::size_t>(picture.width) * picture.height;
    if (picture.empty() || picture.rgb.size() != pixels * 3) return {};
    return QImage(picture.rgb.data(), picture.width, picture.height, picture.width * 3,
                  QImage::Format_RGB888);
}

}  // namespace fw
