#pragma once
// IQ recordings written by the tests: two-channel WAV files and SigMF pairs.
#include <algorithm>
#include <bit>
#include <cmath>
#include <complex>
#include <cstdint>
#include <fstream>
#include <optional>
#include <span>
#include <string>

namespace fw::test {

inline void PutLe(std::string& out, std::uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>(i < 8 ? (v >> (8 * i)) & 0xFF : 0);
}

inline void PutSample(std::string& out, float v, const std::string& type) {
    if (type == "cf32_le") PutLe(out, std::bit_cast<std::uint32_t>(v), 4);
    if (type == "ci16_le")
        PutLe(out, static_cast<std::uint16_t>(std::clamp(std::lround(v * 32768.0f), -32768L, 32767L)), 2);
    if (type == "cu8") out += static_cast<char>(std::clamp(std::lround(v * 127.5f + 127.5f), 0L, 255L));
}

// Interleaved I/Q of a SigMF datatype ("cf32_le", "ci16_le", "cu8").
inline std::string IqBytes(std::span<const std::complex<float>> samples, const std::string& type) {
    std::string out;
    for (const auto& s : samples) {
        PutSample(out, s.real(), type);
        PutSample(out, s.imag(), type);
    }
    return out;
}

inline std::string Chunk(const char* id, const std::string& body) {
    std::string c(id, 4);
    PutLe(c, body.size(), 4);
    return c + body + (body.size() % 2 ? std::string(1, '\0') : "");
}

// A WAV file's bytes: tag 1 (16-bit) or 3 (32-bit float), the auxi chunk where a centre is given.
inline std::string WavBytes(std::span<const std::complex<float>> samples, bool float32,
                            std::uint32_t rate, std::optional<std::uint32_t> centreHz,
                            int channels = 2) {
    const int bits = float32 ? 32 : 16;
    std::string fmt;
    PutLe(fmt, float32 ? 3 : 1, 2);
    PutLe(fmt, channels, 2);
    PutLe(fmt, rate, 4);
    PutLe(fmt, rate * channels * bits / 8, 4);
    PutLe(fmt, channels * bits / 8, 2);
    PutLe(fmt, bits, 2);
    std::string body = "WAVE" + Chunk("fmt ", fmt);
    if (centreHz) {
        std::string auxi(32, '\0');  // start and stop time
        PutLe(auxi, *centreHz, 4);
        auxi += std::string(20, '\0');
        body += Chunk("auxi", auxi);
    }
    body += Chunk("data", IqBytes(samples, float32 ? "cf32_le" : "ci16_le"));
    std::string riff = "RIFF";
    PutLe(riff, body.size(), 4);
    return riff + body;
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// BASE.sigmf-meta and BASE.sigmf-data.
inline void WriteSigmf(const std::string& base, std::span<const std::complex<float>> samples,
                       const std::string& type, double rate, double centreHz) {
    WriteBytes(base + ".sigmf-meta",
               "{\"global\": {\"core:datatype\": \"" + type + "\", \"core:sample_rate\": " +
                   std::to_string(rate) + ", \"core:version\": \"1.0.0\"},\n \"captures\": "
                   "[{\"core:sample_start\": 0, \"core:frequency\": " + std::to_string(centreHz) +
                   "}],\n \"annotations\": []}\n");
    WriteBytes(base + ".sigmf-data", IqBytes(samples, type));
}

}  // namespace fw::test
