#include "arithmetic/checked_powering.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "arithmetic/big_integer.h"
#include "arithmetic/fault_injection.h"

namespace arithmetic {

namespace {

using arithmetic::BigInt;
using Register = ModularArithmetic::Register;

constexpr Register kX = 0;        // the running residue
constexpr Register kProduct = 1;  // d: product of the period's block starts
constexpr Register kStart = 2;    // x at the period's start, verified
constexpr Register kCheck = 3;    // the check's other side
constexpr int kFailuresBeforeGivingUp = 3;

class Powering {
public:
    Powering(ModularArithmetic& arithmetic, unsigned long base, mpz_srcptr exponent, mpz_srcptr n,
             CheckpointStore& checkpoints, const LongRunSettings& settings, ResidueTap* tap)
        : arithmetic_(arithmetic),
          base_(base),
          exponent_(exponent),
          n_(n),
          checkpoints_(checkpoints),
          report_(settings.reportTo()),
          layout_(poweringLayout(mpz_sizeinbase(exponent, 2))),
          fault_(settings.faultAtStep),
          tap_(tap)
    {
        size_t bits = mpz_sizeinbase(exponent, 2);
        blocks_ = (bits - 1) / layout_.blockBits;
        topBits_ = bits - blocks_ * layout_.blockBits;
    }

    void run(const std::string& label, mpz_ptr result)
    {
        if (!resume())
            begin();
        report_.stepsBegin(label, totalSteps(), step_);
        int failuresInARow = 0;
        while (block_ < blocks_) {
            if (block_ > periodStart_)
                arithmetic_.multiply(kProduct, kX);
            runBlock();
            if (block_ - periodStart_ == layout_.periodBlocks || block_ == blocks_) {
                if (periodHolds()) {
                    startPeriod();
                    failuresInARow = 0;
                } else {
                    if (++failuresInARow >= kFailuresBeforeGivingUp)
                        throw std::runtime_error("the Gerbicz check keeps failing: the arithmetic is unreliable");
                    report_.note("Gerbicz check failed at step " + std::to_string(step_) +
                                 ": an arithmetic error, redoing from step " + std::to_string(stepAt(periodStart_)));
                    rollBack();
                }
            }
            if (checkpoints_.due())
                save();
        }
        arithmetic_.get(kX, result);
    }

private:
    uint64_t totalSteps() const { return topBits_ + blocks_ * layout_.blockBits; }
    uint64_t stepAt(uint64_t block) const { return topBits_ + block * layout_.blockBits; }
    // Bit position in the exponent of the lowest bit of a block.
    uint64_t lowBitOf(uint64_t block) const { return (blocks_ - 1 - block) * layout_.blockBits; }

    // The bits above the blocks by one plain powering: fewer than L bits.
    void begin()
    {
        BigInt top, b(base_), x;
        mpz_tdiv_q_2exp(top.get(), exponent_, blocks_ * layout_.blockBits);
        mpz_powm(x.get(), b.get(), top.get(), n_);
        arithmetic_.set(kX, x.get());
        block_ = 0;
        step_ = stepAt(0);
        tapTopBits();
        startPeriod();
    }

    // Residues wanted within the top bits come from plain powerings too.
    void tapTopBits()
    {
        if (!tap_)
            return;
        size_t bits = mpz_sizeinbase(exponent_, 2);
        BigInt top, b(base_), x;
        for (uint64_t step = tap_->nextStepAfter(0); step <= step_; step = tap_->nextStepAfter(step)) {
            mpz_tdiv_q_2exp(top.get(), exponent_, bits - step);
            mpz_powm(x.get(), b.get(), top.get(), n_);
            tap_->take(step, x.get());
        }
        nextTapStep_ = tap_->nextStepAfter(step_);
    }

    void tapIfWanted()
    {
        if (step_ != nextTapStep_)
            return;
        BigInt x;
        arithmetic_.get(kX, x.get());
        tap_->take(step_, x.get());
        nextTapStep_ = tap_->nextStepAfter(step_);
    }

    void runBlock()
    {
        uint64_t low = lowBitOf(block_);
        for (uint64_t bit = low + layout_.blockBits; bit-- > low;) {
            arithmetic_.square(kX);
            if (mpz_tstbit(exponent_, bit))
                arithmetic_.multiplySmall(kX, static_cast<uint32_t>(base_));
            fault_.atStep(step_, arithmetic_, kX);
            report_.stepDone(++step_);
            tapIfWanted();
        }
        BigInt value;
        mpz_tdiv_q_2exp(value.get(), exponent_, low);
        mpz_tdiv_r_2exp(value.get(), value.get(), layout_.blockBits);
        mpz_add(exponentSum_.get(), exponentSum_.get(), value.get());
        ++block_;
    }

