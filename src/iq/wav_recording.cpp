// The WAV side of the IQ recordings: RIFF chunks "fmt ", "auxi" and "data", read by offset,
// so that the sample data itself is never loaded here.
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

}  // namespace

Outcome<IqRecording> OpenWavRecording(const std::string& path) {
    const auto refuse = [&](const std::string& why) {
        return Outcome<IqRecording>::Fail("Cannot use the recording " + path + ": " + why + ".");
    };
    ByteFile file(path);
    if (!file.error().empty()) return Outcome<IqRecording>::Fail("Cannot open " + file.error() + ".");
    std::array<std::byte, 12> riff{};
    if (file.readAt(0, riff) != 12 || !IsId(&riff[0], "RIFF") || !IsId(&riff[8], "WAVE"))
        return refuse("it is neither a WAV file nor a SigMF recording");

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
            if (body + size > file.size()) {
                return refuse("it is cut short: the data chunk holds " + std::to_string(size) +
                              " bytes, the file only " + std::to_string(file.size() - body));
            }
            const auto sampleFormat = SampleFormatOf(*format);
            if (!sampleFormat) return refuse(sampleFormat.reason());
            if (format->rate == 0) return refuse("its sample rate is 0");
            rec.format = sampleFormat.value();
            rec.sampleRateHz = format->rate;
            rec.dataOffset = body;
            rec.sampleCount = size / static_cast<std::uint64_t>(IqSampleBytes(rec.format));
            return Outcome<IqRecording>::Ok(rec);
        }
        if (body + size > file.size()) return refuse("it is damaged: a chunk runs past its end");
        if (IsId(&head[0], "fmt ")) {
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

}  // namespace fw
