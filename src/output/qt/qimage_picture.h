#pragma once
// The diagram picture as a Qt image, for the window's picture area and the clipboard.
#include <QImage>

#include "diagram/picture.h"

namespace fw {

// A deep copy in QImage::Format_RGB888; an empty or inconsistent picture gives a null image.
QImage PictureToQImage(const DiagramPicture& picture);

// A QImage over the picture's own pixels, without a copy: valid only while `picture` lives
// unchanged. For handing a picture on to Qt, which copies it (such as into a QPixmap).
QImage PictureImageView(const DiagramPicture& picture);

}  // namespace fw