    // d * x(next) == x(p) * d^(2^L) * b^S, S = high * 2^L + low: the factor
    // b^high goes in before the L squarings, the bits of low ride on them.
    bool periodHolds()
    {
        BigInt high, low, b(base_), bHigh, left, right;
        mpz_tdiv_q_2exp(high.get(), exponentSum_.get(), layout_.blockBits);
        mpz_tdiv_r_2exp(low.get(), exponentSum_.get(), layout_.blockBits);
        mpz_powm(bHigh.get(), b.get(), high.get(), n_);
        arithmetic_.set(kCheck, bHigh.get());
        arithmetic_.multiply(kCheck, kProduct);
        for (uint64_t bit = layout_.blockBits; bit-- > 0;) {
            arithmetic_.square(kCheck);
            if (mpz_tstbit(low.get(), bit))
                arithmetic_.multiplySmall(kCheck, static_cast<uint32_t>(base_));
        }
        arithmetic_.multiply(kCheck, kStart);
        arithmetic_.multiply(kProduct, kX);
        arithmetic_.get(kProduct, left.get());
        arithmetic_.get(kCheck, right.get());
        return mpz_cmp(left.get(), right.get()) == 0;
    }

    void startPeriod()
    {
        arithmetic_.copy(kStart, kX);
        arithmetic_.copy(kProduct, kX);
        mpz_set_ui(exponentSum_.get(), 0);
        periodStart_ = block_;
    }

    void rollBack()
    {
        arithmetic_.copy(kX, kStart);
        arithmetic_.copy(kProduct, kStart);
        mpz_set_ui(exponentSum_.get(), 0);
        block_ = periodStart_;
        step_ = stepAt(block_);
        if (tap_)
            nextTapStep_ = tap_->nextStepAfter(step_);
    }

    void save()
    {
        Checkpoint checkpoint;
        checkpoint.step = step_;
        checkpoint.setCount("block-bits", layout_.blockBits);
        checkpoint.setCount("period-blocks", layout_.periodBlocks);
        checkpoint.setCount("block", block_);
        checkpoint.setCount("period-start", periodStart_);
        checkpoint.setNumber("exponent-sum", exponentSum_.get());
        BigInt value;
        for (auto [name, r] : {std::pair{"x", kX}, {"product", kProduct}, {"start", kStart}}) {
            arithmetic_.get(r, value.get());
            checkpoint.setNumber(name, value.get());
        }
        if (tap_)
            tap_->beforeCheckpoint();
        checkpoints_.save(checkpoint);
    }

    bool resume()
    {
        std::optional<Checkpoint> saved = checkpoints_.load();
        if (!saved)
            return false;
        uint64_t blockBits = 0, periodBlocks = 0, block = 0, periodStart = 0;
        BigInt x, product, start;
        bool ok = saved->getCount("block-bits", blockBits) && saved->getCount("period-blocks", periodBlocks) &&
                  saved->getCount("block", block) && saved->getCount("period-start", periodStart) &&
                  saved->getNumber("exponent-sum", exponentSum_.get()) && saved->getNumber("x", x.get()) &&
                  saved->getNumber("product", product.get()) && saved->getNumber("start", start.get());
        ok = ok && blockBits == layout_.blockBits && periodBlocks == layout_.periodBlocks && block <= blocks_ &&
             periodStart <= block && saved->step == stepAt(block);
        for (mpz_srcptr residue : {x.get(), product.get(), start.get()})
            ok = ok && mpz_cmp(residue, n_) < 0;
        if (!ok) {
            report_.note("Checkpoint " + checkpoints_.name() + " does not fit this test: ignored, starting from the beginning");
            mpz_set_ui(exponentSum_.get(), 0);
            return false;
        }
        if (tap_ && !tap_->holdsUpTo(saved->step)) {
            report_.note("The proof residues before step " + std::to_string(saved->step) +
                         " are not all kept: starting from the beginning");
            mpz_set_ui(exponentSum_.get(), 0);
            return false;
        }
        arithmetic_.set(kX, x.get());
        arithmetic_.set(kProduct, product.get());
        arithmetic_.set(kStart, start.get());
        block_ = block;
        periodStart_ = periodStart;
        step_ = saved->step;
        if (tap_)
            nextTapStep_ = tap_->nextStepAfter(step_);
        report_.note("Resuming from the checkpoint " + checkpoints_.name() + " at step " + std::to_string(step_) +
                     " of " + std::to_string(totalSteps()));
        return true;
    }

    ModularArithmetic& arithmetic_;
    unsigned long base_;
    mpz_srcptr exponent_;
    mpz_srcptr n_;
    CheckpointStore& checkpoints_;
    RunReport& report_;
    PoweringLayout layout_;
    FaultInjection fault_;
    ResidueTap* tap_;
    uint64_t nextTapStep_ = UINT64_MAX;  // the tap's next step; never reached without a tap
    uint64_t blocks_ = 0;   // full blocks below the top bits
    uint64_t topBits_ = 0;  // 1 .. L
    uint64_t block_ = 0;    // next block to run
    uint64_t periodStart_ = 0;
    uint64_t step_ = 0;
    BigInt exponentSum_;
};

}  // namespace

PoweringLayout poweringLayout(size_t exponentBits)
{
    PoweringLayout layout;
    layout.blockBits = std::max<uint64_t>(8, static_cast<uint64_t>(std::lround(std::sqrt(double(exponentBits)))));
    layout.periodBlocks = std::max<uint64_t>(2, layout.blockBits / 4);
    return layout;
}

void checkedPower(ModularArithmetic& arithmetic, unsigned long base, mpz_srcptr exponent, mpz_srcptr n,
                  CheckpointStore& checkpoints, const LongRunSettings& settings, const std::string& label,
                  mpz_ptr result, ResidueTap* tap)
{
    Powering(arithmetic, base, exponent, n, checkpoints, settings, tap).run(label, result);
}

}  // namespace arithmetic
