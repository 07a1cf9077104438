#pragma once
// The diagram picture as a Qt image, for the window's picture area and the clipboard.
#include <QImage>

#include "picture.h"

namespace fw {

// A deep copy in QImage::Format_RGB888; an empty or inconsistent picture gives a null image.
QImage PictureToQImage(const DiagramPicture& picture);

}  // namespace fw
