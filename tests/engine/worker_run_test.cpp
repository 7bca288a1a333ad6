#include "engine/worker_run.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include "engine/decimal_text.h"

using namespace engine;

namespace {

// A window stand-in: counts polling cycles, ticks STOP after a chosen cycle,
// and lets the test move the clock.
class FakeHost : public WorkerHost {
public:
    int cycles = 0;
    int stopAtCycle = -1;
    int64_t clockOffset = 0;
    int64_t advancePerCycle = 0;
    int runsCounted = 0;
    std::vector<std::string> elapsedShown;

    void processPendingEvents() override
    {
        ++cycles;
        clockOffset += advancePerCycle;
    }
    bool stopTicked() override { return stopAtCycle >= 0 && cycles >= stopAtCycle; }
    void showElapsed(engine::ElapsedDisplay, const std::string& text) override { elapsedShown.push_back(text); }
    void countRun() override { ++runsCounted; }
    int64_t nowMs() override
    {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count() + clockOffset;
    }
    void keepAwake(bool) override {}
};

// Shared page in which a child job records its pid.
struct SharedPid {
    SharedPid() { pid = static_cast<pid_t*>(mmap(nullptr, sizeof(pid_t), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0)); *pid = 0; }
    ~SharedPid() { munmap(pid, sizeof(pid_t)); }
    pid_t* pid;
};

bool spinForever(ResultWriter&)
{
    volatile unsigned long x = 0;
    for (;;)
        x = x + 1;
    return true;
}

}  // namespace

TEST(WorkerRun, finished_run_hands_back_the_result)
{
    FakeHost host;
    BigInt n;
    setFromDecimal(n, "1000000000000");
    EXPECT_EQ(runNextPrime(host, n, {60000, 62000}), Outcome::Finished);
    EXPECT_EQ(toDecimal(n), "1000000000039");
    EXPECT_EQ(host.runsCounted, 1);
    EXPECT_TRUE(host.elapsedShown.empty()) << "a quick run shows no elapsed time";
}

TEST(WorkerRun, probable_prime_kind_returns_the_test_result)
{
    FakeHost host;
    BigInt prime, composite;
    setFromDecimal(prime, "1000000000039");
    setFromDecimal(composite, "1000000000041");
    {
        Verdict verdict = Verdict::NotDone;
        EXPECT_EQ(runProbablePrime(host, prime, 10, 60000, verdict), Outcome::Finished);
        EXPECT_NE(verdict, Verdict::NotPrime);
    }
    {
        Verdict verdict = Verdict::NotDone;
        EXPECT_EQ(runProbablePrime(host, composite, 10, 60000, verdict), Outcome::Finished);
        EXPECT_EQ(verdict, Verdict::NotPrime);
    }
}

TEST(WorkerRun, timeout_below_not_done_limit_times_out_and_never_reports_not_done)
{
    FakeHost host;
    host.advancePerCycle = 1000;  // each cycle takes a simulated second
    Outcome outcome = runForked(host, WorkerKind::NextPrime, {5000, 7000}, spinForever, [](ResultReader&) { return true; });
    EXPECT_EQ(outcome, Outcome::Timeout);
}

TEST(WorkerRun, not_done_limit_below_timeout_reports_not_done)
{
    FakeHost host;
    host.advancePerCycle = 1000;
    Outcome outcome = runForked(host, WorkerKind::NextPrime, {70000, 7000}, spinForever, [](ResultReader&) { return true; });
    EXPECT_EQ(outcome, Outcome::NotDone);
}

TEST(WorkerRun, limits_are_tested_before_the_done_flag)
{
    FakeHost host;
    host.advancePerCycle = 100000;  // the first cycle already passes the limit
    Outcome outcome = runForked(
        host, WorkerKind::CalculatorOperation, {50, kNoLimit}, [](ResultWriter& out) { return out.writeInt(1); },
        [](ResultReader&) { return true; });
    EXPECT_EQ(outcome, Outcome::Timeout);
}

TEST(WorkerRun, stop_ends_the_run_within_one_cycle_and_the_child_is_gone)
{
    FakeHost host;
    host.stopAtCycle = 3;
    SharedPid child;
    BigInt untouched(42UL);
    Outcome outcome = runForked(
        host, WorkerKind::CalculatorOperation, {kNoLimit, kNoLimit},
        [&](ResultWriter& out) {
            *child.pid = ::getpid();
            return spinForever(out);
        },
        [&](ResultReader& in) { return in.readBigInt(untouched); });
    EXPECT_EQ(outcome, Outcome::Stopped);
    EXPECT_EQ(host.cycles, 3) << "STOP seen in the cycle it was ticked";
    ASSERT_GT(*child.pid, 0);
    EXPECT_EQ(::kill(*child.pid, 0), -1) << "the computation no longer exists";
    EXPECT_EQ(errno, ESRCH);
    EXPECT_EQ(untouched.compare(42UL), 0);
}

// A search of a 30,000-digit start tests on the FFT arithmetic, on every
// core, in the child: STOP and the time limit still end it in the cycle that
// sees them, and the number stays as it was.
TEST(WorkerRun, stop_and_time_limit_end_a_search_on_the_fft_arithmetic_at_once)
{
    BigInt start, n;
    mpz_ui_pow_ui(start.get(), 10, 29999);
    {
        FakeHost host;
        host.stopAtCycle = 30;
        n.set(start);
        EXPECT_EQ(runNextPrime(host, n, {kNoLimit, kNoLimit}), Outcome::Stopped);
        EXPECT_EQ(host.cycles, 30);
        EXPECT_EQ(n.compare(start), 0);
    }
    {
        FakeHost host;
        host.advancePerCycle = 100;  // simulated: the limit passes in the 30th cycle
        n.set(start);
        EXPECT_EQ(runPreviousPrime(host, n, {3000, kNoLimit}), Outcome::Timeout);
        EXPECT_LE(host.cycles, 31);
        EXPECT_EQ(n.compare(start), 0);
    }
}

TEST(WorkerRun, out_of_memory_in_the_child_is_a_reported_failure)
{
    FakeHost host;
    std::string why;
    Outcome outcome = runForked(
        host, WorkerKind::CalculatorOperation, {kNoLimit, kNoLimit},
        [](ResultWriter& out) {
            rlimit limit{256u << 20, 256u << 20};
            setrlimit(RLIMIT_AS, &limit);
            BigInt huge;
            mpz_ui_pow_ui(huge.get(), 3, 1ul << 34);  // far more than 256 MB
            return out.writeBigInt(huge);
        },
        [](ResultReader&) { return true; }, &why);
    EXPECT_EQ(outcome, Outcome::Failed);
    EXPECT_EQ(why, "not enough memory for this computation");
}

TEST(WorkerRun, elapsed_time_is_shown_every_888_cycles)
{
    FakeHost host;
    host.advancePerCycle = 10;
    host.stopAtCycle = 889;
    EXPECT_EQ(runForked(host, WorkerKind::PreviousPrime, {kNoLimit, kNoLimit}, spinForever, [](ResultReader&) { return true; }),
              Outcome::Stopped);
    ASSERT_EQ(host.elapsedShown.size(), 1u);
    EXPECT_EQ(host.elapsedShown[0].substr(host.elapsedShown[0].size() - 2), " s");
}

TEST(WorkerRun, threaded_run_waits_for_its_work_while_processing_events)
{
    FakeHost host;
    bool done = false;
    runThreaded(host, [&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        done = true;
    });
    EXPECT_TRUE(done);
    EXPECT_GE(host.cycles, 2);
}
