#pragma once
// The ITU-R P.372 coefficient files of the months asked for, each read once and kept. One
// store serves every thread: what it hands out never changes, and a month is read under its
// lock the first time any thread asks for it.
#include <array>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "model/itu_coefficients.h"

namespace fw {

class ItuCoefficientCache {
  public:
    using MonthOutcome = Outcome<ItuNoiseCoefficients>;

    // Finds itu-p372/COEFFmmW.txt beside the program in `programDir` (ending with a
    // separator), else in the installed share folder.
    explicit ItuCoefficientCache(std::string programDir);
    // Reads the files from `folder` only.
    static ItuCoefficientCache InFolder(std::string folder);
    // The same, as a store to share.
    static std::shared_ptr<const ItuCoefficientCache> SharedInFolder(std::string folder);

    ItuCoefficientCache(const ItuCoefficientCache&) = delete;
    ItuCoefficientCache& operator=(const ItuCoefficientCache&) = delete;

    // The path the file of `month` (1..12) is read from.
    std::string PathOf(int month) const;
    // The coefficients of `month` (1..12), or the reason they cannot be had. The outcome of
    // the first read is kept, a failure too: a missing or damaged file is not read again on
    // every redraw. A file is checked against the list of SHA-256 sums in its folder; a
    // folder without one is read unchecked, and warning() then says so.
    std::shared_ptr<const MonthOutcome> Month(int month) const;

    // Empty, or the one line that says the files were read without a list of sums.
    std::string warning() const;

    // The refusal of a figure that ImplausibleFigure finds in what `month`'s file gave.
    std::string ImplausibleText(int month, std::string_view what) const;

  private:
    ItuCoefficientCache(std::string dir, bool besideProgram)
        : dir_(std::move(dir)), besideProgram_(besideProgram) {}

    // The list of the folder of `path`: none when the folder has none. Called under mutex_.
    const std::optional<Outcome<ChecksumList>>& ListFor(const std::string& path) const;

    const std::string dir_;
    const bool besideProgram_;
    mutable std::mutex mutex_;
    mutable std::array<std::shared_ptr<const MonthOutcome>, 12> months_;
    mutable std::map<std::string, std::optional<Outcome<ChecksumList>>> lists_;  // by folder
    mutable std::string warning_;
};

// The one store of the process for the files beside the program in `programDir`: the
// window's diagram, its log views and its reports share what each of them read.
std::shared_ptr<const ItuCoefficientCache> SharedItuCoefficients(const std::string& programDir);

}  // namespace fw
