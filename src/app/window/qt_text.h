#pragma once
// Conversions between the logic's UTF-8 texts and Qt's strings.
#include <QString>
#include <QStringList>
#include <string_view>

namespace fw {

inline QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The texts of the band table ("LW" .. "2m"), in its order.
QStringList BandTableTexts();

}  // namespace fw
