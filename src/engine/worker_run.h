#pragma once
// Time-limited worker runs. A computation that STOP or a time limit may
// abandon runs in a forked child process: abandoning it is a kill, so it stops
// using the processor at once and can never write into the window's memory.
// Its result comes back through an anonymous memory file once the child has
// exited. Runs without a limit (divisor test, decimal conversion) use a thread.
//
// The window side (events, the STOP box, the elapsed-time field, the run
// counter, keep-awake) is reached through WorkerHost, so this file has no
// toolkit dependency.
#include <cstdint>
#include <functional>
#include <string>

#include "engine/big_integer.h"
#include "engine/verdict.h"

namespace engine {

// How a run ended. Failed means the child died (out of memory or a crash)
// and is reported by the caller as a failure, never as a result.
enum class Outcome { Finished, NotDone, Timeout, Stopped, Failed };

// The verdict shown for a run that did not finish: NotDone, Timeout or Stopped.
[[nodiscard]] Verdict verdictOfAbandoned(Outcome outcome);

// The kinds of forked run. Every one ends at its time limit and at STOP;
// what else sets them apart is one row each in worker_run.cpp.
enum class WorkerKind { ProbablePrime, NextPrime, PreviousPrime, CalculatorOperation };
inline constexpr WorkerKind kLastWorkerKind = WorkerKind::CalculatorOperation;

// Which elapsed-time display a run keeps up to date; the window decides
// where each one is shown.
enum class ElapsedDisplay { None, PrimalityTest, PrimeSearch, TesterRun };

struct WorkerKindInfo {
    WorkerKind kind;
    ElapsedDisplay elapsed;
    bool countsRuns;  // adds to the run counter shown in "QTY"
};

const WorkerKindInfo& kindInfo(WorkerKind kind);

// What the polling loop needs from the window.
class WorkerHost {
public:
    virtual ~WorkerHost() = default;
    virtual void processPendingEvents() = 0;
    virtual bool stopTicked() = 0;
    virtual void showElapsed(ElapsedDisplay display, const std::string& text) = 0;
    virtual void countRun() = 0;
    virtual int64_t nowMs() = 0;
    virtual void keepAwake(bool on) = 0;
};

constexpr int kPollPeriodMs = 10;
constexpr int kElapsedEveryCycles = 888;
constexpr int64_t kNoLimit = -1;

struct RunLimits {
    int64_t timeoutMs = kNoLimit;  // exceeded gives Timeout
    int64_t notDoneMs = kNoLimit;  // exceeded gives NotDone (the stage bound of the prime searches)
};

// Output of a child: written by the job inside the child, read by the parent.
class ResultWriter {
public:
    explicit ResultWriter(int fd) : fd_(fd) {}
    [[nodiscard]] bool writeInt(int64_t value);
    [[nodiscard]] bool writeBigInt(const BigInt& value);
    [[nodiscard]] bool writeBytes(const void* data, size_t size);

private:
    int fd_;
};

class ResultReader {
public:
    explicit ResultReader(int fd) : fd_(fd) {}
    [[nodiscard]] bool readInt(int64_t& value);
    [[nodiscard]] bool readBigInt(BigInt& value);
    [[nodiscard]] bool readBytes(void* data, size_t size);

private:
    int fd_;
};

// Runs job in a child process while polling as described above. On Finished,
// decode is called in the parent with the child's output. Any other outcome
// leaves the caller's data untouched. failureText receives a reason for Failed.
using ChildJob = std::function<bool(ResultWriter&)>;
using ResultDecoder = std::function<bool(ResultReader&)>;
[[nodiscard]] Outcome runForked(WorkerHost& host, WorkerKind kind, RunLimits limits, const ChildJob& job,
                  const ResultDecoder& decode, std::string* failureText = nullptr);

// Runs work on a thread, processing window events every 10 ms until it ends.
// No limit, no STOP: for the kinds that always finish.
void runThreaded(WorkerHost& host, const std::function<void()>& work);

// Below this many digits a conversion or scan of a number takes a few
// milliseconds, less than one polling period: it is done in place.
constexpr uint64_t kInPlaceBelowDigits = 30000;

// Runs work in place when digits is small, otherwise on a thread while the
// window keeps processing events.
void runSizedWork(WorkerHost& host, uint64_t digits, const std::function<void()>& work);

// Convenience kinds built on the two runners.
// GMP's probable-prime test; on Finished, verdict is NotPrime, CouldBePrime or IsPrime.
[[nodiscard]] Outcome runProbablePrime(WorkerHost& host, const BigInt& n, int repetitions, int64_t timeoutMs, Verdict& verdict);
[[nodiscard]] Outcome runNextPrime(WorkerHost& host, BigInt& n, RunLimits limits);
[[nodiscard]] Outcome runPreviousPrime(WorkerHost& host, BigInt& n, RunLimits limits);
std::string runDecimalConversion(WorkerHost& host, const BigInt& x);

}  // namespace engine
