#pragma once
// The four arrays of an ITU-R P.372 monthly coefficient file (COEFFmmW.txt) that the
// atmospheric noise needs, read as flat lists in file order.
#include <array>
#include <functional>
#include <map>
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
// when an array is missing, short, longer than its size or holds something that is no
// finite number.
Outcome<ItuNoiseCoefficients> ParseItuCoefficients(std::string_view text,
                                                   std::string_view fileName);

// The list of SHA-256 sums that the shipped coefficient files carry in their folder, one
// line "<64 hex digits>  <file name>" each.
inline constexpr std::string_view ItuChecksumListName = "SHA256SUMS";
using ChecksumList = std::map<std::string, std::string, std::less<>>;  // name -> sum

// The sums of a list's text by file name; the reason names the list at `listPath` when a
// line is not of that form.
Outcome<ChecksumList> ParseChecksumList(std::string_view text, std::string_view listPath);

// The bytes of a data file at `path`, `what` naming its kind in the reason ("The ITU-R
// P.372 coefficient file"). Anything but a regular file (a pipe, a device, a folder) is
// refused without reading from it; an unreadable one gives the system's reason.
Outcome<std::string> ReadDataFile(const std::string& path, std::string_view what);

// Reads and parses the file at `path`; the reason names the file when it is missing,
// unreadable or damaged. With `sums`, a file whose sum is not the listed one is refused as
// damaged or changed before it is parsed.
Outcome<ItuNoiseCoefficients> LoadItuCoefficients(const std::string& path,
                                                  const ChecksumList* sums = nullptr);

// Plausible atmospheric figures: Fa and its deciles in dB above kT0b. A figure beyond them,
// or one that is no finite number, comes from a damaged coefficient file. The shipped files
// give -63 ... 180 dB over all places, hours and frequencies.
inline constexpr double PlausibleFaLowDb = -100;
inline constexpr double PlausibleFaHighDb = 200;

// The refusal of a coefficient file that gives implausible figures; `what` says which
// ("Fa = -inf dB at 3.65 MHz").
std::string ImplausibleFiguresText(std::string_view path, std::string_view what);

}  // namespace fw
