// Proofs of the Fermat test's powering: honest proofs verify at every size
// and power, and each way a proof can be wrong (a changed residue, a wrong
// result, another base or number, the sign cheat, a damaged or cut file) is
// rejected with its reason.
#include <gtest/gtest.h>

#include <map>
#include <optional>

#include "arithmetic/big_integer.h"
#include "arithmetic/checkpoint.h"
#include "arithmetic/fermat_test.h"
#include "arithmetic/modular_arithmetic.h"
#include "arithmetic/powering_proof.h"
#include "arithmetic/proof_challenges.h"
#include "arithmetic/proof_file.h"

namespace {

using arithmetic::BigInt;
using arithmetic::PoweringProof;

// Residues and the finished proof kept in memory.
class MemoryProofStore final : public arithmetic::ProofStore {
public:
    bool save(uint64_t boundary, mpz_srcptr residue) override
    {
        mpz_set(residues[boundary].get(), residue);
        ++saves;
        return true;
    }
    bool load(uint64_t boundary, mpz_ptr residue) override
    {
        auto found = residues.find(boundary);
        if (found == residues.end())
            return false;
        mpz_set(residue, found->second.get());
        return true;
    }
    bool saveProof(const PoweringProof& made) override
    {
        proof.emplace();
        proof->base = made.base;
        proof->power = made.power;
        proof->result.set(made.result);
        for (const BigInt& mu : made.midpoints) {
            proof->midpoints.emplace_back();
            proof->midpoints.back().set(mu);
        }
        return true;
    }
    void removeResidues() override { residues.clear(); }
    std::string name() const override { return "memory"; }

