#pragma once
// Waits for something another thread or process makes happen, instead of guessing how long
// it takes: the condition is checked every few milliseconds, for at most 30 s (a hang).
#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "support/read_file.h"

namespace fw::test {

// Whether `happened` came true in time.
inline bool WaitFor(const std::function<bool()>& happened) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!happened()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// Whether the file at `path` came to hold `text`.
inline bool WaitForText(const std::string& path, const std::string& text) {
    return WaitFor([&] { return ReadWholeFile(path).find(text) != std::string::npos; });
}

}  // namespace fw::test
