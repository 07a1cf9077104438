#include "model/atmospheric_noise.h"

#include <charconv>
#include <cmath>
#include <numbers>

namespace fw {

namespace {

// The degree-to-radian constant of the reference software, kept so that the local hour and
// the map give its values to the last digit.
constexpr double DegToRad = 0.0174532925;
constexpr double Pi = std::numbers::pi;

constexpr int MapLatTerms = 29;
constexpr int MapLonTerms = 16;
constexpr int DecileQuantities = 5;
constexpr int TableRows = 12;
constexpr int PolyCoefficients = 5;
constexpr int FreqCoefficients = 14;

// Horner scheme, highest power first.
template <int N>
double Poly(const double* coefficients, double x) {
    double y = coefficients[0];
    for (int i = 1; i < N; ++i) y = y * x + coefficients[i];
    return y;
}

double Power(double db) {
    return std::pow(10.0, db / 10.0);
}

double Interpolate(double v0, double v1, double weight) {
    const double p0 = Power(v0);
    return 10.0 * std::log10(p0 + (Power(v1) - p0) * weight);
}

}  // namespace

bool InAtmosphericRange(double freqMHz) {
    return freqMHz >= AtmosphericLowMHz && freqMHz <= AtmosphericHighMHz;
}

AtmosphericTiming MakeAtmosphericTiming(double latDeg, double lonDeg, int utcHour) {
    const double latR = latDeg * DegToRad;
    const double lonR = lonDeg * DegToRad;
    const int offset = static_cast<int>(std::trunc(lonR / (15 * DegToRad)));
    int local = utcHour + offset;
    if (local < 0)
        local += 24;
    else if (local > 23)
        local -= 24;

    AtmosphericTiming t;
    t.localHour = local;
    t.block0 = local / 4;
    t.block1 = (t.block0 + 1) % 6;
    t.weight = (local % 4) / 4.0;
    const int south = latR < 0 ? 6 : 0;
    t.row0 = t.block0 + south;
    t.row1 = t.block1 + south;
    return t;
}

double MapMedian1MHz(const ItuNoiseCoefficients& c, int block, double latDeg, double lonDeg) {
    const double latR = latDeg * DegToRad;
    const double lonR = lonDeg * DegToRad;
    // Half the east longitude, 0 .. pi, and the colatitude from the south pole, 0 .. pi.
    const double theta = lonR >= 0 ? lonR / 2 : (lonR + 2 * Pi) / 2;
    const double psi = latR + Pi / 2;
    const double* p = c.p.data() + block * MapLatTerms * MapLonTerms;

    double lonSines[MapLonTerms - 1];
    for (int k = 0; k < MapLonTerms - 1; ++k) lonSines[k] = std::sin((k + 1) * theta);
    double fam1 = 0;
    for (int j = 0; j < MapLatTerms; ++j) {
        double z = p[(MapLonTerms - 1) * MapLatTerms + j];
        for (int k = 0; k < MapLonTerms - 1; ++k) z += lonSines[k] * p[k * MapLatTerms + j];
        fam1 += std::sin((j + 1) * psi) * z;
    }
    return fam1 + c.ab[2 * block] + c.ab[2 * block + 1] * psi;
}

AtmosphericSite MakeAtmosphericSite(const ItuNoiseCoefficients& c, double latDeg, double lonDeg,
                                    int utcHour) {
    AtmosphericSite site;
    site.timing = MakeAtmosphericTiming(latDeg, lonDeg, utcHour);
    site.fam1[0] = MapMedian1MHz(c, site.timing.block0, latDeg, lonDeg);
    site.fam1[1] = MapMedian1MHz(c, site.timing.block1, latDeg, lonDeg);
    return site;
}

AtmosphericNoise BlockNoise(const ItuNoiseCoefficients& c, int row, double fam1, double freqMHz) {
    const double* f = c.f.data() + row * FreqCoefficients;
    const double* pz = f;
    const double* px = f + FreqCoefficients / 2;
    constexpr double u1 = -0.75;  // u at 1 MHz
    const double lg = std::log10(freqMHz);
    const double u = (8 * std::pow(2.0, lg) - 11) / 4;
    const double cz = fam1 * (2 - Poly<7>(pz, u1)) - Poly<7>(px, u1);

    // Du, Dl and their sigmas stop changing above 20 MHz, the sigma of Fam above 10 MHz.
    const double x = freqMHz <= 20 ? lg : std::log10(20.0);
    const double x4 = freqMHz <= 10 ? x : 1.0;
    auto decile = [&](int q, double at) {
        return Poly<PolyCoefficients>(c.d.data() + (q * TableRows + row) * PolyCoefficients, at);
    };
    static_assert(DecileQuantities == 5);

    AtmosphericNoise n;
    n.fa = cz * Poly<7>(pz, u) + Poly<7>(px, u);
    n.du = decile(0, x);
    n.dl = decile(1, x);
    n.sigmaDu = decile(2, x);
    n.sigmaDl = decile(3, x);
    n.sigmaFam = decile(4, x4);
    return n;
}

AtmosphericNoise InterpolateBlocks(const AtmosphericNoise& v0, const AtmosphericNoise& v1,
                                   double weight) {
    AtmosphericNoise n;
    n.fa = Interpolate(v0.fa, v1.fa, weight);
    n.du = Interpolate(v0.du, v1.du, weight);
    n.dl = Interpolate(v0.dl, v1.dl, weight);
    n.sigmaFam = Interpolate(v0.sigmaFam, v1.sigmaFam, weight);
    n.sigmaDu = Interpolate(v0.sigmaDu, v1.sigmaDu, weight);
    n.sigmaDl = Interpolate(v0.sigmaDl, v1.sigmaDl, weight);
    return n;
}

AtmosphericNoise AtmosphericNoiseAt(const ItuNoiseCoefficients& c, const AtmosphericSite& site,
                                    double freqMHz) {
    const AtmosphericTiming& t = site.timing;
    return InterpolateBlocks(BlockNoise(c, t.row0, site.fam1[0], freqMHz),
                             BlockNoise(c, t.row1, site.fam1[1], freqMHz), t.weight);
}

std::string ImplausibleFigure(const AtmosphericNoise& n, double freqMHz) {
    const struct {
        const char* name;
        double value;
        bool level;  // checked against the plausible range, not only for being finite
    } figures[] = {{"Fa", n.fa, true},
                   {"Fa + Du", n.fa + n.du, true},
                   {"Fa - Dl", n.fa - n.dl, true},
                   {"sigma Fam", n.sigmaFam, false},
                   {"sigma Du", n.sigmaDu, false},
                   {"sigma Dl", n.sigmaDl, false}};
    for (const auto& f : figures) {
        if (std::isfinite(f.value) &&
            (!f.level || (f.value >= PlausibleFaLowDb && f.value <= PlausibleFaHighDb)))
            continue;
        char number[64];
        const auto end = std::to_chars(number, number + sizeof number, f.value).ptr;
        char mhz[64];
        const auto mhzEnd = std::to_chars(mhz, mhz + sizeof mhz, freqMHz).ptr;
        return std::string(f.name) + " = " + std::string(number, end) + " dB at " +
               std::string(mhz, mhzEnd) + " MHz";
    }
    return {};
}

}  // namespace fw
