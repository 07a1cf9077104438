#include "stationlog/log_receiver.h"

#include "libs/number_text.h"
#include "libs/fw_math.h"

namespace fw {

ReceiverSetup ReceiverOf(const LogReading& r) {
    return {r.source, r.rig, r.gainDbi, r.refLevelDbm, r.calOffsetDb};
}

std::string ReceiverSetupText(const ReceiverSetup& s) {
    std::string text = s.rig.empty() ? std::string(SourceText(s.source))
                                     : s.rig + " (" + std::string(SourceText(s.source)) + ")";
    // A typed field strength has no antenna gain.
    if (s.gainDbi != UnknownLevel) text += ", " + GeneralText(s.gainDbi) + " dBi";
    if (s.refLevelDbm) text += ", reference level " + GeneralText(*s.refLevelDbm) + " dBm";
    if (s.calOffsetDb)
        text += ", calibration " + SignedFixedText(*s.calOffsetDb, 1) + " dB";
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
