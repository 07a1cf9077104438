#include "model/levels.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "libs/fw_math.h"

namespace fw {

static_assert(FieldStrengthConstant == 480.0 * std::numbers::pi * std::numbers::pi);

const std::array<BandEntry, 13> BandTable = {{
    {"LW", 0.136},
    {"MW", 0.475},
    {"160m", 1.905},
    {"80m", 3.65},
    {"40m", 7.1},
    {"30m", 10.125},
    {"20m", 14.175},
    {"17m", 18.118},
    {"15m", 21.225},
    {"12m", 24.94},
    {"10m", 28.85},
    {"6m", 51.0},
    {"2m", 145.0},
}};

// One S-unit is 6 dB, so "S9+N" is 9 + N/6 S-units.
const std::array<SValueEntry, 13> SValueTable = {{
    {"S1", 1.0},
    {"S2", 2.0},
    {"S3", 3.0},
    {"S4", 4.0},
    {"S5", 5.0},
    {"S6", 6.0},
    {"S7", 7.0},
    {"S8", 8.0},
    {"S9", 9.0},
    {"S9+10", 32.0 / 3.0},
    {"S9+20", 37.0 / 3.0},
    {"S9+30", 14.0},
    {"S9+40", 47.0 / 3.0},
}};

double SUnitsToMicrovolt(double s) {
    return 50.0 * std::pow(10.0, ((s - 9.0) * 6.0) / 20.0);
}

double MicrovoltToSUnits(double u) {
    return 9.0 + 20.0 * SafeLog10(u / 50.0) / 6.0;
}

double DbuvToMicrovolt(double d) {
    return std::pow(10.0, d / 20.0);
}

double MicrovoltToDbuv(double u) {
    return 20.0 * SafeLog10(u);
}

double MicrovoltToDbm(double u) {
    const double volt = u * 1e-6;
    const double watt = volt * volt / ReferenceOhm;
    return 10.0 * SafeLog10(watt * 1000.0);
}

double DbmToMicrovolt(double p) {
    const double watt = std::pow(10.0, p / 10.0) * 0.001;
    return std::sqrt(watt * ReferenceOhm) * 1e6;
}

double WavelengthM(double fMHz) {
    return WavelengthConstant / fMHz;
}

double GainFactor(double gainDbi) {
    return std::pow(10.0, gainDbi / 10.0);
}

double FieldStrengthDbuVm(double u, double fMHz, double gainDbi) {
    const double lambda = WavelengthM(fMHz);
    const double e =
        std::sqrt(FieldStrengthConstant / (GainFactor(gainDbi) * ReferenceOhm)) * u / lambda;
    return 20.0 * SafeLog10(e);
}

double BandFrequencyMHz(std::string_view text) {
    return KnownBandFrequencyMHz(text).value_or(1.0);
}

double SValueFromText(std::string_view text) {
    return KnownSValue(text).value_or(0.0);
}

std::optional<double> KnownBandFrequencyMHz(std::string_view text) {
    for (const BandEntry& b : BandTable)
        if (b.text == text) return b.frequencyMHz;
    return std::nullopt;
}

std::optional<double> KnownSValue(std::string_view text) {
    for (const SValueEntry& s : SValueTable)
        if (s.text == text) return s.sUnits;
    constexpr std::string_view Above = "S9+";
    if (!text.starts_with(Above)) return std::nullopt;
    const std::string_view digits = text.substr(Above.size());
    int n = 0;
    const auto res = std::from_chars(digits.data(), digits.data() + digits.size(), n);
    if (digits.empty() || digits.front() < '1' || digits.front() > '9' || res.ec != std::errc() ||
        res.ptr != digits.data() + digits.size() || n > 60)
        return std::nullopt;
    return 9.0 + n / 6.0;
}

namespace {

// The levels that follow from the receiver voltage u, apart from the entered one.
MeasurementLevels LevelsFromMicrovolt(double u, double fMHz, double gainDbi) {
    MeasurementLevels m;
    m.WavelengthM = WavelengthM(fMHz);
    m.Microvolt = u;
    m.SUnits = MicrovoltToSUnits(u);
    m.AntVoltDbuV = MicrovoltToDbuv(u);
    m.AntPowerDbm = MicrovoltToDbm(u);
    m.GainDbi = gainDbi;
    m.FieldDbuVm = FieldStrengthDbuVm(u, fMHz, gainDbi);
    return m;
}

}  // namespace

MeasurementLevels LevelsFromSValue(double s, double fMHz, double gainDbi) {
    MeasurementLevels m = LevelsFromMicrovolt(SUnitsToMicrovolt(s), fMHz, gainDbi);
    m.SUnits = s;
    return m;
}

MeasurementLevels LevelsFromAntennaVoltage(double dbuv, double fMHz, double gainDbi) {
    MeasurementLevels m = LevelsFromMicrovolt(DbuvToMicrovolt(dbuv), fMHz, gainDbi);
    m.AntVoltDbuV = dbuv;
    return m;
}

MeasurementLevels LevelsFromAntennaPower(double dbm, double fMHz, double gainDbi) {
    MeasurementLevels m = LevelsFromMicrovolt(DbmToMicrovolt(dbm), fMHz, gainDbi);
    m.AntPowerDbm = dbm;
    return m;
}

MeasurementLevels LevelsFromFieldStrength(double dbuvm) {
    MeasurementLevels m;
    m.SUnits = UnknownLevel;
    m.AntVoltDbuV = UnknownLevel;
    m.AntPowerDbm = UnknownLevel;
    m.GainDbi = UnknownLevel;
    m.FieldDbuVm = dbuvm;
    return m;
}

namespace {

void AppendPadded(std::string& out, std::string_view text, int width) {
    if (width > static_cast<int>(text.size())) out.append(width - text.size(), ' ');
    out.append(text);
}

}  // namespace

namespace {

// Fixed point without the general conversion for the common case: |value| * 10^decimals
// below 2^53, and not so close to a rounding tie that the rounding error of the scaling
// could pick the other neighbour. Gives the same text as the general conversion, or 0.
std::size_t FixedFast(char* buf, double value, int decimals) {
    static constexpr double scales[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6};
    static constexpr std::uint64_t powers[] = {1, 10, 100, 1000, 10000, 100000, 1000000};
    if (decimals < 0 || decimals > 6) return 0;
    const double scaled = std::fabs(value) * scales[decimals];
    if (!(scaled < 4e15)) return 0;
    const double below = std::floor(scaled);
    const double fraction = scaled - below;
    if (std::fabs(fraction - 0.5) <= scaled * 0x1p-51 + 0x1p-60) return 0;
    const auto units = static_cast<std::uint64_t>(below) + (fraction > 0.5 ? 1 : 0);
    char* p = buf;
    if (std::signbit(value)) *p++ = '-';
    p = std::to_chars(p, p + 24, units / powers[decimals]).ptr;
    if (decimals > 0) {
        *p++ = '.';
        std::uint64_t rest = units % powers[decimals];
        for (int k = decimals - 1; k >= 0; --k) {
            p[k] = static_cast<char>('0' + rest % 10);
            rest /= 10;
        }
        p += decimals;
    }
    return static_cast<std::size_t>(p - buf);
}

}  // namespace

void AppendFixed(std::string& out, double value, int decimals, char decimalSeparator) {
    // Locale-independent; the largest double has 309 integer digits.
    char buf[400];
    std::size_t len = FixedFast(buf, value, decimals);
    if (len == 0) {
        const auto res =
            std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
        len = res.ec == std::errc() ? static_cast<std::size_t>(res.ptr - buf) : 0;
    }
    for (std::size_t i = 0; i < len; ++i)
        if (buf[i] == '.') buf[i] = decimalSeparator;
    out.append(buf, len);
}

void AppendLevel(std::string& out, int width, int decimals, bool bar, double value,
                 char decimalSeparator) {
    if (!(value > UnknownLevel)) {
        AppendPadded(out, " --- ", width);
    } else {
        const std::size_t start = out.size();
        AppendFixed(out, value, decimals, decimalSeparator);
        const std::size_t len = out.size() - start;
        if (width > static_cast<int>(len)) out.insert(start, width - len, ' ');
    }
    if (bar) out.push_back('|');
}

std::string FormatLevel(std::string_view format, double value, char decimalSeparator) {
    const std::size_t percent = format.find('%');
    if (percent == std::string_view::npos) return std::string(format);
    std::size_t i = percent + 1;
    int width = 0;
    while (i < format.size() && format[i] >= '0' && format[i] <= '9' && width < 100)
        width = width * 10 + (format[i++] - '0');
    int decimals = 6;
    if (i < format.size() && format[i] == '.') {
        decimals = 0;
        ++i;
        while (i < format.size() && format[i] >= '0' && format[i] <= '9' && decimals < 100)
            decimals = decimals * 10 + (format[i++] - '0');
    }
    if (i >= format.size() || format[i] != 'f') return std::string(format);
    const std::string_view suffix = format.substr(i + 1);

    std::string out;
    if (!(value > UnknownLevel)) {
        AppendLevel(out, width, 0, format.back() == '|', value, decimalSeparator);
        return out;
    }
    out.append(format.substr(0, percent));
    AppendLevel(out, width, decimals, false, value, decimalSeparator);
    out.append(suffix);
    return out;
}

}  // namespace fw
