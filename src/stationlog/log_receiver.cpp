#include "stationlog/log_receiver.h"

#include <cstdio>

#include "libs/fw_math.h"

namespace fw {

namespace {

std::string Decibels(const char* format, double v) {
    char buf[48];
    std::snprintf(buf, sizeof buf, format, v);
    return buf;
}

}  // namespace

ReceiverSetup ReceiverOf(const LogReading& r) {
    return {r.source, r.rig, r.gainDbi, r.refLevelDbm, r.calOffsetDb};
}

std::string ReceiverSetupText(const ReceiverSetup& s) {
    std::string text = s.rig.empty() ? std::string(SourceText(s.source))
                                     : s.rig + " (" + std::string(SourceText(s.source)) + ")";
    // A typed field strength has no antenna gain.
    if (s.gainDbi != UnknownLevel) text += Decibels(", %g dBi", s.gainDbi);
    if (s.refLevelDbm) text += Decibels(", reference level %g dBm", *s.refLevelDbm);
    if (s.calOffsetDb)
        text += Decibels(", calibration %+.1f dB", *s.calOffsetDb);
    else if (s.source != ReadingSource::Typed)
        text += ", calibration unknown";
    return text;
}

std::string ReceiverSetupsText(const ReceiverSetups& setups) {
    std::string text;
    for (const ReceiverSetup& s : setups) text += (text.empty() ? "" : "; ") + ReceiverSetupText(s);
    return text.empty() ? "none" : text;
}

}  // namespace fw
