#pragma once
// Atmospheric radio noise after Recommendation ITU-R P.372, computed from the coefficient
// files as the ITU-R reference software computes it: a map of the median at 1 MHz per
// 4-hour local-time block, frequency polynomials, and interpolation towards the next block.
#include <string>

#include "model/itu_coefficients.h"

namespace fw {

// The atmospheric model is evaluated only in this range (MHz); above 30 MHz its polynomial
// runs away and becomes meaningless.
inline constexpr double AtmosphericLowMHz = 0.01;
inline constexpr double AtmosphericHighMHz = 30.0;
bool InAtmosphericRange(double freqMHz);

// The atmospheric figures at one frequency, all in dB.
struct AtmosphericNoise {
    double fa = 0;        // median, dB above kT0b
    double du = 0;        // upper decile minus median
    double dl = 0;        // median minus lower decile
    double sigmaFam = 0;  // standard deviations of the predicted Fam, Du and Dl
    double sigmaDu = 0;
    double sigmaDl = 0;
};

// The local-time blocks of a longitude and UTC hour (0..23). The local hour is the UTC hour
// plus the longitude's whole 15-degree steps towards zero, wrapped to 0..23.
struct AtmosphericTiming {
    int localHour = 0;
    int block0 = 0;     // block holding the local hour: 0 = 00-04 LT ... 5 = 20-24 LT
    int block1 = 0;     // the following block
    double weight = 0;  // share of block1: 0, 0.25, 0.5 or 0.75
    int row0 = 0;       // rows of the decile and frequency tables: the block, +6 south
    int row1 = 0;
};
AtmosphericTiming MakeAtmosphericTiming(double latDeg, double lonDeg, int utcHour);

// Median noise at 1 MHz of a time block from the map (dB above kT0b).
double MapMedian1MHz(const ItuNoiseCoefficients& c, int block, double latDeg, double lonDeg);

// Everything of one place and UTC hour that does not depend on the frequency.
struct AtmosphericSite {
    AtmosphericTiming timing;
    double fam1[2] = {0, 0};  // MapMedian1MHz of block0 and block1
};
AtmosphericSite MakeAtmosphericSite(const ItuNoiseCoefficients& c, double latDeg, double lonDeg,
                                    int utcHour);

// The figures of one block (table row `row`, map median `fam1`) at a frequency above 0.
AtmosphericNoise BlockNoise(const ItuNoiseCoefficients& c, int row, double fam1, double freqMHz);

// Each figure interpolated in the power domain: 10 log10(p0 + (p1 - p0) w).
AtmosphericNoise InterpolateBlocks(const AtmosphericNoise& v0, const AtmosphericNoise& v1,
                                   double weight);

// Empty when every figure is a finite number and Fa, Fa + Du and Fa - Dl lie within
// PlausibleFaLowDb ... PlausibleFaHighDb; else the first that does not, as "Fa = -inf dB at
// 3.65 MHz".
std::string ImplausibleFigure(const AtmosphericNoise& n, double freqMHz);

// The figures at a frequency above 0, without range check; callers keep to
// InAtmosphericRange.
AtmosphericNoise AtmosphericNoiseAt(const ItuNoiseCoefficients& c, const AtmosphericSite& site,
                                    double freqMHz);

}  // namespace fw
