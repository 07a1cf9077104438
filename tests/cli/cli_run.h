#pragma once
// Runs floorwatch-cli's entry point in-process and small file helpers for its tests.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "libs/regional.h"

namespace fw::cli::test {

struct CliRun {
    int code;
    std::string out, err;
};

inline CliRun Cli(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int code = RunCli(args, out, err);
    return {code, out.str(), err.str()};
}

// A folder of this test process's own: ctest runs the same test under a point and under a
// comma at once, and the two must not write each other's files.
inline std::string TempPath(const std::string& name) {
    static const std::string folder = [] {
        std::string f = ::testing::TempDir() + "fw_cli_" + std::to_string(getpid()) + "/";
        std::filesystem::create_directories(f);
        return f;
    }();
    return folder + name;
}

inline bool Exists(const std::string& path) {
    return std::ifstream(path).good();
}

inline std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteAll(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// A text written with "." as decimal separator, in the machine's own separator. Only a
// separator between two digits is one: "Freq." and "fMHz.....:" keep their points.
inline std::string WithSeparator(std::string text, char from = '.') {
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    for (std::size_t i = 1; i + 1 < text.size(); ++i)
        if (text[i] == from && digit(text[i - 1]) && digit(text[i + 1]))
            text[i] = SystemDecimalSeparator();
    return text;
}

}  // namespace fw::cli::test
