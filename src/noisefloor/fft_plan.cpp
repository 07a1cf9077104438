#include "noisefloor/fft_plan.h"

#include <fftw3.h>

#include <map>
#include <mutex>
#include <new>
#include <string>

#include "noisefloor/fft_wisdom.h"

namespace fw {

namespace {

// Every plan made in this process, by length, destroyed at exit.
class PlanCache {
  public:
    ~PlanCache() {
        for (auto& [length, plan] : plans_) fftwf_destroy_plan(plan);
    }

    fftwf_plan planFor(int length) {
        const std::lock_guard lock(mutex_);
        if (auto it = plans_.find(length); it != plans_.end()) return it->second;
        // The cache folder is looked up for every new length, as the environment may change.
        if (const std::string path = FftWisdomPath(); path != wisdomRead_) {
            wisdomRead_ = wisdomPath_ = path;
            if (!path.empty()) ImportFftWisdom(path);
        }
        // From the wisdom kept, else measured and kept, else estimated where nothing can be kept.
        fftwf_plan plan = make(length, FFTW_MEASURE | FFTW_WISDOM_ONLY);
        if (!plan && !wisdomPath_.empty() && PrepareFftWisdomFolder(wisdomPath_)) {
            plan = make(length, FFTW_MEASURE);
            if (plan && !SaveFftWisdom(wisdomPath_).empty()) wisdomPath_.clear();
        }
        if (!plan) plan = make(length, FFTW_ESTIMATE);
        if (!plan) throw std::bad_alloc();
        plans_.emplace(length, plan);
        return plan;
    }

  private:
    static fftwf_plan make(int length, unsigned flags) {
        // Planning by measurement overwrites the arrays, so it gets its own.
        FftBuffer in(static_cast<std::size_t>(length));
        FftBuffer out(static_cast<std::size_t>(length));
        return fftwf_plan_dft_1d(length, reinterpret_cast<fftwf_complex*>(in.data()),
                                 reinterpret_cast<fftwf_complex*>(out.data()), FFTW_FORWARD, flags);
    }

    std::mutex mutex_;
    std::map<int, fftwf_plan> plans_;
    std::string wisdomRead_;  // the wisdom file last imported
    std::string wisdomPath_;  // where new wisdom is kept; empty: nothing is kept
};

PlanCache& Plans() {
    static PlanCache cache;
    return cache;
}

}  // namespace

FftBuffer::FftBuffer(std::size_t size)
    : data_(static_cast<std::complex<float>*>(fftwf_malloc(sizeof(std::complex<float>) * size))),
      size_(size) {
    if (!data_) throw std::bad_alloc();
}

void FftBuffer::Free::operator()(std::complex<float>* p) const { fftwf_free(p); }

ForwardFft::ForwardFft(int length) : length_(length), plan_(Plans().planFor(length)) {}

void ForwardFft::run(const FftBuffer& in, FftBuffer& out) const {
    // The new-array interface keeps the plan usable from several threads at once; the
    // buffers come from fftwf_malloc, so their alignment matches the plan's.
    fftwf_execute_dft(static_cast<fftwf_plan>(plan_),
                      reinterpret_cast<fftwf_complex*>(const_cast<std::complex<float>*>(in.data())),
                      reinterpret_cast<fftwf_complex*>(out.data()));
}

}  // namespace fw
