#include "libs/shown_name.h"

namespace fw {

namespace {

// The length of the valid UTF-8 sequence at s[at], or 0 (overlong forms, surrogates and
// code points above U+10FFFF are invalid).
std::size_t Utf8Length(std::string_view s, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[at + i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (s.size() - at < length || byte(1) < low || byte(1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
    return length;
}

}  // namespace

std::string ShownFileName(std::string_view name) {
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string shown;
    for (std::size_t at = 0; at < name.size();) {
        const auto c = static_cast<unsigned char>(name[at]);
        if (c >= 0x20 && c != 0x7F && c < 0x80) {
            shown += name[at++];
            continue;
        }
        if (const std::size_t length = c >= 0x80 ? Utf8Length(name, at) : 0) {
            shown.append(name.substr(at, length));
            at += length;
            continue;
        }
        shown += "\\x";
        shown += Hex[c >> 4];
        shown += Hex[c & 0xF];
        ++at;
    }
    return shown;
}

}  // namespace fw
