#include "libs/regional.h"

#include <QLocale>

namespace fw {

char SystemDecimalSeparator() {
    const QString point = QLocale::system().decimalPoint();
    return point == QStringLiteral(",") ? ',' : '.';
}

}  // namespace fw
