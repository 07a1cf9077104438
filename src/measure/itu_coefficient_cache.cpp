#include "measure/itu_coefficient_cache.h"

#include <filesystem>

#include "info/data_paths.h"
#include "libs/shown_name.h"

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
    if (slot) return *slot;
    const std::string path = PathOf(month);
    const std::optional<Outcome<ChecksumList>>& list = ListFor(path);
    if (list && !*list)
        slot = Outcome<ItuNoiseCoefficients>::Fail(list->reason());
    else
        slot = LoadItuCoefficients(path, list ? &list->value() : nullptr);
    return *slot;
}

std::string ItuCoefficientCache::ImplausibleText(int month, std::string_view what) const {
    return ImplausibleFiguresText(PathOf(month), what);
}

const std::optional<Outcome<ChecksumList>>& ItuCoefficientCache::ListFor(const std::string& path) {
    const std::string folder = path.substr(0, path.rfind('/') + 1);
    const auto [at, added] = lists_.try_emplace(folder);
    if (!added) return at->second;
    const std::string listPath = folder + std::string(ItuChecksumListName);
    std::error_code error;
    if (!std::filesystem::exists(listPath, error)) {
        // Data replaced on purpose may come without a list; it is used, with a warning. A
        // missing file needs none: its reason says enough.
        if (std::filesystem::exists(path, error))
            warning_ = "The ITU-R P.372 coefficient files in \"" +
                       ShownFileName(folder.empty() ? "." : folder) + "\" have no list " +
                       std::string(ItuChecksumListName) + ": they are read unchecked.";
        return at->second;
    }
    const Outcome<std::string> text = ReadDataFile(listPath, "The list of SHA-256 sums");
    at->second = text ? ParseChecksumList(text.value(), listPath)
                      : Outcome<ChecksumList>::Fail(text.reason());
    return at->second;
}

}  // namespace fw
