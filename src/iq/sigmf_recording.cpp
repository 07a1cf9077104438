// The SigMF side of the IQ recordings: the JSON metadata (datatype, sample rate, and each
// capture's first sample, frequency and header bytes) and the size of the data file.
#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

#include <cmath>
#include <vector>

#include "iq/byte_file.h"
#include "iq/iq_recording.h"

namespace fw {

namespace {

// A metadata file beyond this is not one a recorder wrote.
constexpr std::uint64_t MaxMetaBytes = 64ull << 20;

struct Datatype {
    const char* name;
    IqSampleFormat format;
};
constexpr Datatype Datatypes[] = {
    {"cf32_le", IqSampleFormat::Float32},
    {"ci16_le", IqSampleFormat::Int16},
    {"cu8", IqSampleFormat::UInt8},
};

// A whole, non-negative count of the capture (absent: 0), or none.
std::optional<std::uint64_t> CountOf(const QJsonObject& capture, const char* key) {
    const double v = capture.value(key).toDouble(0);
    if (!(v >= 0) || v != std::floor(v) || v > 9e15) return std::nullopt;
    return static_cast<std::uint64_t>(v);
}

// Each capture runs from its core:sample_start to the next one's; the data file holds every
// capture's header bytes before its samples. Empty on success, else why not.
std::string ReadCaptures(const QJsonArray& list, std::uint64_t dataBytes, IqRecording& rec) {
    const auto sampleBytes = static_cast<std::uint64_t>(IqSampleBytes(rec.format));
    std::uint64_t headers = 0;
    for (qsizetype i = 0; i < std::max<qsizetype>(list.size(), 1); ++i) {
        const QJsonObject capture = list.at(i).toObject();
        const std::string which = list.size() > 1 ? "capture " + std::to_string(i + 1) + ": " : "";
        const auto start = CountOf(capture, "core:sample_start");
        const auto header = CountOf(capture, "core:header_bytes");
        if (!start) return which + "core:sample_start is not a sample number";
        if (!header) return which + "core:header_bytes is not a byte count";
        if (!rec.captures.empty() && *start <= rec.captures.back().firstSample)
            return which + "the captures are not in the order of their core:sample_start";
        headers += *header;
        rec.headerBytes = headers;
        IqCapture c;
        c.firstSample = *start;
        c.dataOffset = headers + *start * sampleBytes;
        if (const QJsonValue f = capture.value("core:frequency"); f.isDouble()) c.centreHz = f.toDouble();
        if (c.dataOffset > dataBytes) return which + "it starts past the end of the data file";
        rec.captures.push_back(c);
    }
    for (std::size_t i = 0; i < rec.captures.size(); ++i) {
        IqCapture& c = rec.captures[i];
        const bool last = i + 1 == rec.captures.size();
        const std::uint64_t end = last ? dataBytes : headers + rec.captures[i + 1].firstSample * sampleBytes;
        c.sampleCount = (end - std::min(end, c.dataOffset)) / sampleBytes;
        if (!last) continue;
        const std::uint64_t partial = (dataBytes - c.dataOffset) % sampleBytes;
        if (partial != 0 && headers != 0) {
            return "core:header_bytes (" + std::to_string(headers) + ") does not fit the data: " +
                   std::to_string(partial) + " bytes of a partial sample are left at the end; is the header size right?";
        }
        if (partial != 0) {
            rec.notes.push_back("the last " + std::to_string(partial) +
                                " bytes of the samples are part of a sample and are left out");
        }
    }
    return {};
}

}  // namespace

Outcome<IqRecording> OpenSigmfRecording(const std::string& metaPath, const std::string& dataPath) {
    const auto refuse = [&](const std::string& why) {
        return Outcome<IqRecording>::Fail("Cannot use the recording " + metaPath + ": " + why + ".");
    };
    ByteFile meta(metaPath);
    if (!meta.error().empty()) return Outcome<IqRecording>::Fail("Cannot open " + meta.error() + ".");
    if (meta.size() > MaxMetaBytes) return refuse("the metadata file is too large");
    std::vector<std::byte> bytes(meta.size());
    if (meta.readAt(0, bytes) != static_cast<std::int64_t>(bytes.size()))
        return Outcome<IqRecording>::Fail("Cannot read " + meta.error() + ".");

    QJsonParseError parseError{};
    const QJsonDocument doc = QJsonDocument::fromJson(
        QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())),
        &parseError);
    if (doc.isNull())
        return refuse("the metadata is not valid JSON (" + parseError.errorString().toStdString() + ")");
    const QJsonObject global = doc.object().value("global").toObject();
    const QString datatype = global.value("core:datatype").toString();
    const Datatype* type = nullptr;
    for (const Datatype& d : Datatypes)
        if (datatype == d.name) type = &d;
    if (!type) {
        return refuse("the datatype \"" + datatype.toStdString() +
                      "\" is not supported (cf32_le, ci16_le or cu8)");
    }
    if (global.value("core:num_channels").toInt(1) != 1) return refuse("it holds more than one channel");
    const double rate = global.value("core:sample_rate").toDouble(0);
    if (!std::isfinite(rate) || rate <= 0) return refuse("core:sample_rate is missing or not above 0");
    if (const std::string bad = RecordingRateProblem(rate); !bad.empty()) return refuse(bad);

    IqRecording rec;
    rec.dataPath = dataPath;
    rec.format = type->format;
    rec.sampleRateHz = rate;
    ByteFile data(dataPath);
    if (!data.error().empty()) return Outcome<IqRecording>::Fail("Cannot open " + data.error() + ".");
    const std::string bad = ReadCaptures(doc.object().value("captures").toArray(), data.size(), rec);
    if (!bad.empty()) return refuse(bad);
    const IqCapture& first = rec.captures.front();
    rec.centreHz = first.centreHz;
    rec.dataOffset = first.dataOffset;
    rec.firstSample = first.firstSample;
    for (const IqCapture& c : rec.captures) rec.sampleCount += c.sampleCount;
    if (rec.captures.size() == 1) rec.captures.clear();
    return Outcome<IqRecording>::Ok(rec);
}

}  // namespace fw
