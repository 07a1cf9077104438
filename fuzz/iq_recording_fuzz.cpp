// The IQ recordings' header parsers. After a first byte "S" the input is a SigMF pair: its
// metadata up to the first zero byte, its data after it; after any other first byte, a WAV
// file. A recording is refused with a reason or opened with a sound header (a sample rate
// above 0, the samples within the file), and then streams exactly the samples it promised,
// the integer ones within full scale.
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "iq/iq_recording.h"
#include "iq/iq_stream.h"

namespace {

// An in-memory file, named by its /proc path, so that nothing is left behind however the
// fuzzer ends.
struct MemoryFile {
    explicit MemoryFile(const char* name) : fd(memfd_create(name, MFD_CLOEXEC)) {
        if (fd < 0) std::abort();
    }
    std::string path() const { return "/proc/self/fd/" + std::to_string(fd); }
    void hold(std::string_view bytes) const {
        if (ftruncate(fd, 0) != 0 ||
            pwrite(fd, bytes.data(), bytes.size(), 0) != static_cast<ssize_t>(bytes.size()))
            std::abort();
    }
    int fd;
};

void Check(const fw::Outcome<fw::IqRecording>& rec, std::uint64_t dataBytes) {
    if (!rec) {
        if (rec.reason().empty()) std::abort();
        return;
    }
    const fw::IqRecording& r = rec.value();
    const auto sampleBytes = static_cast<std::uint64_t>(fw::IqSampleBytes(r.format));
    if (!(std::isfinite(r.sampleRateHz) && r.sampleRateHz > 0)) std::abort();
    if (r.dataOffset > dataBytes || r.sampleCount > (dataBytes - r.dataOffset) / sampleBytes) std::abort();
    if (r.centreHz && !std::isfinite(*r.centreHz)) std::abort();
    const bool scaled = r.format != fw::IqSampleFormat::Float32;
    const auto streamed = fw::StreamIqSamples(r, [&](std::span<const std::complex<float>> piece) {
        for (const std::complex<float>& s : piece)
            if (scaled && (std::abs(s.real()) > 1 || std::abs(s.imag()) > 1)) std::abort();
    });
    // Reading may refuse a sample (one that is not a finite number), but only with its reason.
    if (!streamed) {
        if (streamed.reason().empty()) std::abort();
        return;
    }
    if (streamed.value().samples != r.sampleCount) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const MemoryFile first("recording"), second("sigmf-data");
    if (size == 0) return 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (data[0] != 'S') {
        first.hold(bytes);
        Check(fw::OpenIqRecording(first.path()), bytes.size());
        return 0;
    }
    const std::size_t split = std::min(bytes.find('\0'), bytes.size());
    const std::string_view rest = bytes.substr(std::min(split + 1, bytes.size()));
    first.hold(bytes.substr(0, split));
    second.hold(rest);
    Check(fw::OpenSigmfRecording(first.path(), second.path()), rest.size());
    return 0;
}
