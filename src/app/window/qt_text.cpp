#include "app/window/qt_text.h"

#include "model/levels.h"

namespace fw {

QStringList BandTableTexts() {
    QStringList bands;
    for (const BandEntry& b : BandTable) bands << ToQString(b.text);
    return bands;
}

}  // namespace fw
