#include "arithmetic/fft_plans.h"

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <utility>

#include <fftw3.h>

namespace arithmetic::fft {

namespace {

std::mutex& plannerMutex()
{
    static std::mutex mutex;
    return mutex;
}

Planning& planningSetting()
{
    static Planning planning = Planning::Measure;
    return planning;
}

// Plans are never destroyed: they are few (one per length and thread count)
// and instances on other threads may be executing them.
std::map<std::pair<size_t, unsigned>, std::unique_ptr<TransformPair>>& planCache()
{
    static std::map<std::pair<size_t, unsigned>, std::unique_ptr<TransformPair>> cache;
    return cache;
}

// Below this length measuring gains 10-15 % per transform (40,960: 0.119
// against 0.137 ms) but would cost more than the whole run saves: a
// 10,000-digit Fermat test takes a few seconds.
constexpr size_t kMeasuredFromLength = 32768;

}  // namespace

void setPlanning(Planning planning)
{
    std::lock_guard<std::mutex> lock(plannerMutex());
    planningSetting() = planning;
}

const TransformPair& transformPair(size_t length, unsigned threads)
{
    std::lock_guard<std::mutex> lock(plannerMutex());  // the FFTW planner is not thread-safe
    // Short transforms run on one thread: the bench measured 0.094 ms per
    // 10,000-digit step on one thread and 0.205 ms on two (length 3,328,
    // estimated plan, which takes the threads whether they pay or not). From
    // the measured lengths on, the planner itself weighs the threads.
    threads = length < kMeasuredFromLength ? 1u : std::max(1u, threads);
    auto& slot = planCache()[{length, threads}];
    if (slot)
        return *slot;
    static bool threadsReady = false;
    if (!threadsReady) {
        fftw_init_threads();
        threadsReady = true;
    }
    fftw_plan_with_nthreads(static_cast<int>(threads));
    unsigned flags = FFTW_ESTIMATE;
    if (planningSetting() == Planning::Measure && length >= kMeasuredFromLength) {
        flags = FFTW_MEASURE;
        // Measured planning here took 3 s at length 40,960 and 25 s at
        // 400,000 without a limit; a limit keeps most of the gain (the
        // planner tries the likely algorithms first). The limit stays a
        // small part of a run: a Fermat test at length L has about 8L steps
        // of at least 6 transforms each.
        double limit = std::clamp(static_cast<double>(length) / 100000.0, 0.3, 8.0);
        fftw_set_timelimit(limit);
    }
    RealArray real(length);
    ComplexArray complex(length / 2 + 1);
    auto pair = std::make_unique<TransformPair>();
    pair->length = length;
    int n = static_cast<int>(length);
    pair->forward = fftw_plan_dft_r2c_1d(n, real.data(), complex.data(), flags);
    pair->inverse = fftw_plan_dft_c2r_1d(n, complex.data(), real.data(), flags);
    fftw_set_timelimit(FFTW_NO_TIMELIMIT);
    slot = std::move(pair);
    return *slot;
}

}  // namespace arithmetic::fft
