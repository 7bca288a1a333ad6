#pragma once
// FFTW plans for the FFT arithmetic: complex transforms of one length, on
// one thread (threads take whole transforms, fft_product_transform.h),
// planned once per length in the process and shared by every instance, and
// the plans' wisdom kept across runs by whoever provides a WisdomStore (the
// tester keeps it in a file).
#include <cstddef>
#include <string>

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

// The complex transforms of one length H, in place (unnormalised; complex
// values are interleaved doubles, arrays from fftw_malloc). In place only:
// FFTW's out-of-place plans measured up to 1.5 times slower here at the
// lengths that matter, more than a copy of the input costs.
struct ComplexTransforms {
    size_t length = 0;
    fftw_plan forwardPlan = nullptr;
    fftw_plan backwardPlan = nullptr;

    void forward(double* z) const
    {
        fftw_complex* data = reinterpret_cast<fftw_complex*>(z);
        fftw_execute_dft(forwardPlan, data, data);
    }
    void backward(double* z) const
    {
        fftw_complex* data = reinterpret_cast<fftw_complex*>(z);
        fftw_execute_dft(backwardPlan, data, data);
    }
};

// The transforms of length H, made on first use (thread-safe; plans live
// until the process ends).
const ComplexTransforms& complexTransforms(size_t length);

// How hard the planner tries. Measure (the default) takes a plan from the
// kept wisdom, or times candidate algorithms: from kMeasuredFromLength on
// when a WisdomStore keeps the result (once per machine and length), from
// a longer length and within a time limit when none does (see
// fft_plans.cpp); it estimates below. Estimate plans at once from a model
// at every length (tests use it: planning time would dominate them).
// Measured plans are 10-15 % faster.
enum class Planning { Estimate, Measure };
void setPlanning(Planning planning);
constexpr size_t kMeasuredFromLength = 512;

// Where measured plans are kept between runs. load() is asked once, before
// the first plan; save() gets the whole wisdom (the text form of
// wisdom_text.h) after each plan that had to be measured.
class WisdomStore {
public:
    virtual ~WisdomStore() = default;
    virtual std::string load() = 0;
    virtual void save(const std::string& text) = 0;
    // What load() gave was damaged or foreign and was left out.
    virtual void rejected() {}
};
// The store for this process (not owned; null: none). Set it before the
// first plan.
void setWisdomStore(WisdomStore* store);

}  // namespace arithmetic::fft
