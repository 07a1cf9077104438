#pragma once
// Reference noise model: man-made and galactic noise after Recommendation ITU-R P.372,
// as noise figure Fa and as field strength in dB(uV/m) in a receiver bandwidth.
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace fw {

enum class NoiseEnvId { City, Residential, Rural, QuietRural, Galactic };
inline constexpr int NoiseEnvCount = 5;

struct NoiseEnv {
    NoiseEnvId id;
    std::string_view legend;  // text shown in the legend
    double c;                 // dB
    double d;                 // dB per decade
    bool galactic;            // valid only at 10 MHz and above
};

// The five environments in computing, drawing and legend order.
extern const std::array<NoiseEnv, NoiseEnvCount> NoiseEnvs;

inline constexpr int FreqGridCount = 1200;
inline constexpr double FreqGridLowHz = 100'000.0;
inline constexpr double FreqGridHighHz = 300'000'000.0;
inline constexpr double GalacticLowHz = 10'000'000.0;

// `count` frequencies logarithmically equidistant from lowHz to highHz, both included.
std::vector<double> makeLogGrid(int count, double lowHz, double highHz);

// The same grid with the decimal logarithm of each frequency, which comes for free.
struct LogGrid {
    std::vector<double> hz;
    std::vector<double> log10Hz;
};
LogGrid makeLogGridWithLogs(int count, double lowHz, double highHz);

struct ReferenceCurves {
    std::int32_t bandwidthHz = 0;
    std::vector<double> freqGrid;                             // Hz, ascending
    std::vector<double> log10Freq;                            // log10 of each grid frequency
    std::array<std::vector<double>, NoiseEnvCount> refFa;     // dB
    std::array<std::vector<double>, NoiseEnvCount> refField;  // dB(uV/m) in bandwidthHz
};

// Computes the five curves for a receiver bandwidth; 0 and below act as 1 Hz.
ReferenceCurves computeReferenceCurves(std::int32_t bandwidthHz);

}  // namespace fw
