#pragma once
// The place and time options of the atmospheric noise, and where its coefficient files are
// read from.
#include <optional>
#include <string>

#include "cli/cli_args.h"
#include "measure/itu_coefficient_cache.h"
#include "model/atmospheric_noise.h"

namespace fw::cli {

struct PlaceTime {
    double latDeg = 0;
    double lonDeg = 0;
    int month = 1;
    int utcHour = 0;
};

// (--locator TEXT | --lat DEG --lon DEG) (--datetime "YYYY-MM-DD HH:MM" | --month M
// --utc-hour H), all taken out of `args`. A missing or doubled choice is a usage error; a
// value out of range is a refusal naming its option.
PlaceTime TakePlaceTime(ArgList& args);

// The coefficient files from the --itu-data folder, else from itu-p372 beside the program,
// then from the installed share folder.
std::shared_ptr<const ItuCoefficientCache> ItuCoefficientsFor(const std::optional<std::string>& ituData);

// The coefficients of `month`; a missing or damaged file is a refusal naming it. The
// cache's warning of files read unchecked goes to `err`.
const ItuNoiseCoefficients& CoefficientsOrRefuse(const ItuCoefficientCache& cache, int month,
                                                 std::ostream& err);

// A refusal naming `month`'s file when the figures at `freqMHz` are implausible.
void RefuseImplausible(const ItuCoefficientCache& cache, int month, const AtmosphericNoise& n,
                       double freqMHz);

inline constexpr const char* PlaceTimeOptionsHelp =
    "  --locator TEXT     Maidenhead locator of 2, 4, 6 or 8 characters (centre of the square)\n"
    "  --lat DEG          latitude in degrees, -90 to 90, north positive (with --lon)\n"
    "  --lon DEG          longitude in degrees, -180 to 180, east positive (with --lat)\n"
    "  --datetime TEXT    local date and time \"YYYY-MM-DD HH:MM\" in the computer's time zone\n"
    "                     (TZ honoured), converted to the UTC month and hour\n"
    "  --month M          month 1 to 12 (with --utc-hour)\n"
    "  --utc-hour H       whole UTC hour 0 to 23 (with --month)\n";

// Shown after the place and time options and after the render options.
inline constexpr const char* ItuDataOptionHelp =
    "  --itu-data DIR     folder of the coefficient files COEFF01W.txt .. COEFF12W.txt\n"
    "                     (default: itu-p372 beside the program, then the share folder);\n"
    "                     a folder without the list SHA256SUMS is read unchecked\n";

}  // namespace fw::cli
