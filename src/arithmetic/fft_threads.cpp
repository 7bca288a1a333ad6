#include "arithmetic/fft_threads.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace arithmetic::fft {

namespace {

// A job of a step lasts 20 microseconds to a few milliseconds and the next
// one follows at once: a worker that has just finished one spins this long
// for the next before it sleeps (a futex wake-up costs several
// microseconds, more in a virtual machine).
constexpr auto kSpinBeforeSleeping = std::chrono::microseconds(200);

inline void relax()
{
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#endif
}

class Pool {
public:
    // Runs the jobs with `helpers` workers besides the caller.
    void run(unsigned helpers, size_t count, const std::function<void(size_t)>& job)
    {
        std::unique_lock<std::mutex> busy(busy_, std::try_to_lock);
        if (!busy.owns_lock()) {  // another arithmetic's step is using the pool: work alone
            for (size_t i = 0; i < count; ++i)
                job(i);
            return;
        }
        ensureWorkers(helpers);
        job_.store(&job, std::memory_order_relaxed);
        count_.store(count, std::memory_order_relaxed);
        helpers_.store(helpers, std::memory_order_relaxed);
        done_.store(0, std::memory_order_relaxed);
        uint64_t generation = (ticket_.load(std::memory_order_relaxed) >> 32) + 1;
        ticket_.store(generation << 32, std::memory_order_release);
        wake_.fetch_add(1, std::memory_order_release);
        wake_.notify_all();
        takeJobs(generation);
        waitUntilDone(count);
    }

private:
    // A worker that cannot start (no room for its stack under a memory
    // limit) is not waited for: the caller takes every job nobody else
    // takes, so the step only runs on fewer threads.
    void ensureWorkers(unsigned helpers)
    {
        while (workers_ < helpers && !cannotStart_) {
            unsigned index = workers_;
            try {
                std::thread([this, index] { work(index); }).detach();  // the pool lives as long as the process
            } catch (const std::system_error&) {
                cannotStart_ = true;
                return;
            }
            ++workers_;
        }
    }

    // Takes jobs of this generation until none is left.
    void takeJobs(uint64_t generation)
    {
        for (;;) {
            uint64_t ticket = ticket_.load(std::memory_order_acquire);
            if ((ticket >> 32) != generation)
                return;
            size_t index = static_cast<size_t>(ticket & 0xffffffffu);
            size_t count = count_.load(std::memory_order_relaxed);
            if (index >= count)
                return;
            if (!ticket_.compare_exchange_weak(ticket, ticket + 1, std::memory_order_acq_rel))
                continue;
            // job_ and count_ are this generation's: the caller changes them
            // only after this job is done.
            (*job_.load(std::memory_order_relaxed))(index);
            if (done_.fetch_add(1, std::memory_order_acq_rel) + 1 == count)
                done_.notify_all();
        }
    }

    void waitUntilDone(size_t count)
    {
        auto start = std::chrono::steady_clock::now();
        size_t done;
        while ((done = done_.load(std::memory_order_acquire)) != count) {
            if (std::chrono::steady_clock::now() - start < kSpinBeforeSleeping)
                relax();
            else
                done_.wait(done, std::memory_order_acquire);
        }
    }

    [[noreturn]] void work(unsigned index)
    {
        uint32_t seen = wake_.load(std::memory_order_acquire);
        for (;;) {
            auto start = std::chrono::steady_clock::now();
            uint32_t now;
            while ((now = wake_.load(std::memory_order_acquire)) == seen) {
                if (std::chrono::steady_clock::now() - start < kSpinBeforeSleeping)
                    relax();
                else
                    wake_.wait(seen, std::memory_order_acquire);
            }
            seen = now;
            if (index < helpers_.load(std::memory_order_relaxed))
                takeJobs(ticket_.load(std::memory_order_acquire) >> 32);
        }
    }

    std::mutex busy_;
    unsigned workers_ = 0;
    bool cannotStart_ = false;
    std::atomic<uint32_t> wake_{0};
    std::atomic<uint64_t> ticket_{0};  // generation << 32 | next job
    std::atomic<unsigned> helpers_{0};
    std::atomic<size_t> done_{0};
    std::atomic<const std::function<void(size_t)>*> job_{nullptr};
    std::atomic<size_t> count_{0};
};

Pool& pool()
{
    static Pool* instance = new Pool;  // never destroyed: detached workers may still be waiting on it at exit
    return *instance;
}

}  // namespace

void parallelFor(unsigned threads, size_t count, const std::function<void(size_t)>& job)
{
    if (threads <= 1 || count <= 1) {
        for (size_t i = 0; i < count; ++i)
            job(i);
        return;
    }
    unsigned helpers = static_cast<unsigned>(std::min<size_t>(threads, count)) - 1;
    pool().run(helpers, count, job);
}

}  // namespace arithmetic::fft
