// The WAV side of the IQ recordings: RIFF chunks "fmt ", "auxi" and "data", read by offset,
// so that the sample data itself is never loaded here. RF64 files (beyond 4 GB) give the data
// size in their "ds64" chunk; a plain RIFF file beyond 4 GB cannot state it and is refused.
#include <array>

#include "iq/byte_file.h"
#include "iq/iq_recording.h"

namespace fw {

namespace {

constexpr std::uint16_t FormatPcm = 1;
constexpr std::uint16_t FormatFloat = 3;
constexpr std::uint16_t FormatExtensible = 0xFFFE;
// The "auxi" chunk holds two 16-byte time stamps, then the centre frequency in Hz.
constexpr std::uint32_t AuxiCentreOffset = 32;
// A 32-bit size field that defers to the "ds64" chunk (RF64) or was never filled in.
constexpr std::uint32_t SizeInDs64 = 0xFFFFFFFF;
constexpr std::uint64_t RiffLimit = 0xFFFFFFFFull;

struct WavFormat {
    std::uint16_t tag = 0;
    std::uint16_t channels = 0;
    std::uint32_t rate = 0;
    std::uint16_t bits = 0;
};

bool IsId(const std::byte* p, const char* id) {
    for (int i = 0; i < 4; ++i)
        if (std::to_integer<char>(p[i]) != id[i]) return false;
    return true;
}

std::optional<WavFormat> ReadFormat(ByteFile& file, std::uint64_t at, std::uint32_t size) {
    std::array<std::byte, 26> b{};
    if (size < 16 || file.readAt(at, std::span(b).first(std::min<std::size_t>(size, b.size()))) < 16)
        return std::nullopt;
    WavFormat f{LittleU16(&b[0]), LittleU16(&b[2]), LittleU32(&b[4]), LittleU16(&b[14])};
    // An extensible format names the real one in the first two bytes of its sub-format.
    if (f.tag == FormatExtensible) f.tag = size >= 26 ? LittleU16(&b[24]) : 0;
    return f;
}

Outcome<IqSampleFormat> SampleFormatOf(const WavFormat& f) {
    if (f.channels != 2) {
        return Outcome<IqSampleFormat>::Fail("it has " + std::to_string(f.channels) +
                                             " channels; an IQ recording has two (I and Q)");
    }
    if (f.tag == FormatPcm && f.bits == 16) return Outcome<IqSampleFormat>::Ok(IqSampleFormat::Int16);
    if (f.tag == FormatFloat && f.bits == 32) return Outcome<IqSampleFormat>::Ok(IqSampleFormat::Float32);
    return Outcome<IqSampleFormat>::Fail("its samples (format " + std::to_string(f.tag) + ", " +
                                         std::to_string(f.bits) +
                                         " bits) are neither 16-bit integers nor 32-bit floats");
}

std::uint64_t LittleU64(const std::byte* p) {
    return LittleU32(p) | static_cast<std::uint64_t>(LittleU32(p + 4)) << 32;
}

// The data chunk's size in bytes: what it says, the ds64 size of an RF64 file, or the rest
// of the file where the writer never filled it in; a note says which.
std::uint64_t DataBytes(std::uint32_t stated, std::optional<std::uint64_t> ds64, std::uint64_t rest,
                        std::vector<std::string>& notes) {
    if (stated == SizeInDs64 && ds64) return *ds64;
    if (stated == 0 || stated == SizeInDs64) {
        notes.push_back("the WAV file does not state the size of its samples (its writer did not "
                        "finish); they are read to the end of the file");
        return rest;
    }
    return stated;
}

Outcome<IqRecording> ReadWav(ByteFile& file, const std::string& path) {
    const auto refuse = [&](const std::string& why) {
        return Outcome<IqRecording>::Fail("Cannot use the recording " + path + ": " + why + ".");
    };
    std::array<std::byte, 12> riff{};
    const bool read = file.readAt(0, riff) == 12 && IsId(&riff[8], "WAVE");
    const bool rf64 = read && IsId(&riff[0], "RF64");
    if (!read || (!rf64 && !IsId(&riff[0], "RIFF")))
        return refuse("it is neither a WAV file nor a SigMF recording");
    if (!rf64 && file.size() > RiffLimit + 8) {
        return refuse("it is larger than 4 GB, which a RIFF WAV file cannot describe; "
                      "save it as RF64 WAV or SigMF");
    }
    std::optional<std::uint64_t> ds64;

    std::optional<WavFormat> format;
    IqRecording rec;
    rec.dataPath = path;
    for (std::uint64_t at = 12;;) {
        std::array<std::byte, 8> head{};
        if (file.readAt(at, head) != 8) return refuse("it has no data chunk");
        const std::uint32_t size = LittleU32(&head[4]);
        const std::uint64_t body = at + 8;
        if (IsId(&head[0], "data")) {
            if (!format) return refuse("the data chunk comes before the format chunk");
            if (rf64 && !ds64) return refuse("it is an RF64 file without its ds64 chunk");
            const std::uint64_t bytes = DataBytes(size, ds64, file.size() - body, rec.notes);
            if (body + bytes > file.size()) {
                return refuse("it is cut short: the data chunk holds " + std::to_string(bytes) +
                              " bytes, the file only " + std::to_string(file.size() - body));
            }
            const auto sampleFormat = SampleFormatOf(*format);
            if (!sampleFormat) return refuse(sampleFormat.reason());
            if (format->rate == 0) return refuse("its sample rate is 0");
            if (const std::string bad = RecordingRateProblem(format->rate); !bad.empty()) return refuse(bad);
            rec.format = sampleFormat.value();
            rec.sampleRateHz = format->rate;
            rec.dataOffset = body;
            const auto sampleBytes = static_cast<std::uint64_t>(IqSampleBytes(rec.format));
            rec.sampleCount = bytes / sampleBytes;
            if (const std::uint64_t partial = bytes % sampleBytes; partial != 0) {
                rec.notes.push_back("the last " + std::to_string(partial) +
                                    " bytes of the samples are part of a sample and are left out");
            }
            return Outcome<IqRecording>::Ok(rec);
        }
        if (body + size > file.size()) return refuse("it is damaged: a chunk runs past its end");
        if (IsId(&head[0], "ds64") && size >= 16) {
            std::array<std::byte, 8> dataSize{};
            if (file.readAt(body + 8, dataSize) == 8) ds64 = LittleU64(dataSize.data());
        } else if (IsId(&head[0], "fmt ")) {
            format = ReadFormat(file, body, size);
            if (!format) return refuse("its format chunk is damaged");
        } else if (IsId(&head[0], "auxi") && size >= AuxiCentreOffset + 4) {
            std::array<std::byte, 4> hz{};
            if (file.readAt(body + AuxiCentreOffset, hz) == 4 && LittleU32(hz.data()) > 0)
                rec.centreHz = LittleU32(hz.data());
        }
        at = body + size + (size & 1);  // chunks are padded to an even length
    }
}

}  // namespace

Outcome<IqRecording> OpenWavRecording(const std::string& path) {
    ByteFile file(path);
    if (!file.error().empty()) return Outcome<IqRecording>::Fail("Cannot open " + file.error() + ".");
    return ReadWav(file, path);
}

}  // namespace fw
