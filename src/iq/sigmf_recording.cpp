// The SigMF side of the IQ recordings: the JSON metadata (datatype, sample rate, the first
// capture's frequency and header bytes) and the size of the data file.
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

    IqRecording rec;
    rec.dataPath = dataPath;
    rec.format = type->format;
    rec.sampleRateHz = rate;
    const QJsonObject capture = doc.object().value("captures").toArray().at(0).toObject();
    if (const QJsonValue f = capture.value("core:frequency"); f.isDouble()) rec.centreHz = f.toDouble();
    const double header = capture.value("core:header_bytes").toDouble(0);
    if (header < 0 || header != std::floor(header)) return refuse("core:header_bytes is not a byte count");
    rec.dataOffset = static_cast<std::uint64_t>(header);

    ByteFile data(dataPath);
    if (!data.error().empty()) return Outcome<IqRecording>::Fail("Cannot open " + data.error() + ".");
    if (rec.dataOffset > data.size()) return refuse("the data file is shorter than its header bytes");
    rec.sampleCount = (data.size() - rec.dataOffset) / static_cast<std::uint64_t>(IqSampleBytes(rec.format));
    return Outcome<IqRecording>::Ok(rec);
}

}  // namespace fw
