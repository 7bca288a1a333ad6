#include "engine/worker_run.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "engine/decimal_text.h"
#include "engine/enum_table.h"
#include "engine/prime_search.h"

namespace engine {

namespace {

constexpr int kExitOk = 0;
constexpr int kExitJobFailed = 2;
constexpr int kExitOutOfMemory = 3;
constexpr int64_t kKeepAwakeAfterMs = 1000;

constexpr WorkerKindInfo kKinds[] = {
    {.kind = WorkerKind::ProbablePrime, .elapsed = ElapsedDisplay::PrimalityTest, .countsRuns = true},
    {.kind = WorkerKind::NextPrime, .elapsed = ElapsedDisplay::PrimeSearch, .countsRuns = true},
    {.kind = WorkerKind::PreviousPrime, .elapsed = ElapsedDisplay::PrimeSearch, .countsRuns = true},
    {.kind = WorkerKind::CalculatorOperation, .elapsed = ElapsedDisplay::None, .countsRuns = false},
};
static_assert(oneRowPerEnumerator(kKinds, &WorkerKindInfo::kind, kLastWorkerKind));

// Inside the child an allocation failure ends the child with a known status
// instead of GMP's abort message, so the parent can name the cause.
void* childAlloc(size_t size)
{
    void* p = std::malloc(size);
    if (!p)
        _exit(kExitOutOfMemory);
    return p;
}

void* childRealloc(void* old, size_t, size_t size)
{
    void* p = std::realloc(old, size);
    if (!p)
        _exit(kExitOutOfMemory);
    return p;
}

void childFree(void* p, size_t) { std::free(p); }

bool writeAll(int fd, const void* data, size_t size)
{
    auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        ssize_t n = ::write(fd, bytes, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool readAll(int fd, void* data, size_t size)
{
    auto* bytes = static_cast<char*>(data);
    while (size > 0) {
        ssize_t n = ::read(fd, bytes, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

int openPidFd(pid_t pid)
{
#ifdef SYS_pidfd_open
    return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
#else
    (void)pid;
    return -1;
#endif
}

// Waits up to one polling period, returning early when the child exits.
void waitOnePeriod(int pidFd)
{
    if (pidFd >= 0) {
        pollfd p{pidFd, POLLIN, 0};
        ::poll(&p, 1, kPollPeriodMs);
    } else {
        std::this_thread::sleep_for(std::chrono::milliseconds(kPollPeriodMs));
    }
}

std::string secondsText(int64_t elapsedMs)
{
    char text[32];
    std::snprintf(text, sizeof text, "%lld s", static_cast<long long>(elapsedMs / 1000));
    return text;
}

std::string describeChildEnd(int status)
{
    if (WIFEXITED(status) && WEXITSTATUS(status) == kExitOutOfMemory)
        return "not enough memory for this computation";
    if (WIFSIGNALED(status))
        return "the computation ended abnormally (signal " + std::to_string(WTERMSIG(status)) + ")";
    return "the computation could not deliver its result";
}

}  // namespace

const WorkerKindInfo& kindInfo(WorkerKind kind) { return kKinds[static_cast<int>(kind)]; }

bool ResultWriter::writeInt(int64_t value) { return writeAll(fd_, &value, sizeof value); }

bool ResultWriter::writeBytes(const void* data, size_t size)
{
    return writeInt(static_cast<int64_t>(size)) && writeAll(fd_, data, size);
}

bool ResultWriter::writeBigInt(const BigInt& value)
{
    int64_t signedSize = value.get()->_mp_size;
    size_t limbs = static_cast<size_t>(signedSize < 0 ? -signedSize : signedSize);
    return writeInt(signedSize) && writeAll(fd_, mpz_limbs_read(value.get()), limbs * sizeof(mp_limb_t));
}

bool ResultReader::readInt(int64_t& value) { return readAll(fd_, &value, sizeof value); }

bool ResultReader::readBytes(void* data, size_t size)
{
    int64_t stored = 0;
    return readInt(stored) && static_cast<size_t>(stored) == size && readAll(fd_, data, size);
}

bool ResultReader::readBigInt(BigInt& value)
{
    int64_t signedSize = 0;
    if (!readInt(signedSize))
        return false;
    size_t limbs = static_cast<size_t>(signedSize < 0 ? -signedSize : signedSize);
    if (limbs == 0) {
        value.set(0UL);
        return true;
    }
    mp_limb_t* target = mpz_limbs_write(value.get(), static_cast<mp_size_t>(limbs));
    if (!readAll(fd_, target, limbs * sizeof(mp_limb_t)))
        return false;
    mpz_limbs_finish(value.get(), static_cast<mp_size_t>(signedSize));
    return true;
}

Outcome runForked(WorkerHost& host, WorkerKind kind, RunLimits limits, const ChildJob& job,
                  const ResultDecoder& decode, std::string* failureText)
{
    const WorkerKindInfo& info = kindInfo(kind);
    int resultFd = ::memfd_create("quendrolt-worker", MFD_CLOEXEC);
    if (resultFd < 0) {
        if (failureText)
            *failureText = "no memory file for the worker result";
        return Outcome::Failed;
    }

    int64_t start = host.nowMs();
    std::fflush(nullptr);
    pid_t pid = ::fork();
    if (pid == 0) {
        // The window may run at a raised priority; long computations do not.
        (void)::setpriority(PRIO_PROCESS, 0, 0);
        mp_set_memory_functions(childAlloc, childRealloc, childFree);
        ResultWriter writer(resultFd);
        _exit(job(writer) ? kExitOk : kExitJobFailed);
    }
    if (pid < 0) {
        ::close(resultFd);
        if (failureText)
            *failureText = "the worker process could not be started";
        return Outcome::Failed;
    }

    if (info.countsRuns)
        host.countRun();
    int pidFd = openPidFd(pid);
    bool awake = false;
    int cycles = 0;
    int status = 0;
    Outcome outcome = Outcome::Finished;
    for (;;) {
        if (++cycles == kElapsedEveryCycles) {
            if (info.elapsed != ElapsedDisplay::None)
                host.showElapsed(info.elapsed, secondsText(host.nowMs() - start));
            cycles = 0;
        }
        host.processPendingEvents();
        waitOnePeriod(pidFd);
        int64_t elapsed = host.nowMs() - start;
        if (!awake && elapsed > kKeepAwakeAfterMs) {
            host.keepAwake(true);
            awake = true;
        }
        // The limits come before the done flag: a result seen late is late.
        if (limits.timeoutMs != kNoLimit && elapsed > limits.timeoutMs) {
            outcome = Outcome::Timeout;
            break;
        }
        if (limits.notDoneMs != kNoLimit && elapsed > limits.notDoneMs) {
            outcome = Outcome::NotDone;
            break;
        }
        if (host.stopTicked()) {
            outcome = Outcome::Stopped;
            break;
        }
        if (::waitpid(pid, &status, WNOHANG) == pid) {
            pid = 0;
            break;
        }
    }
    if (awake)
        host.keepAwake(false);
    if (pid > 0) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
    }
    if (pidFd >= 0)
        ::close(pidFd);

    if (outcome == Outcome::Finished) {
        bool exitedCleanly = WIFEXITED(status) && WEXITSTATUS(status) == kExitOk;
        ::lseek(resultFd, 0, SEEK_SET);
        ResultReader reader(resultFd);
        if (!exitedCleanly || !decode(reader)) {
            if (failureText)
                *failureText = exitedCleanly ? "the worker result could not be read" : describeChildEnd(status);
            outcome = Outcome::Failed;
        }
    }
    ::close(resultFd);
    return outcome;
}

Verdict verdictOfAbandoned(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Timeout:
        return Verdict::Timeout;
    case Outcome::Stopped:
        return Verdict::Stopped;
    case Outcome::NotDone:
    case Outcome::Failed:
    case Outcome::Finished:
        break;
    }
    return Verdict::NotDone;
}

void runThreaded(WorkerHost& host, const std::function<void()>& work)
{
    // The poll ends as soon as the work does, so short conversions cost no
    // full period.
    std::mutex lock;
    std::condition_variable finished;
    bool done = false;
    std::thread worker([&] {
        work();
        std::lock_guard<std::mutex> guard(lock);
        done = true;
        finished.notify_one();
    });
    for (;;) {
        host.processPendingEvents();
        std::unique_lock<std::mutex> guard(lock);
        if (finished.wait_for(guard, std::chrono::milliseconds(kPollPeriodMs), [&] { return done; }))
            break;
    }
    worker.join();
}

void runSizedWork(WorkerHost& host, uint64_t digits, const std::function<void()>& work)
{
    if (digits < kInPlaceBelowDigits)
        work();
    else
        runThreaded(host, work);
}

Outcome runProbablePrime(WorkerHost& host, const BigInt& n, int repetitions, int64_t timeoutMs, Verdict& verdict)
{
    int64_t answer = 0;
    Outcome outcome = runForked(
        host, WorkerKind::ProbablePrime, {timeoutMs, kNoLimit},
        [&](ResultWriter& out) { return out.writeInt(mpz_probab_prime_p(n.get(), repetitions)); },
        [&](ResultReader& in) { return in.readInt(answer); });
    if (outcome == Outcome::Finished)
        verdict = verdictOfProbablePrimeTest(static_cast<int>(answer));
    return outcome;
}

namespace {

Outcome runPrimeStep(WorkerHost& host, WorkerKind kind, BigInt& n, RunLimits limits, void (*step)(BigInt&))
{
    BigInt found;
    Outcome outcome = runForked(
        host, kind, limits,
        [&](ResultWriter& out) {
            BigInt work;
            work.set(n);
            step(work);
            return out.writeBigInt(work);
        },
        [&](ResultReader& in) { return in.readBigInt(found); });
    if (outcome == Outcome::Finished)
        n.swap(found);
    return outcome;
}

}  // namespace

Outcome runNextPrime(WorkerHost& host, BigInt& n, RunLimits limits)
{
    return runPrimeStep(host, WorkerKind::NextPrime, n, limits, nextPrime);
}

Outcome runPreviousPrime(WorkerHost& host, BigInt& n, RunLimits limits)
{
    return runPrimeStep(host, WorkerKind::PreviousPrime, n, limits, previousPrime);
}

std::string runDecimalConversion(WorkerHost& host, const BigInt& x)
{
    std::string text;
    runThreaded(host, [&] { text = toDecimalInParallel(x); });
    return text;
}

}  // namespace engine
