#pragma once
// Forward complex FFTs of single precision through FFTW: one plan per length for the whole
// process, made once under a lock (FFTW's planner is not thread-safe) and reused by every
// estimator with its own aligned buffers. Plans come from the wisdom kept in the user's cache
// folder (see fft_wisdom.h), so that a short recording costs little more than its samples.
#include <complex>
#include <cstddef>
#include <memory>

namespace fw {

// An FFTW-aligned array of complex floats, freed with the buffer.
class FftBuffer {
  public:
    explicit FftBuffer(std::size_t size);
    std::complex<float>* data() { return data_.get(); }
    const std::complex<float>* data() const { return data_.get(); }
    std::size_t size() const { return size_; }

  private:
    struct Free {
        void operator()(std::complex<float>* p) const;
    };
    std::unique_ptr<std::complex<float>[], Free> data_;
    std::size_t size_;
};

// Transforms `in` into `out` (both of the plan's length, distinct buffers).
class ForwardFft {
  public:
    explicit ForwardFft(int length);
    int length() const { return length_; }
    void run(const FftBuffer& in, FftBuffer& out) const;

  private:
    int length_;
    void* plan_;  // owned by the process-wide plan cache
};

}  // namespace fw
