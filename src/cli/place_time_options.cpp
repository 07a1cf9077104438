#include "cli/place_time_options.h"

#include <cmath>
#include <filesystem>
#include <ostream>

#include "libs/real_text.h"
#include "measure/maidenhead.h"
#include "measure/utc_hour.h"

namespace fw::cli {

namespace {

// A number written with a decimal point or comma within [-limit, limit]; else a refusal naming the
// option.
double ParseDegrees(const std::string& name, const std::string& text, double limit) {
    const auto v = ParseRealPointOrComma(text);
    if (!v || std::abs(*v) > limit) {
        const std::string range = std::to_string(static_cast<int>(limit));
        throw Refusal(name + " must be a number of degrees from -" + range + " to " + range +
                      ", not \"" + text + "\"!");
    }
    return *v;
}

// The folder the program lies in, ending with a separator; empty where it cannot be told.
std::string CliProgramDir() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return {};
    return program.parent_path().string() + "/";
}

}  // namespace

PlaceTime TakePlaceTime(ArgList& args) {
    PlaceTime p;
    const auto [locator, lat, lon, dateTime, month, hour] = args.takeOptions(
        "--locator", "--lat", "--lon", "--datetime", "--month", "--utc-hour");
    if (locator.has_value() == (lat || lon))
        throw UsageError("give the place either as --locator TEXT or as --lat DEG --lon DEG");
    if (!locator && !(lat && lon)) throw UsageError("--lat and --lon go together");
    if (dateTime.has_value() == (month || hour))
        throw UsageError("give the time either as --datetime TEXT or as --month M --utc-hour H");
    if (!dateTime && !(month && hour)) throw UsageError("--month and --utc-hour go together");

    if (locator) {
        const Outcome<LocatorSquare> square = ParseMaidenhead(*locator);
        if (!square) throw Refusal("--locator: " + square.reason());
        p.latDeg = square->centre.latDeg;
        p.lonDeg = square->centre.lonDeg;
    } else {
        p.latDeg = ParseDegrees("--lat", *lat, 90);
        p.lonDeg = ParseDegrees("--lon", *lon, 180);
    }
    if (dateTime) {
        const Outcome<UtcHour> utc = MeasDateTimeToUtc(*dateTime);
        if (!utc) throw Refusal("--datetime: " + utc.reason());
        p.month = utc->month;
        p.utcHour = utc->hour;
    } else {
        p.month = ParseIntOption("--month", *month, 1, 12);
        p.utcHour = ParseIntOption("--utc-hour", *hour, 0, 23);
    }
    return p;
}

std::shared_ptr<const ItuCoefficientCache> ItuCoefficientsFor(
    const std::optional<std::string>& ituData) {
    if (ituData)
        return ItuCoefficientCache::SharedInFolder(*ituData);
    return SharedItuCoefficients(CliProgramDir());
}

const ItuNoiseCoefficients& CoefficientsOrRefuse(const ItuCoefficientCache& cache, int month,
                                                 std::ostream& err) {
    // The store keeps what it hands out while it lives, so the reference stays good.
    const Outcome<ItuNoiseCoefficients>& c = *cache.Month(month);
    if (const std::string warning = cache.warning(); !warning.empty()) err << warning << '\n';
    if (!c) throw Refusal(c.reason());
    return c.value();
}

void RefuseImplausible(const ItuCoefficientCache& cache, int month, const AtmosphericNoise& n,
                       double freqMHz) {
    const std::string what = ImplausibleFigure(n, freqMHz);
    if (!what.empty()) throw Refusal(cache.ImplausibleText(month, what));
}

}  // namespace fw::cli
