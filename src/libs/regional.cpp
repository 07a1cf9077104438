#include "libs/regional.h"

#include <QLocale>
#include <clocale>

namespace fw {

char SystemDecimalSeparator() {
    const QString point = QLocale::system().decimalPoint();
    return point == QStringLiteral(",") ? ',' : '.';
}

void UseCNumericLocale() {
    std::setlocale(LC_NUMERIC, "C");
}

}  // namespace fw
