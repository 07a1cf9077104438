#include "iq/iq_recording.h"

#include <sys/stat.h>

#include <charconv>

namespace fw {

namespace {

constexpr std::string_view MetaSuffix = ".sigmf-meta";
constexpr std::string_view DataSuffix = ".sigmf-data";

bool EndsWith(const std::string& text, std::string_view suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

bool Exists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

}  // namespace

int IqSampleBytes(IqSampleFormat format) {
    switch (format) {
        case IqSampleFormat::Float32:
            return 8;
        case IqSampleFormat::Int16:
            return 4;
        case IqSampleFormat::UInt8:
            return 2;
    }
    return 8;
}

std::vector<IqRecording> IqReadings(const IqRecording& rec) {
    if (rec.captures.empty()) return {rec};
    std::vector<IqRecording> parts;
    for (const IqCapture& c : rec.captures) {
        IqRecording part = rec;
        part.captures.clear();
        part.dataOffset = c.dataOffset;
        part.firstSample = c.firstSample;
        part.sampleCount = c.sampleCount;
        part.centreHz = c.centreHz;
        parts.push_back(std::move(part));
    }
    return parts;
}

std::string RecordingRateProblem(double rateHz) {
    if (rateHz >= MinRecordingRateHz && rateHz <= MaxRecordingRateHz) return {};
    char buf[64];
    const auto end = std::to_chars(buf, buf + sizeof buf, rateHz).ptr;
    return "the sample rate of " + std::string(buf, end) + " Hz is outside 8 kHz to 200 MHz";
}

Outcome<IqRecording> OpenIqRecording(const std::string& path) {
    std::string base = path;
    if (EndsWith(path, MetaSuffix) || EndsWith(path, DataSuffix)) {
        base.resize(path.size() - MetaSuffix.size());
    }
    const std::string meta = base + std::string(MetaSuffix);
    if (base != path || (!Exists(path) && Exists(meta)))
        return OpenSigmfRecording(meta, base + std::string(DataSuffix));
    return OpenWavRecording(path);
}

}  // namespace fw
