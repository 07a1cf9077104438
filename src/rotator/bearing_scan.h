#pragma once
// A bearing scan: the rotator turned from bearing to bearing, a reading at each, and the
// direction the noise comes from estimated from the levels. The rotator is given back its
// starting azimuth at the end and after every stop, and waited for; a second stop (`hurry`)
// leaves it where it is and says so. Runs on the calling thread; meant for a worker thread.
#include <cstddef>
#include <functional>
#include <optional>
#include <stdexcept>
#include <stop_token>
#include <string>
#include <vector>

#include "bearing/bearing_estimate.h"
#include "rotator/rotator.h"
#include "rotator/rotator_turn.h"

namespace fw::rotator {

// The bearings of a scan, in whole degrees.
struct ScanSpan {
    int fromDeg = 0;
    int toDeg = 350;
    int stepDeg = 10;
};

// Inputs of a scan that are refused before the rotator is touched.
class ScanInputError : public std::invalid_argument {
  public:
    using std::invalid_argument::invalid_argument;
};

inline constexpr int MostStepDeg = 180;

// From `fromDeg` every `stepDeg` up to `toDeg`, across north where `toDeg` is the smaller
// (300 to 60 goes through 0). Throws ScanInputError for a bearing outside 0..359, a step
// outside 1..180, or a span of fewer than three bearings.
std::vector<double> ScanBearings(const ScanSpan& span);

// One reading at the receiver's present tuning, as a level in dB. Throws on failure,
// rig::Cancelled when `stop` is requested.
using LevelReader = std::function<double(std::stop_token stop)>;

struct ScanStep {
    std::size_t index;  // of the bearing being turned to, 0-based
    std::size_t count;
    double azimuthDeg;
};

struct ScanCallbacks {
    std::function<void(const ScanStep&)> turning;          // before each turn
    std::function<void(const BearingLevel&)> reading;      // after each reading
    std::function<void(double startDeg)> returning;        // before the turn back
    // Called once the readings are over, before the rotator turns back: puts the receiver's
    // tuning back. Empty when it is back, else why not.
    std::function<std::string()> giveBackReceiver;
};

struct ScanResult {
    std::optional<RotatorPosition> start;  // none when the rotator could not be asked
    std::vector<BearingLevel> levels;      // every reading taken, in scan order
    std::optional<BearingEstimate> estimate;  // of a complete scan
    bool cancelled = false;
    std::string failure;           // "Scan stopped at 120°: ...", "Scan not started: ..."
    std::string receiverFailure;   // why the receiver's tuning was not put back
    std::string returnFailure;     // why the rotator is not back at its start, and where it is

    bool complete() const { return !cancelled && failure.empty(); }
};

ScanResult RunBearingScan(Rotator& rotator, const std::vector<double>& bearings,
                          const LevelReader& read, const ScanCallbacks& callbacks,
                          std::stop_token stop, std::stop_token hurry,
                          const TurnLimits& limits = {});

// A level with two decimals and the separator `sep`.
std::string LevelText(double levelDb, char sep);

// "azimuth_deg,level_db" and one line per reading, with a point.
inline constexpr const char* ScanCsvHeader = "azimuth_deg,level_db\n";
std::string ScanCsvRow(const BearingLevel& level);
std::string ScanCsv(const std::vector<BearingLevel>& levels);

// "120°  -85,3 dBm": one reading for the text output, with the regional separator.
std::string ScanLine(const BearingLevel& level, const std::string& unit, char sep);

}  // namespace fw::rotator
