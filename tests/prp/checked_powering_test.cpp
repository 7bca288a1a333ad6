// The Gerbicz-checked powering: the residue it gives, the faults it
// catches, and resuming from the checkpoints it leaves when it dies.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "arithmetic/checked_powering.h"
#include "checkpoint_file.h"
#include "long_run_fixture.h"
#include "progress.h"
#include "tester_process.h"

namespace prp_test {
namespace {

using arithmetic::BigInt;

// The tester's notes on standard error, and the fault hook when a test sets it.
void checkedResidue(mpz_srcptr n, unsigned long base, mpz_srcptr exponent, arithmetic::CheckpointStore& store,
                    mpz_ptr result, arithmetic::ModularArithmetic* arithmetic = nullptr,
                    std::optional<uint64_t> faultAtStep = std::nullopt)
{
    std::unique_ptr<arithmetic::ModularArithmetic> own;
    if (!arithmetic) {
        own = arithmetic::makeGmpArithmetic(n, 4);
        arithmetic = own.get();
    }
    prp::StandardErrorReport report;
    arithmetic::LongRunSettings settings;
    settings.report = &report;
    settings.faultAtStep = faultAtStep;
    arithmetic::checkedPower(*arithmetic, base, exponent, n, store, settings, "test", result);
}

struct Odd2000 {
    Odd2000()
    {
        gmp_randstate_t random;
        gmp_randinit_default(random);
        mpz_urandomb(n.get(), random, 2000);
        mpz_setbit(n.get(), 1999);
        mpz_setbit(n.get(), 0);
        gmp_randclear(random);
    }
    BigInt n;
};

TEST(CheckedPowering, equals_mpz_powm_for_exponents_ending_on_and_off_block_edges)
{
    Odd2000 odd;
    BigInt mersenne;
    setMersenne(mersenne, 4423);
    for (mpz_srcptr n : {odd.n.get(), mersenne.get()}) {
        size_t bits = mpz_sizeinbase(n, 2);
        uint64_t blockBits = arithmetic::poweringLayout(bits).blockBits;
        // n - 1, and exponents whose bits fill whole blocks exactly, leave
        // a single top bit, or fit in one block.
        BigInt exponents[5];
        mpz_sub_ui(exponents[0].get(), n, 1);
        mpz_tdiv_q_2exp(exponents[1].get(), n, bits - 10 * blockBits);
        mpz_tdiv_q_2exp(exponents[2].get(), n, bits - 10 * blockBits - 1);
        mpz_set_ui(exponents[3].get(), 5);
        mpz_set_ui(exponents[4].get(), 1);
        for (unsigned long base : {2ul, 3ul, 0xFFFFFFFFul}) {
            for (const BigInt& exponent : exponents) {
                SCOPED_TRACE("n of " + std::to_string(bits) + " bits, base " + std::to_string(base) +
                             ", exponent of " + std::to_string(mpz_sizeinbase(exponent.get(), 2)) + " bits");
                BigInt expected, got, b(base);
                mpz_powm(expected.get(), b.get(), exponent.get(), n);
                checkedResidue(n, base, exponent.get(), *arithmetic::noCheckpoints(), got.get());
                EXPECT_EQ(mpz_cmp(got.get(), expected.get()), 0);
            }
        }
    }
}

TEST(CheckedPowering, catches_a_fault_anywhere_and_still_gives_the_right_residue)
{
    Odd2000 odd;
    BigInt exponent, expected;
    mpz_sub_ui(exponent.get(), odd.n.get(), 1);
    fermatResidue(odd.n.get(), 3, expected.get());
    arithmetic::PoweringLayout layout = arithmetic::poweringLayout(2000);
    uint64_t blocks = (2000 + layout.blockBits - 1) / layout.blockBits;
    uint64_t periodSteps = layout.blockBits * layout.periodBlocks;
    // The first step (the top block starts from 1), the last step of a
    // period, the one after, the very last step of the run.
    for (uint64_t step : {uint64_t{0}, periodSteps - 1, periodSteps, blocks * layout.blockBits - 1}) {
        SCOPED_TRACE("fault at step " + std::to_string(step));
        BigInt got;
        testing::internal::CaptureStderr();
        checkedResidue(odd.n.get(), 3, exponent.get(), *arithmetic::noCheckpoints(), got.get(), nullptr, step);
        std::string err = testing::internal::GetCapturedStderr();
        EXPECT_NE(err.find("Gerbicz check failed"), std::string::npos) << err;
        EXPECT_EQ(mpz_cmp(got.get(), expected.get()), 0);
    }
}

struct InterruptCase {
    const char* name;
    uint64_t squaresBeforeDying;
    int64_t faultStep;  // -1: none
};

TEST(CheckedPowering, resumes_after_dying_part_way_with_the_right_residue)
{
    Odd2000 odd;
    BigInt exponent, expected;
    mpz_sub_ui(exponent.get(), odd.n.get(), 1);
    fermatResidue(odd.n.get(), 3, expected.get());
    const InterruptCase cases[] = {
        {"early", 100, -1},
        {"half way", 1000, -1},
        {"near the end", 1990, -1},
        // The fault is saved into the checkpoint (one every 50 steps) before
        // its period is checked: the check after resuming must still catch
        // it.
        {"after an unchecked fault", 1200, 1050},
    };
    for (const InterruptCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        std::string numberFile = dir.path() + "/n.txt";
        std::string id = arithmetic::numberIdentity(odd.n.get());
        {
            std::optional<uint64_t> fault;
            if (c.faultStep >= 0)
                fault = static_cast<uint64_t>(c.faultStep);
            InterruptingArithmetic dying(odd.n.get(), 4, c.squaresBeforeDying);
            prp::CheckpointFile file(numberFile, {1, 50}, id);
            BigInt unused;
            testing::internal::CaptureStderr();
            EXPECT_THROW(checkedResidue(odd.n.get(), 3, exponent.get(), *file.opener()(id, "fermat base 3"),
                                        unused.get(), &dying, fault),
                         Interrupted);
            testing::internal::GetCapturedStderr();
        }
        ASSERT_TRUE(std::filesystem::exists(numberFile + ".ckpt"));
        prp::CheckpointFile file(numberFile, {1, 50}, id);
        BigInt got;
        testing::internal::CaptureStderr();
        checkedResidue(odd.n.get(), 3, exponent.get(), *file.opener()(id, "fermat base 3"), got.get());
        std::string err = testing::internal::GetCapturedStderr();
        EXPECT_NE(err.find("Resuming from the checkpoint"), std::string::npos) << err;
        EXPECT_EQ(c.faultStep >= 0, err.find("Gerbicz check failed") != std::string::npos) << err;
        EXPECT_EQ(mpz_cmp(got.get(), expected.get()), 0);
    }
}

}  // namespace
}  // namespace prp_test
