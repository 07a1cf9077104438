#pragma once
// The four arrays of an ITU-R P.372 monthly coefficient file (COEFFmmW.txt) that the
// atmospheric noise needs, read as flat lists in file order.
#include <array>
#include <string>
#include <string_view>

#include "model/outcome.h"

namespace fw {

struct ItuNoiseCoefficients {
    // fakp(29,16,6): map of the median noise at 1 MHz, P[b][k][j] = p[464 b + 29 k + j].
    std::array<double, 2784> p{};
    // fakabp(2,6): offset and slope of the map per time block, AB[b][t] = ab[2 b + t].
    std::array<double, 12> ab{};
    // dud(5,12,5): Du, Dl and the three sigmas, D[q][s][c] = d[60 q + 5 s + c].
    std::array<double, 300> d{};
    // fam(14,12): frequency polynomials pz and px, F[s][c] = f[14 s + c].
    std::array<double, 168> f{};
};

// "COEFF01W.txt" ... "COEFF12W.txt"; `month` is 1..12.
std::string ItuCoefficientFileName(int month);

// Reads the arrays from the text of a coefficient file; `fileName` names it in the reason
// when an array is missing, short or holds something that is no finite number.
Outcome<ItuNoiseCoefficients> ParseItuCoefficients(std::string_view text,
                                                   std::string_view fileName);

// Reads and parses the file at `path`; the reason names the file when it is missing,
// unreadable or damaged.
Outcome<ItuNoiseCoefficients> LoadItuCoefficients(const std::string& path);

}  // namespace fw
