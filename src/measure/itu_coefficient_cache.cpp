#include "measure/itu_coefficient_cache.h"

#include <filesystem>
#include <mutex>

#include "info/data_paths.h"
#include "libs/shown_name.h"

namespace fw {

ItuCoefficientCache::ItuCoefficientCache(std::string programDir)
    : ItuCoefficientCache(std::move(programDir), true) {}

namespace {

std::string EndingWithSlash(std::string folder) {
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

}  // namespace

ItuCoefficientCache ItuCoefficientCache::InFolder(std::string folder) {
    return ItuCoefficientCache(EndingWithSlash(std::move(folder)), false);
}

std::shared_ptr<const ItuCoefficientCache> ItuCoefficientCache::SharedInFolder(
    std::string folder) {
    return std::shared_ptr<const ItuCoefficientCache>(
        new ItuCoefficientCache(EndingWithSlash(std::move(folder)), false));
}

std::string ItuCoefficientCache::PathOf(int month) const {
    const std::string name = ItuCoefficientFileName(month);
    return besideProgram_ ? FindDataFile(dir_, "itu-p372/" + name) : dir_ + name;
}

std::shared_ptr<const ItuCoefficientCache::MonthOutcome> ItuCoefficientCache::Month(
    int month) const {
    if (month < 1 || month > 12)
        return std::make_shared<const MonthOutcome>(
            MonthOutcome::Fail("There is no month " + std::to_string(month) + "."));
    const std::lock_guard lock(mutex_);
    std::shared_ptr<const MonthOutcome>& slot = months_[month - 1];
    if (slot) return slot;
    const std::string path = PathOf(month);
    const std::optional<Outcome<ChecksumList>>& list = ListFor(path);
    slot = std::make_shared<const MonthOutcome>(
        list && !*list ? MonthOutcome::Fail(list->reason())
                       : LoadItuCoefficients(path, list ? &list->value() : nullptr));
    return slot;
}

std::string ItuCoefficientCache::warning() const {
    const std::lock_guard lock(mutex_);
    return warning_;
}

std::string ItuCoefficientCache::ImplausibleText(int month, std::string_view what) const {
    return ImplausibleFiguresText(PathOf(month), what);
}

const std::optional<Outcome<ChecksumList>>& ItuCoefficientCache::ListFor(
    const std::string& path) const {
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

std::shared_ptr<const ItuCoefficientCache> SharedItuCoefficients(const std::string& programDir) {
    static std::mutex mutex;
    static std::map<std::string, std::shared_ptr<const ItuCoefficientCache>> stores;
    const std::lock_guard lock(mutex);
    std::shared_ptr<const ItuCoefficientCache>& store = stores[programDir];
    if (!store) store = std::make_shared<const ItuCoefficientCache>(programDir);
    return store;
}

}  // namespace fw
