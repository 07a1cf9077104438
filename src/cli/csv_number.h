#pragma once
#include <charconv>
#include <ostream>

namespace fw::cli {

// 17 significant digits with a point, whatever the regional settings: an exact round trip.
inline void WriteCsvNumber(std::ostream& out, double v) {
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 17);
    out.write(buf, res.ptr - buf);
}

}  // namespace fw::cli
