#pragma once
// A picture as a one-page A4 PDF, for printing a view of the station log.
#include <QByteArray>
#include <QImage>
#include <QString>

namespace fw {

// One landscape A4 page with `title` at the top and the picture below it, as large as fits
// within 15 mm margins and keeping its proportions.
QByteArray PicturePdfBytes(const QImage& picture, const QString& title);

}  // namespace fw
