#include "arithmetic/fft_plans.h"

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

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

// FFTW starts its worker threads without looking whether they started and
// then waits for them forever: a thread that cannot start (no room for its
// stack under a memory limit) would hang the run. Starting and ending as
// many threads first shows how many can start, and glibc keeps their
// stacks for FFTW's workers to reuse.
unsigned threadsThatCanStart(unsigned threads)
{
    static unsigned proven = 1;
    if (threads <= proven)
        return threads;
    std::vector<std::thread> probes;
    try {
        while (probes.size() + 1 < threads)
            probes.emplace_back([] {});
    } catch (const std::system_error&) {
    }
    for (std::thread& probe : probes)
        probe.join();
    proven = std::max(proven, static_cast<unsigned>(probes.size()) + 1);
    return std::min(threads, static_cast<unsigned>(probes.size()) + 1);
}

}  // namespace

void setPlanning(Planning planning)
{
    std::lock_guard<std::mutex> lock(plannerMutex());
    planningSetting() = planning;
}

unsigned transformThreads(size_t length, unsigned threads)
{
    return length < kMeasuredFromLength ? 1u : std::max(1u, threads);
}

const TransformPair& transformPair(size_t length, unsigned threads)
{
    std::lock_guard<std::mutex> lock(plannerMutex());  // the FFTW planner is not thread-safe
    // Short transforms run on one thread: the bench measured 0.094 ms per
    // 10,000-digit step on one thread and 0.205 ms on two (length 3,328,
    // estimated plan, which takes the threads whether they pay or not). From
    // the measured lengths on, the planner itself weighs the threads.
    threads = threadsThatCanStart(transformThreads(length, threads));
    auto& slot = planCache()[{length, threads}];
    if (slot)
        return *slot;
    static bool threadsReady = false;
    if (!threadsReady) {
        if (fftw_init_threads() == 0)
            throw std::runtime_error("FFTW cannot start its threads");
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
    if (!pair->forward || !pair->inverse) {
        for (fftw_plan plan : {pair->forward, pair->inverse})
            if (plan)
                fftw_destroy_plan(plan);
        planCache().erase({length, threads});
        throw std::runtime_error("FFTW cannot plan a transform of length " + std::to_string(length));
    }
    slot = std::move(pair);
    return *slot;
}

}  // namespace arithmetic::fft
