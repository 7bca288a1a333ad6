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
          stop_(settings.stop),
          layout_(poweringLayout(mpz_sizeinbase(exponent, 2))),
          abandon_(settings.abandon),
          fault_(settings.faultAtStep),
          tap_(tap)
    {
        const size_t bits = mpz_sizeinbase(exponent, 2);
        blocks_ = (bits + layout_.blockBits - 1) / layout_.blockBits;
        padBits_ = blocks_ * layout_.blockBits - bits;
    }

    void run(const std::string& label, mpz_ptr result)
    {
        if (!resume())
            begin();
        report_.stepsBegin(label, totalSteps(), step_);
        StopPolling polling(stop_);
        int failuresInARow = 0;
        while (block_ < blocks_) {
            if (position_ == 0) {
                saveOrStopWhenAsked(polling);
                if (block_ > periodStart_)
                    arithmetic_.multiply(kProduct, kX);
            }
            runBlock(polling);
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
        }
        arithmetic_.get(kX, result);
    }

private:
    uint64_t totalSteps() const { return blocks_ * layout_.blockBits; }
    uint64_t stepAt(uint64_t block) const { return block * layout_.blockBits; }
    // Bits of the exponent itself done: steps past the top block's padding.
    uint64_t bitsDone() const { return step_ > padBits_ ? step_ - padBits_ : 0; }
    // Bit position in the exponent of the lowest bit of a block.
    uint64_t lowBitOf(uint64_t block) const { return (blocks_ - 1 - block) * layout_.blockBits; }

    // Adds a block's value (L bits of the exponent) to sum.
    void addBlockValue(uint64_t block, mpz_ptr sum) const
    {
        BigInt value;
        mpz_tdiv_q_2exp(value.get(), exponent_, lowBitOf(block));
        mpz_tdiv_r_2exp(value.get(), value.get(), layout_.blockBits);
        mpz_add(sum, sum, value.get());
    }

    // x = 1 = b^0: the top block, padded with leading zero bits, is a block
    // like the others, so that the check covers every step from the first.
    void begin()
    {
        BigInt one(1);
        arithmetic_.set(kX, one.get());
        block_ = 0;
        position_ = 0;
        step_ = 0;
        startPeriod();
        if (tap_)
            nextTapStep_ = tap_->nextStepAfter(0);
    }

    // The residue after step_ is b to the exponent's top bitsDone() bits:
    // a proof's residues are taken as the powering passes them.
    void tapIfWanted()
    {
        if (!tap_ || step_ < padBits_ || bitsDone() != nextTapStep_)
            return;
        BigInt x;
        arithmetic_.get(kX, x.get());
        tap_->take(nextTapStep_, x.get());
        nextTapStep_ = tap_->nextStepAfter(nextTapStep_);
    }

    // The rest of the current block, saving or stopping between its steps
    // when asked.
    void runBlock(const StopPolling& polling)
    {
        const uint64_t low = lowBitOf(block_);
        while (position_ < layout_.blockBits) {
            throwIfAbandoned();
            arithmetic_.square(kX);
            if (mpz_tstbit(exponent_, low + layout_.blockBits - 1 - position_))
                arithmetic_.multiplySmall(kX, static_cast<uint32_t>(base_));
            fault_.atStep(step_, arithmetic_, kX);
            ++position_;
            report_.stepDone(++step_);
            tapIfWanted();
            if (position_ < layout_.blockBits)
                saveOrStopWhenAsked(polling);
        }
        addBlockValue(block_, exponentSum_.get());
        ++block_;
        position_ = 0;
    }

    void saveOrStopWhenAsked(const StopPolling& polling)
    {
        const bool stopping = polling.requested();
        if ((stopping || checkpoints_.due(step_)) && savedStep_ != step_)
            save();
        if (stopping)
            throw RunStopped(step_, totalSteps(), savedStep_ == step_);
    }

    // d * x(next) == x(p) * d^(2^L) * b^S, S = high * 2^L + low: the factor
    // b^high goes in before the L squarings, the bits of low ride on them.
    // high < period blocks, so b^high is a small number.
    bool periodHolds()
    {
        BigInt high, low, bHigh, left, right;
        mpz_tdiv_q_2exp(high.get(), exponentSum_.get(), layout_.blockBits);
        mpz_tdiv_r_2exp(low.get(), exponentSum_.get(), layout_.blockBits);
        mpz_ui_pow_ui(bHigh.get(), base_, mpz_get_ui(high.get()));
        mpz_tdiv_r(bHigh.get(), bHigh.get(), n_);
        arithmetic_.set(kCheck, bHigh.get());
        arithmetic_.multiply(kCheck, kProduct);
        for (uint64_t bit = layout_.blockBits; bit-- > 0;) {
            throwIfAbandoned();
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

    void throwIfAbandoned() const
    {
        if (abandon_ && abandon_->load(std::memory_order_relaxed))
            throw RunAbandoned();
    }

    void startPeriod()
    {
        arithmetic_.copy(kStart, kX);
        arithmetic_.copy(kProduct, kX);
        mpz_set_ui(exponentSum_.get(), 0);
        periodStart_ = block_;
        BigInt start;
        arithmetic_.get(kStart, start.get());
        startFingerprint_ = residueFingerprint(periodStart_, start.get());
    }

    // The verified start, after making sure it is still the value the
    // check verified: redoing from a changed one would pass every check.
    void verifiedStart(mpz_ptr start) const
    {
        arithmetic_.get(kStart, start);
        if (residueFingerprint(periodStart_, start) != startFingerprint_)
            throw std::runtime_error("a verified residue changed in memory: the memory is unreliable");
    }

    void rollBack()
    {
        BigInt start;
        verifiedStart(start.get());
        arithmetic_.copy(kX, kStart);
        arithmetic_.copy(kProduct, kStart);
        mpz_set_ui(exponentSum_.get(), 0);
        block_ = periodStart_;
        position_ = 0;
        step_ = stepAt(block_);
        savedStep_.reset();  // what the store holds came from the failed period
        if (tap_)
            nextTapStep_ = tap_->nextStepAfter(bitsDone());
    }

    // The period's verified start with its fingerprint, and the state since
    // then, which the period's check will cover after a resume: no single
    // changed value can then give a wrong residue (a changed start or
    // period-start fails the fingerprint, a changed x, product or step the
    // check, which redoes the period from the verified start; a changed
    // block or layout does not fit).
    void save()
    {
        Checkpoint checkpoint;
        checkpoint.step = step_;
        checkpoint.setCount("block-bits", layout_.blockBits);
        checkpoint.setCount("period-blocks", layout_.periodBlocks);
        checkpoint.setCount("block", block_);
        checkpoint.setCount("period-start", periodStart_);
        BigInt value;
        verifiedStart(value.get());
        checkpoint.setNumber("start", value.get());
        checkpoint.values["start-fingerprint"] = startFingerprint_;
        for (auto [name, r] : {std::pair{"x", kX}, {"product", kProduct}}) {
            arithmetic_.get(r, value.get());
            checkpoint.setNumber(name, value.get());
        }
        if (tap_)
            tap_->beforeCheckpoint();
        if (checkpoints_.save(checkpoint))
            savedStep_ = step_;
    }

    bool resume()
    {
        std::optional<Checkpoint> saved = checkpoints_.load();
        if (!saved)
            return false;
        uint64_t blockBits = 0, periodBlocks = 0, block = 0, periodStart = 0;
        BigInt x, product, start;
        bool fits = saved->getCount("block-bits", blockBits) && saved->getCount("period-blocks", periodBlocks) &&
                    saved->getCount("block", block) && saved->getCount("period-start", periodStart) &&
                    saved->getNumber("x", x.get()) && saved->getNumber("product", product.get()) &&
                    saved->getNumber("start", start.get()) && saved->values.contains("start-fingerprint");
        fits = fits && blockBits == layout_.blockBits && periodBlocks == layout_.periodBlocks && block < blocks_ &&
               periodStart <= block && block - periodStart < periodBlocks && saved->step >= stepAt(block) &&
               saved->step < stepAt(block + 1);
        for (mpz_srcptr residue : {x.get(), product.get(), start.get()})
            fits = fits && mpz_cmp(residue, n_) < 0;
        if (!fits) {
            report_.note("Checkpoint " + checkpoints_.name() + " does not fit this test: ignored, starting from the beginning");
            return false;
        }
        if (residueFingerprint(periodStart, start.get()) != saved->values["start-fingerprint"]) {
            report_.note("Checkpoint " + checkpoints_.name() +
                         " was changed after its residue was verified: ignored, starting from the beginning");
            return false;
        }
        if (tap_ && !tap_->holdsUpTo(saved->step > padBits_ ? saved->step - padBits_ : 0)) {
            report_.note("The proof residues before step " + std::to_string(saved->step) +
                         " are not all kept: starting from the beginning");
            mpz_set_ui(exponentSum_.get(), 0);
            return false;
        }
        arithmetic_.set(kX, x.get());
        arithmetic_.set(kProduct, product.get());
        arithmetic_.set(kStart, start.get());
        startFingerprint_ = saved->values["start-fingerprint"];
        block_ = block;
        periodStart_ = periodStart;
        step_ = saved->step;
        position_ = step_ - stepAt(block_);
        mpz_set_ui(exponentSum_.get(), 0);
        for (uint64_t i = periodStart_; i < block_; ++i)
            addBlockValue(i, exponentSum_.get());
        savedStep_ = step_;
        if (tap_)
            nextTapStep_ = tap_->nextStepAfter(bitsDone());
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
    StopRequest* stop_;
    PoweringLayout layout_;
    const std::atomic<bool>* abandon_;
    FaultInjection fault_;
    ResidueTap* tap_;
    uint64_t nextTapStep_ = UINT64_MAX;  // in bits of the exponent done; never reached without a tap
    uint64_t padBits_ = 0;  // leading zero bits of the top block
    uint64_t blocks_ = 0;    // L-bit blocks of the exponent, the top one padded
    uint64_t block_ = 0;     // the block being run
    uint64_t position_ = 0;  // steps of it done
    uint64_t periodStart_ = 0;
    uint64_t step_ = 0;
    std::optional<uint64_t> savedStep_;  // the step the store holds
    std::string startFingerprint_;
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
