#include "noisefloor/fft_wisdom.h"

#include <fftw3.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "libs/atomic_file.h"

namespace fw {

namespace fs = std::filesystem;

std::string FftWisdomPath() {
    const char* cache = std::getenv("XDG_CACHE_HOME");
    fs::path folder;
    if (cache && fs::path(cache).is_absolute()) {
        folder = cache;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        folder = fs::path(home) / ".cache";
    } else {
        return {};
    }
    return (folder / "Floorwatch" / "fftw-wisdom").string();
}

bool PrepareFftWisdomFolder(const std::string& path) {
    const fs::path folder = fs::path(path).parent_path();
    std::error_code ec;
    fs::create_directories(folder, ec);
    return !ec && ::access(folder.c_str(), W_OK) == 0;
}

bool ImportFftWisdom(const std::string& path) {
    if (!fs::is_regular_file(path)) return false;
    return fftwf_import_wisdom_from_filename(path.c_str()) != 0;
}

std::string SaveFftWisdom(const std::string& path) {
    ImportFftWisdom(path);
    const std::unique_ptr<char, decltype(&std::free)> text(fftwf_export_wisdom_to_string(), &std::free);
    if (!text) return "FFTW gave no wisdom";
    return WriteFileAtomically(path, std::string_view(text.get()));
}

}  // namespace fw
