#pragma once
// A whole file's bytes, for tests that compare what was written.
#include <fstream>
#include <iterator>
#include <string>

namespace fw::test {

inline std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace fw::test
