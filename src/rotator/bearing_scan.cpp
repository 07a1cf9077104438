#include "rotator/bearing_scan.h"

#include <cmath>

#include <charconv>

#include "libs/number_text.h"
#include "libs/real_text.h"
#include "rig/pacing.h"

namespace fw::rotator {

std::vector<double> ScanBearings(const ScanSpan& span) {
    for (const int deg : {span.fromDeg, span.toDeg})
        if (deg < 0 || deg > 359)
            throw ScanInputError("a bearing must be from 0 to 359 degrees, not " + std::to_string(deg));
    if (span.stepDeg < 1 || span.stepDeg > MostStepDeg)
        throw ScanInputError("the step must be from 1 to " + std::to_string(MostStepDeg) +
                             " degrees, not " + std::to_string(span.stepDeg));
    const int width = (span.toDeg - span.fromDeg + 360) % 360;
    std::vector<double> bearings;
    for (int offset = 0; offset <= width; offset += span.stepDeg)
        bearings.push_back((span.fromDeg + offset) % 360);
    if (bearings.size() < 3)
        throw ScanInputError("a scan needs at least three bearings; from " +
                             std::to_string(span.fromDeg) + " to " + std::to_string(span.toDeg) +
                             " every " + std::to_string(span.stepDeg) + " degrees gives " +
                             std::to_string(bearings.size()));
    return bearings;
}

namespace {

// Turns the rotator back to `start` and waits, until `hurry`; why not where it did not get
// there, with where it is.
std::string ReturnTo(Rotator& rotator, const RotatorPosition& start, std::stop_token hurry,
                     const TurnLimits& limits) {
    const std::string home = DegreesText(start.azimuthDeg);
    std::string why;
    try {
        TurnTo(rotator, start.azimuthDeg, start.elevationDeg, hurry, limits);
        return {};
    } catch (const rig::Cancelled&) {
        why = "stopped again while turning back";
    } catch (const std::exception& e) {
        why = e.what();
    }
    try {
        // Asked once more, with no stop: the answer timeout bounds it.
        const RotatorPosition left = rotator.position({});
        return why + "; the rotator is left at " + DegreesText(left.azimuthDeg) + " instead of " + home;
    } catch (const std::exception&) {
        return why + "; the rotator may not be back at " + home;
    }
}

}  // namespace

ScanResult RunBearingScan(Rotator& rotator, const std::vector<double>& bearings,
                          const LevelReader& read, const ScanCallbacks& callbacks,
                          std::stop_token stop, std::stop_token hurry, const TurnLimits& limits) {
    ScanResult result;
    try {
        result.start = rotator.position(stop);
    } catch (const rig::Cancelled&) {
        result.cancelled = true;
    } catch (const std::exception& e) {
        result.failure = std::string("Scan not started: ") + e.what();
    }
    if (result.start) {
        std::size_t index = 0;
        try {
            for (; index < bearings.size(); ++index) {
                if (callbacks.turning) callbacks.turning({index, bearings.size(), bearings[index]});
                TurnTo(rotator, bearings[index], result.start->elevationDeg, stop, limits);
                const BearingLevel level{bearings[index], read(stop)};
                if (!std::isfinite(level.levelDb)) throw std::runtime_error("the level is not a number");
                result.levels.push_back(level);
                if (callbacks.reading) callbacks.reading(level);
            }
        } catch (const rig::Cancelled&) {
            result.cancelled = true;
        } catch (const std::exception& e) {
            // A call that a stop cut short is the stop, not a failure.
            if (stop.stop_requested())
                result.cancelled = true;
            else
                result.failure = "Scan stopped at " + DegreesText(bearings[index]) + ": " + e.what();
        }
    }
    if (callbacks.giveBackReceiver) result.receiverFailure = callbacks.giveBackReceiver();
    if (result.start) {
        if (callbacks.returning) callbacks.returning(result.start->azimuthDeg);
        result.returnFailure = ReturnTo(rotator, *result.start, hurry, limits);
    }
    if (result.complete()) result.estimate = EstimateBearing(result.levels);
    return result;
}

std::string LevelText(double levelDb, char sep) {
    return FixedText(levelDb, 2, sep);
}

std::string ScanCsvRow(const BearingLevel& level) {
    return std::to_string(std::lround(level.azimuthDeg)) + "," + LevelText(level.levelDb, '.') + "\n";
}

std::string ScanCsv(const std::vector<BearingLevel>& levels) {
    std::string csv = ScanCsvHeader;
    for (const BearingLevel& l : levels) csv += ScanCsvRow(l);
    return csv;
}

std::string ScanLine(const BearingLevel& level, const std::string& unit, char sep) {
    std::string deg = DegreesText(level.azimuthDeg);
    return deg + std::string(deg.size() < 6 ? 6 - deg.size() : 1, ' ') +
           LevelText(level.levelDb, sep) + " " + unit;
}

}  // namespace fw::rotator
