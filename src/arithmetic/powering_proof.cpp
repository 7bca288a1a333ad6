#include "arithmetic/powering_proof.h"

#include <algorithm>
#include <stdexcept>

#include "arithmetic/proof_challenges.h"

namespace arithmetic {

namespace {

using Register = ModularArithmetic::Register;

uint64_t ceilDivide(uint64_t a, uint64_t b) { return (a + b - 1) / b; }

// target = target^exponent, exponent >= 1, left to right; scratch is
// overwritten with the base.
void raise(ModularArithmetic& arithmetic, Register target, Register scratch, mpz_srcptr exponent)
{
    arithmetic.copy(scratch, target);
    for (size_t bit = mpz_sizeinbase(exponent, 2) - 1; bit-- > 0;) {
        arithmetic.square(target);
        if (mpz_tstbit(exponent, bit))
            arithmetic.multiply(target, scratch);
    }
}

// The residue s_k: 1 inside the padding, else the stored one.
void loadBoundary(ProofStore& store, const ProofLayout& layout, uint64_t k, mpz_srcptr n, mpz_ptr residue)
{
    if (layout.stepOf(k) == 0) {
        mpz_set_ui(residue, 1);
        return;
    }
    if (!store.load(k, residue) || mpz_cmp(residue, n) >= 0)
        throw std::runtime_error("the proof residue " + std::to_string(k) + " in " + store.name() +
                                 " is missing or damaged");
}

// mu_i = prod over t < 2^(i-1) of s_((2t+1) 2^(P-i)) ^ c_t, where c_t holds
// r_l for every level l < i at which leaf t lay in the left half. As a tree:
// two neighbouring subtrees of height h merge as left^(r_(i-1-h)) * right,
// 2^(i-1) - 1 exponentiations in all, with one stored residue read per leaf.
void midpoint(ModularArithmetic& arithmetic, ProofStore& store, const ProofLayout& layout, unsigned level,
              const std::vector<BigInt>& challenges, mpz_srcptr n, mpz_ptr mu)
{
    struct Subtree {
        BigInt value;
        unsigned height;
    };
    std::vector<Subtree> stack;
    uint64_t leaves = uint64_t(1) << (level - 1);
    uint64_t spacing = layout.segments() >> level;
    for (uint64_t t = 0; t < leaves; ++t) {
        Subtree leaf{BigInt(), 0};
        loadBoundary(store, layout, (2 * t + 1) * spacing, n, leaf.value.get());
        stack.push_back(std::move(leaf));
        while (stack.size() >= 2 && stack[stack.size() - 2].height == stack.back().height) {
            Subtree right = std::move(stack.back());
            stack.pop_back();
            Subtree& left = stack.back();
            arithmetic.set(0, left.value.get());
            raise(arithmetic, 0, 1, challenges[level - 2 - left.height].get());
            arithmetic.set(1, right.value.get());
            arithmetic.multiply(0, 1);
            arithmetic.get(0, left.value.get());
            ++left.height;
        }
    }
    mpz_set(mu, stack.back().value.get());
}

// The segment exponents E_0 .. E_(2^P - 1) of the padded exponent, E_0
// the highest.
std::vector<BigInt> segmentExponents(mpz_srcptr exponent, const ProofLayout& layout)
{
    std::vector<BigInt> segments(layout.segments());
    for (uint64_t k = 0; k < layout.segments(); ++k) {
        uint64_t low = (layout.segments() - 1 - k) * layout.segmentBits();
        mpz_tdiv_q_2exp(segments[k].get(), exponent, low);
        mpz_tdiv_r_2exp(segments[k].get(), segments[k].get(), layout.segmentBits());
    }
    return segments;
}

// x^r * mu into register 0, which holds x (x = 1 when xIsOne); register 1
// is scratch.
void combineLeft(ModularArithmetic& arithmetic, bool xIsOne, mpz_srcptr r, mpz_srcptr mu)
{
    if (xIsOne) {
        arithmetic.set(0, mu);
        return;
    }
    raise(arithmetic, 0, 1, r);
    arithmetic.set(1, mu);
    arithmetic.multiply(0, 1);
}

// y * prod mu_i^(r_i): one chain of squarings shared by all the challenges
// (Straus), the midpoints in registers 1 .. P, the sum in register 0.
void combineRight(ModularArithmetic& arithmetic, const PoweringProof& proof, const std::vector<BigInt>& challenges,
                  mpz_ptr result)
{
    const Register sum = 0;
    const Register y = static_cast<Register>(challenges.size() + 1);
    size_t bits = 0;
    for (size_t i = 0; i < challenges.size(); ++i) {
        arithmetic.set(static_cast<Register>(i + 1), proof.midpoints[i].get());
        bits = std::max(bits, mpz_sizeinbase(challenges[i].get(), 2));
    }
    bool sumIsOne = true;
    for (size_t bit = bits; bit-- > 0;) {
        if (!sumIsOne)
            arithmetic.square(sum);
        for (size_t i = 0; i < challenges.size(); ++i) {
            if (!mpz_tstbit(challenges[i].get(), bit))
                continue;
            if (sumIsOne)
                arithmetic.copy(sum, static_cast<Register>(i + 1));
            else
                arithmetic.multiply(sum, static_cast<Register>(i + 1));
            sumIsOne = false;
        }
    }
    arithmetic.set(y, proof.result.get());
    arithmetic.multiply(sum, y);
    arithmetic.get(sum, result);
}

}  // namespace

ProofLayout::ProofLayout(unsigned power, uint64_t exponentBits)
    : power_(power), exponentBits_(exponentBits), segmentBits_(ceilDivide(exponentBits, uint64_t(1) << power))
{
}

uint64_t ProofLayout::stepOf(uint64_t k) const
{
    uint64_t end = k * segmentBits_;
    return end > paddingBits() ? end - paddingBits() : 0;
}

uint64_t ProofLayout::boundaryAt(uint64_t step) const
{
    if (step == 0)
        return 0;
    uint64_t padded = step + paddingBits();
    if (padded % segmentBits_ != 0)
        return 0;
    uint64_t k = padded / segmentBits_;
    return k < segments() ? k : 0;
}

ProofRecorder::ProofRecorder(const ProofLayout& layout, ProofStore& store, mpz_srcptr n, RunReport& report)
    : layout_(layout), store_(store), n_(n), report_(report)
{
}

uint64_t ProofRecorder::nextStepAfter(uint64_t step) const
{
    uint64_t k = (step + layout_.paddingBits()) / layout_.segmentBits() + 1;
    return k < layout_.segments() ? layout_.stepOf(k) : UINT64_MAX;
}

void ProofRecorder::take(uint64_t step, mpz_srcptr residue)
{
    uint64_t k = layout_.boundaryAt(step);
    if (k == 0 || failed_)
        return;
    if (!store_.save(k, residue)) {
        failed_ = true;
        report_.note("Cannot keep the proof residue " + std::to_string(k) + " in " + store_.name() +
                     ": the test goes on without a proof");
    }
}

bool ProofRecorder::holdsUpTo(uint64_t step)
{
    BigInt residue;
    for (uint64_t k = 1; k < layout_.segments() && layout_.stepOf(k) <= step; ++k) {
        if (layout_.stepOf(k) == 0)
            continue;
        if (!store_.load(k, residue.get()) || mpz_cmp(residue.get(), n_) >= 0)
            return false;
    }
    return true;
}

PoweringProof buildPoweringProof(ModularArithmetic& arithmetic, ProofStore& store, const ProofLayout& layout,
                                 unsigned long base, mpz_srcptr exponent, mpz_srcptr n, mpz_srcptr result)
{
    PoweringProof proof;
    proof.base = base;
    proof.power = layout.power();
    mpz_set(proof.result.get(), result);
    ProofChallenges challenges(n, base, exponent, result, layout.power());
    std::vector<BigInt> drawn;
    for (unsigned level = 1; level <= layout.power(); ++level) {
        BigInt mu, r;
        midpoint(arithmetic, store, layout, level, drawn, n, mu.get());
        challenges.next(mu.get(), r.get());
        proof.midpoints.push_back(std::move(mu));
        drawn.push_back(std::move(r));
    }
    return proof;
}

ProofCheck verifyPoweringProof(const PoweringProof& proof, mpz_srcptr exponent, mpz_srcptr n, unsigned threads)
{
    if (proof.power < kMinProofPower || proof.power > kMaxProofPower || proof.midpoints.size() != proof.power)
        return {false, "the proof's power is out of range"};
    if (proof.base < 2 || proof.base > UINT32_MAX)
        return {false, "the base is out of range"};
    if (mpz_cmp(proof.result.get(), n) >= 0)
        return {false, "the result is not a residue modulo the number"};
    for (const BigInt& mu : proof.midpoints)
        if (mpz_cmp(mu.get(), n) >= 0)
            return {false, "a midpoint is not a residue modulo the number"};

    ProofLayout layout(proof.power, mpz_sizeinbase(exponent, 2));
    std::unique_ptr<ModularArithmetic> arithmetic =
        makeModularArithmetic(n, static_cast<int>(proof.power) + 2, threads);
    ProofChallenges challenges(n, proof.base, exponent, proof.result.get(), proof.power);

    // The claim at each level: y = x^(2^(m L)) * b^(sum of E_k 2^(L (m-1-k)))
    // over its m segments, whose exponents E_k are halved as the midpoints'
    // are: E'_k = r E_k + E_(k + m/2). The left side x is built as it goes.
    std::vector<BigInt> segments = segmentExponents(exponent, layout);
    std::vector<BigInt> drawn;
    for (unsigned level = 1; level <= proof.power; ++level) {
        const BigInt& mu = proof.midpoints[level - 1];
        BigInt r;
        challenges.next(mu.get(), r.get());
        size_t half = segments.size() / 2;
        for (size_t k = 0; k < half; ++k) {
            mpz_mul(segments[k].get(), segments[k].get(), r.get());
            mpz_add(segments[k].get(), segments[k].get(), segments[k + half].get());
        }
        segments.resize(half);
        combineLeft(*arithmetic, level == 1, r.get(), mu.get());
        drawn.push_back(std::move(r));
    }

    // Left side: x^(2^L) * b^E_0 = (x * b^(E_0 >> L))^(2^L) * b^(E_0 mod 2^L),
    // the powers of b on the registers (square and multiplySmall).
    mpz_srcptr last = segments[0].get();
    BigInt high, b(proof.base);
    mpz_tdiv_q_2exp(high.get(), last, layout.segmentBits());
    if (mpz_sgn(high.get()) > 0) {
        mpz_mod(b.get(), b.get(), n);
        arithmetic->set(1, b.get());
        for (size_t bit = mpz_sizeinbase(high.get(), 2) - 1; bit-- > 0;) {
            arithmetic->square(1);
            if (mpz_tstbit(high.get(), bit))
                arithmetic->multiplySmall(1, static_cast<uint32_t>(proof.base));
        }
        arithmetic->multiply(0, 1);
    }
    for (uint64_t bit = layout.segmentBits(); bit-- > 0;) {
        arithmetic->square(0);
        if (mpz_tstbit(last, bit))
            arithmetic->multiplySmall(0, static_cast<uint32_t>(proof.base));
    }
    BigInt left, right;
    arithmetic->get(0, left.get());
    combineRight(*arithmetic, proof, drawn, right.get());
    if (mpz_cmp(left.get(), right.get()) != 0)
        return {false, "the proof does not hold: the residues are not those of this powering"};
    return {true, ""};
}

}  // namespace arithmetic
