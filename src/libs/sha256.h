#pragma once
// SHA-256 (FIPS 180-4) of a byte string, for checking shipped data files against their list.
#include <string>
#include <string_view>

namespace fw {

// The digest as 64 lower-case hexadecimal digits.
std::string Sha256Hex(std::string_view bytes);

}  // namespace fw