    std::map<uint64_t, BigInt> residues;
    std::optional<PoweringProof> proof;
    int saves = 0;
};

// What the Fermat test opens: a handle on a store the test keeps.
class StoreHandle final : public arithmetic::ProofStore {
public:
    explicit StoreHandle(arithmetic::ProofStore& target) : target_(target) {}
    bool save(uint64_t k, mpz_srcptr r) override { return target_.save(k, r); }
    bool load(uint64_t k, mpz_ptr r) override { return target_.load(k, r); }
    bool saveProof(const PoweringProof& p) override { return target_.saveProof(p); }
    void removeResidues() override { target_.removeResidues(); }
    std::string name() const override { return target_.name(); }

private:
    arithmetic::ProofStore& target_;
};

arithmetic::ProofStoreOpener storeIn(arithmetic::ProofStore& store)
{
    return [&store](mpz_srcptr, unsigned long) { return std::make_unique<StoreHandle>(store); };
}

struct ProvenTest {
    arithmetic::FermatOutcome outcome;
    PoweringProof proof;
};

ProvenTest provenFermatTest(mpz_srcptr n, unsigned long base, unsigned power,
                            std::optional<uint64_t> faultAtStep = std::nullopt)
{
    MemoryProofStore store;
    arithmetic::LongRunSettings settings;
    settings.proofPower = power;
    settings.faultAtStep = faultAtStep;
    settings.proofStore = storeIn(store);
    ProvenTest made;
    made.outcome = arithmetic::fermatTest(n, base, settings);
    EXPECT_TRUE(made.outcome.proofKept);
    EXPECT_TRUE(store.proof.has_value());
    EXPECT_TRUE(store.residues.empty()) << "the residues outlive the proof";
    if (store.proof)
        made.proof = std::move(*store.proof);
    return made;
}

arithmetic::ProofCheck verify(const PoweringProof& proof, mpz_srcptr n)
{
    BigInt exponent;
    mpz_sub_ui(exponent.get(), n, 1);
    return arithmetic::verifyPoweringProof(proof, exponent.get(), n, 1);
}

void setDecimal(BigInt& n, const char* digits) { mpz_set_str(n.get(), digits, 10); }

// A random odd number of that many bits, the same on every run.
void setOdd(BigInt& n, size_t bits, unsigned long seed)
{
    gmp_randstate_t random;
    gmp_randinit_default(random);
    gmp_randseed_ui(random, seed);
    mpz_urandomb(n.get(), random, bits);
    mpz_setbit(n.get(), bits - 1);
    mpz_setbit(n.get(), 0);
    gmp_randclear(random);
}

TEST(ProofLayout, boundaries_are_evenly_spaced_from_the_padding_and_the_last_ends_the_exponent)
{
    struct Case {
        unsigned power;
        uint64_t bits;
    };
    for (Case c : {Case{1, 2}, {3, 5}, {3, 8}, {4, 1000}, {8, 332193}, {8, 257}, {5, 1}}) {
        arithmetic::ProofLayout layout(c.power, c.bits);
        SCOPED_TRACE("P=" + std::to_string(c.power) + " bits=" + std::to_string(c.bits));
        EXPECT_EQ(layout.segments() * layout.segmentBits(), c.bits + layout.paddingBits());
        EXPECT_LT(layout.paddingBits(), layout.segments());
        EXPECT_EQ(layout.stepOf(layout.segments()), c.bits);
        uint64_t previous = 0;
        for (uint64_t k = 1; k < layout.segments(); ++k) {
            uint64_t step = layout.stepOf(k);
            EXPECT_GE(step, previous);
            if (step > 0) {
                EXPECT_EQ(layout.boundaryAt(step), k);
            }
            previous = step;
        }
    }
}

TEST(PoweringProof, proofs_of_primes_and_composites_verify_and_carry_the_test_result)
{
    struct Case {
        const char* name;
        size_t bits;            // a random odd number of this size, or
        const char* digits;     // this number
        unsigned long base;
        unsigned power;
    };
    // 2^127-1 is prime; 10^40+1 composite; the 12,000-bit number runs on the
    // FFT arithmetic; tiny exponents leave boundaries inside the padding.
    const Case cases[] = {
        {"Mersenne prime 2^127-1", 0, "170141183460469231731687303715884105727", 3, 4},
        {"composite 10^40+1", 0, "10000000000000000000000000000000000000001", 5, 3},
        {"prime 1009, P above the bits", 0, "1009", 2, 6},
        {"composite 91, base 3", 0, "91", 3, 1},
        {"4,000-bit odd, base 3", 4000, nullptr, 3, 8},
        {"12,000-bit odd on the FFT", 12000, nullptr, 7, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BigInt n, expected, exponent, b(c.base);
        if (c.digits)
            setDecimal(n, c.digits);
        else
            setOdd(n, c.bits, c.bits);
        mpz_sub_ui(exponent.get(), n.get(), 1);
        mpz_powm(expected.get(), b.get(), exponent.get(), n.get());

        ProvenTest made = provenFermatTest(n.get(), c.base, c.power);
        EXPECT_EQ(mpz_cmp(made.proof.result.get(), expected.get()), 0);
        EXPECT_EQ(made.outcome.probablePrime, mpz_cmp_ui(expected.get(), 1) == 0);
        EXPECT_EQ(made.proof.midpoints.size(), c.power);
        arithmetic::ProofCheck check = verify(made.proof, n.get());
        EXPECT_TRUE(check.holds) << check.reason;
    }
}

TEST(PoweringProof, an_arithmetic_error_caught_by_the_gerbicz_check_leaves_a_proof_that_verifies)
{
    BigInt n;
    setOdd(n, 3000, 11);
    // Step 1500 lies in the run's second half, between two boundaries at P = 3.
    ProvenTest made = provenFermatTest(n.get(), 3, 3, 1500);
    arithmetic::ProofCheck check = verify(made.proof, n.get());
    EXPECT_TRUE(check.holds) << check.reason;
}

TEST(PoweringProof, any_changed_residue_another_base_or_another_number_is_rejected)
{
    BigInt n, other;
    setOdd(n, 2500, 5);
    setOdd(other, 2500, 6);
    ProvenTest made = provenFermatTest(n.get(), 3, 4);
    ASSERT_TRUE(verify(made.proof, n.get()).holds);

    for (size_t which = 0; which <= made.proof.midpoints.size(); ++which) {
        mpz_ptr residue = which == 0 ? made.proof.result.get() : made.proof.midpoints[which - 1].get();
        mpz_add_ui(residue, residue, 1);
        EXPECT_FALSE(verify(made.proof, n.get()).holds) << "residue " << which << " changed";
        mpz_sub_ui(residue, residue, 1);
    }
    made.proof.base = 5;
    EXPECT_FALSE(verify(made.proof, n.get()).holds) << "another base";
    made.proof.base = 3;
    EXPECT_FALSE(verify(made.proof, other.get()).holds) << "another number";
    EXPECT_TRUE(verify(made.proof, n.get()).holds);
}

// The sign cheat: claim -y instead of y and answer the first level with
// -mu. Since (-1)^r = 1 for the even challenges, the claim stays off by -1
// down to the last check; with odd challenges it would pass half the time.
// Sixteen claims, so that chance alone cannot make this test pass.
TEST(PoweringProof, the_sign_cheat_with_minus_one_never_verifies)
{
    for (unsigned long seed = 1; seed <= 16; ++seed) {
        BigInt n, exponent;
        setOdd(n, 600, 100 + seed);
        mpz_sub_ui(exponent.get(), n.get(), 1);
        ProvenTest made = provenFermatTest(n.get(), 3, 1);
        PoweringProof& cheat = made.proof;
        mpz_sub(cheat.result.get(), n.get(), cheat.result.get());
        mpz_sub(cheat.midpoints[0].get(), n.get(), cheat.midpoints[0].get());
        EXPECT_FALSE(verify(cheat, n.get()).holds) << "seed " << seed;
    }
}

TEST(ProofFile, round_trip_keeps_every_residue_and_names_the_number)
{
    BigInt n;
    setOdd(n, 1000, 3);
    ProvenTest made = provenFermatTest(n.get(), 7, 3);
    std::string bytes =
        arithmetic::fermatProofBytes(made.proof, arithmetic::numberIdentity(n.get()), arithmetic::byteLength(n.get()));
    EXPECT_EQ(bytes.size() > 4 * 125, true);
    arithmetic::FermatProofReading reading = arithmetic::readFermatProof(bytes);
    ASSERT_TRUE(reading.ok) << reading.problem;
    EXPECT_EQ(reading.numberId, arithmetic::numberIdentity(n.get()));
    EXPECT_EQ(reading.proof.base, 7u);
    EXPECT_EQ(reading.proof.power, 3u);
    EXPECT_EQ(mpz_cmp(reading.proof.result.get(), made.proof.result.get()), 0);
    for (size_t i = 0; i < 3; ++i)
        EXPECT_EQ(mpz_cmp(reading.proof.midpoints[i].get(), made.proof.midpoints[i].get()), 0);
    EXPECT_TRUE(verify(reading.proof, n.get()).holds);
}

TEST(ProofFile, cut_damaged_foreign_and_extended_files_are_refused_with_the_reason)
{
    BigInt n;
    setOdd(n, 1000, 4);
    ProvenTest made = provenFermatTest(n.get(), 3, 2);
    const std::string bytes =
        arithmetic::fermatProofBytes(made.proof, arithmetic::numberIdentity(n.get()), arithmetic::byteLength(n.get()));
    size_t residuesAt = bytes.find("residues\n") + 9;

    struct Case {
        const char* name;
        std::string bytes;
        const char* problem;
    };
    std::string flipped = bytes;
    flipped[residuesAt + 20] ^= 0x10;
    std::string badPower = bytes;
    badPower.replace(badPower.find("power 2"), 7, "power 0");
    const Case cases[] = {
        {"empty", "", "the file is truncated"},
        {"cut in the magic line", bytes.substr(0, 10), "the file is truncated"},
        {"cut in the header", bytes.substr(0, residuesAt - 12), "the file is truncated"},
        {"cut in the residues", bytes.substr(0, residuesAt + 100), "the file is truncated"},
        {"cut in the checksum", bytes.substr(0, bytes.size() - 5), "the file is truncated"},
        {"a flipped residue bit", flipped, "the file is damaged: its checksum does not match"},
        {"bytes after the end", bytes + "x", "the file has bytes after its end"},
        {"a number file", "123456789\n", "it is not a proof file of a Fermat test"},
        {"power 0", badPower, "the file's header is damaged"},
    };
    for (const Case& c : cases) {
        arithmetic::FermatProofReading reading = arithmetic::readFermatProof(c.bytes);
        EXPECT_FALSE(reading.ok) << c.name;
        EXPECT_EQ(reading.problem, c.problem) << c.name;
    }
}

TEST(PoweringProof, a_missing_residue_means_no_proof_and_the_test_result_stands)
{
    BigInt n, expected;
    setOdd(n, 800, 9);
    BigInt exponent, b(3);
    mpz_sub_ui(exponent.get(), n.get(), 1);
    mpz_powm(expected.get(), b.get(), exponent.get(), n.get());

    // A store that loses residue 2.
    class Forgetful final : public arithmetic::ProofStore {
    public:
        bool save(uint64_t k, mpz_srcptr r) override { return k == 2 || inner.save(k, r); }
        bool load(uint64_t k, mpz_ptr r) override { return inner.load(k, r); }
        bool saveProof(const PoweringProof& p) override { return inner.saveProof(p); }
        void removeResidues() override { inner.removeResidues(); }
        std::string name() const override { return "forgetful"; }
        MemoryProofStore inner;
    };
    Forgetful store;
    arithmetic::LongRunSettings settings;
    settings.proofPower = 3;
    settings.proofStore = storeIn(store);
    arithmetic::FermatOutcome outcome = arithmetic::fermatTest(n.get(), 3, settings);
    EXPECT_FALSE(outcome.proofKept);
    EXPECT_FALSE(store.inner.proof.has_value());
    EXPECT_EQ(outcome.res64, mpz_getlimbn(expected.get(), 0));
}

}  // namespace
