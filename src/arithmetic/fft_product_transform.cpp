#include "arithmetic/fft_product_transform.h"

#include "arithmetic/fft_threads.h"

namespace arithmetic::fft {

namespace {

constexpr long double kPi = 3.141592653589793238462643383279502884L;

}  // namespace

ProductTransform::ProductTransform(size_t length, bool split) : length_(length), split_(split)
{
    const long double h = static_cast<long double>(length);
    if (!split_) {
        transforms_ = &complexTransforms(length);
        cyclicTwiddles_[0] = UnitRootTable(length / 2 + 1, -2.0L * kPi / h);
        return;
    }
    const size_t half = length / 2;
    transforms_ = &complexTransforms(half);
    splitTwiddles_ = UnitRootTable(half, -2.0L * kPi / h);
    cyclicTwiddles_[0] = UnitRootTable(half / 2 + 1, -4.0L * kPi / h);               // k = 2m
    cyclicTwiddles_[1] = UnitRootTable(half / 2 + 1, -4.0L * kPi / h, -2.0L * kPi / h);  // k = 2m + 1
}

SpectrumSection ProductTransform::section(size_t index) const
{
    if (!split_)
        return {0, length_, 0, cyclicTwiddles_[0].view()};
    const size_t half = length_ / 2;
    return {index * half, half, index, cyclicTwiddles_[index].view()};
}

void ProductTransform::forward(double* z) const
{
    if (!split_) {
        transforms_->forward(z);
        return;
    }
    const size_t half = length_ / 2;
    passes().splitStage(z, splitTwiddles_.view(), half, 0, passBlocks(half));
    transforms_->forward(z);
    transforms_->forward(z + 2 * half);
}

void ProductTransform::run(double* z, const Pointwise& pointwise) const
{
    if (!split_) {
        transforms_->forward(z);
        pointwise(section(0), z);
        transforms_->backward(z);
        return;
    }
    const Passes& passes = fft::passes();
    const size_t half = length_ / 2;
    const size_t blocks = passBlocks(half);
    const TwoLevelTable twiddles = splitTwiddles_.view();
    parallelFor(2, 2, [&](size_t job) { passes.splitStage(z, twiddles, half, blocks * job / 2, blocks * (job + 1) / 2); });
    parallelFor(2, 2, [&](size_t index) {
        double* values = z + 2 * index * half;
        transforms_->forward(values);
        pointwise(section(index), values);
        transforms_->backward(values);
    });
    parallelFor(2, 2, [&](size_t job) { passes.joinStage(z, twiddles, half, blocks * job / 2, blocks * (job + 1) / 2); });
}

}  // namespace arithmetic::fft
