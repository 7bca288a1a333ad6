#pragma once
// FFTW plans for the FFT arithmetic: real-to-complex forward and
// complex-to-real inverse transforms of one length, planned once per
// (length, threads) in the process and shared by every instance.
#include <cstddef>

#include <fftw3.h>

#include "arithmetic/fft_memory.h"

namespace arithmetic::fft {

// One aligned array from fftw_malloc (checked: allocateAligned); moves,
// never copies.
template <typename T>
class AlignedArray {
public:
    AlignedArray() = default;
    explicit AlignedArray(size_t count) : data_(static_cast<T*>(allocateAligned(sizeof(T) * count))), size_(count) {}
    AlignedArray(AlignedArray&& other) noexcept : data_(other.data_), size_(other.size_) { other.data_ = nullptr; other.size_ = 0; }
    AlignedArray& operator=(AlignedArray&& other) noexcept
    {
        if (this != &other) {
            fftw_free(data_);
            data_ = other.data_;
            size_ = other.size_;
            other.data_ = nullptr;
            other.size_ = 0;
        }
        return *this;
    }
    AlignedArray(const AlignedArray&) = delete;
    AlignedArray& operator=(const AlignedArray&) = delete;
    ~AlignedArray() { fftw_free(data_); }
    T* data() { return data_; }
    const T* data() const { return data_; }
    size_t size() const { return size_; }
    T& operator[](size_t i) { return data_[i]; }
    const T& operator[](size_t i) const { return data_[i]; }

private:
    T* data_ = nullptr;
    size_t size_ = 0;
};

using RealArray = AlignedArray<double>;
using ComplexArray = AlignedArray<fftw_complex>;

// The pair of plans for one real length (even). Executed on any arrays from
// fftw_malloc (new-array execute): forward real[length] -> complex[length/2+1],
// inverse complex -> real (destroys its input), both unnormalised.
struct TransformPair {
    size_t length = 0;
    fftw_plan forward = nullptr;
    fftw_plan inverse = nullptr;

    void runForward(double* in, fftw_complex* out) const { fftw_execute_dft_r2c(forward, in, out); }
    void runInverse(fftw_complex* in, double* out) const { fftw_execute_dft_c2r(inverse, in, out); }
};

// The threads a transform of `length` runs on when `threads` are allowed:
// one below length 32,768, where threads cost more than they bring.
unsigned transformThreads(size_t length, unsigned threads);

// The plans for `length` on transformThreads(length, threads) threads, made
// on first use (thread-safe; plans live until the process ends).
const TransformPair& transformPair(size_t length, unsigned threads);

// How hard the planner tries. Measure (the default) times candidate
// algorithms from length 32,768 on, limited to a few seconds per plan by
// fftw_set_timelimit, and estimates below; Estimate plans at once from a
// model at every length (tests use it: planning time would dominate them).
enum class Planning { Estimate, Measure };
void setPlanning(Planning planning);

}  // namespace arithmetic::fft
