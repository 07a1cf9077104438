#pragma once
// SHA-256 (FIPS 180-4) of a byte string, for checking shipped data files against their list
// and for naming the exact station log a report was made from.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace fw {

// The digest of bytes given piece by piece, so that a large file is never held whole.
class Sha256 {
  public:
    using State = std::array<std::uint32_t, 8>;

    Sha256();
    void add(std::string_view bytes);
    // The digest of everything added so far, as 64 lower-case hexadecimal digits.
    std::string hex() const;

  private:
    State state_;
    std::array<unsigned char, 64> block_{};
    std::size_t filled_ = 0;
    std::uint64_t length_ = 0;
};

// The digest as 64 lower-case hexadecimal digits.
std::string Sha256Hex(std::string_view bytes);

// The digest of a file's bytes, read in pieces; none when it cannot be read.
std::optional<std::string> Sha256FileHex(const std::string& path);

}  // namespace fw
