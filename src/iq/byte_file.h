#pragma once
// A recording opened for reading at any offset, with the reason of a failure in words.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "libs/unique_fd.h"

namespace fw {

class ByteFile {
  public:
    explicit ByteFile(const std::string& path);  // check error() before use
    const std::string& error() const { return error_; }
    std::uint64_t size() const { return size_; }
    // Reads up to out.size() bytes at `offset`; the count read (short only at the end of the
    // file), or -1 with error() set.
    std::int64_t readAt(std::uint64_t offset, std::span<std::byte> out);

  private:
    std::string path_;
    UniqueFd fd_;
    std::uint64_t size_ = 0;
    std::string error_;
};

inline std::uint32_t LittleU32(const std::byte* p) {
    return std::to_integer<std::uint32_t>(p[0]) | std::to_integer<std::uint32_t>(p[1]) << 8 |
           std::to_integer<std::uint32_t>(p[2]) << 16 | std::to_integer<std::uint32_t>(p[3]) << 24;
}

inline std::uint16_t LittleU16(const std::byte* p) {
    return static_cast<std::uint16_t>(std::to_integer<unsigned>(p[0]) |
                                      std::to_integer<unsigned>(p[1]) << 8);
}

}  // namespace fw
