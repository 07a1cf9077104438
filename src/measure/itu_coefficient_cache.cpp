#include "measure/itu_coefficient_cache.h"

#include "info/data_paths.h"

namespace fw {

ItuCoefficientCache::ItuCoefficientCache(std::string programDir)
    : ItuCoefficientCache(std::move(programDir), true) {}

ItuCoefficientCache ItuCoefficientCache::InFolder(std::string folder) {
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return ItuCoefficientCache(std::move(folder), false);
}

std::string ItuCoefficientCache::PathOf(int month) const {
    const std::string name = ItuCoefficientFileName(month);
    return besideProgram_ ? FindDataFile(dir_, "itu-p372/" + name) : dir_ + name;
}

const Outcome<ItuNoiseCoefficients>& ItuCoefficientCache::Month(int month) {
    if (month < 1 || month > 12) {
        static const auto noMonth =
            Outcome<ItuNoiseCoefficients>::Fail("There is no month " + std::to_string(month) + ".");
        return noMonth;
    }
    std::optional<Outcome<ItuNoiseCoefficients>>& slot = months_[month - 1];
    if (!slot) slot = LoadItuCoefficients(PathOf(month));
    return *slot;
}

}  // namespace fw
