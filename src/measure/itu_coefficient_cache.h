#pragma once
// The ITU-R P.372 coefficient files of the months asked for, each read once and kept.
#include <array>
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
    // every redraw.
    const Outcome<ItuNoiseCoefficients>& Month(int month);

  private:
    ItuCoefficientCache(std::string dir, bool besideProgram)
        : dir_(std::move(dir)), besideProgram_(besideProgram) {}

    std::string dir_;
    bool besideProgram_;
    std::array<std::optional<Outcome<ItuNoiseCoefficients>>, 12> months_;
};

}  // namespace fw
