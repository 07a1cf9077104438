#pragma once
// The ITU-R P.372 coefficient files of the months asked for, each read once and kept.
#include <array>
#include <map>
#include <optional>
#include <string>

#include "model/itu_coefficients.h"

namespace fw {

class ItuCoefficientCache {
  public:
    // Finds itu-p372/COEFFmmW.txt beside the program in `programDir` (ending with a
    // separator), else in the installed share folder.
    explicit ItuCoefficientCache(std::string programDir);
    // Reads the files from `folder` only.
    static ItuCoefficientCache InFolder(std::string folder);

    // The path the file of `month` (1..12) is read from.
    std::string PathOf(int month) const;
    // The coefficients of `month` (1..12), or the reason they cannot be had. The outcome of
    // the first read is kept, a failure too: a missing or damaged file is not read again on
    // every redraw. A file is checked against the list of SHA-256 sums in its folder; a
    // folder without one is read unchecked, and warning() then says so.
    const Outcome<ItuNoiseCoefficients>& Month(int month);

    // Empty, or the one line that says the files were read without a list of sums.
    const std::string& warning() const { return warning_; }

    // The refusal of a figure that ImplausibleFigure finds in what `month`'s file gave.
    std::string ImplausibleText(int month, std::string_view what) const;

  private:
    ItuCoefficientCache(std::string dir, bool besideProgram)
        : dir_(std::move(dir)), besideProgram_(besideProgram) {}

    // The list of the folder of `path`: none when the folder has none.
    const std::optional<Outcome<ChecksumList>>& ListFor(const std::string& path);

    std::string dir_;
    bool besideProgram_;
    std::array<std::optional<Outcome<ItuNoiseCoefficients>>, 12> months_;
    std::map<std::string, std::optional<Outcome<ChecksumList>>> lists_;  // by folder
    std::string warning_;
};

}  // namespace fw
