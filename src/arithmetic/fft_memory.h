#pragma once
// Memory of the FFT arithmetic: the checked allocation of its transform
// arrays, and what an instance needs, so that a test too large for the
// memory left is refused before it starts instead of failing part-way.
// FFTW's own allocations (plans, working buffers) end the process when they
// fail: the estimates cover them, with a margin.
#include <cstddef>
#include <new>

namespace arithmetic::fft {

// A transform array that could not be had.
class AllocationFailure : public std::bad_alloc {
public:
    explicit AllocationFailure(size_t bytes);
    const char* what() const noexcept override { return message_; }

private:
    char message_[96];
};

// fftw_malloc (aligned for FFTW's vector code); throws AllocationFailure
// instead of returning null. Release with fftw_free.
void* allocateAligned(size_t bytes);

// Bytes FFTW takes for the plans of one complex length and their working
// buffers, planning included.
size_t planBytes(size_t length);

// Bytes an FftGeneralArithmetic for an N of nBits bits, and a
// MersenneArithmetic for 2^q - 1, need with `registers` registers on up to
// `threads` threads: arrays, registers, plans and the stacks of the
// transform pool's threads. Upper estimates, at the starting transform length.
size_t generalArithmeticBytes(size_t nBits, int registers, unsigned threads);
size_t mersenneArithmeticBytes(unsigned long q, int registers, unsigned threads);

// A thread's stack as glibc maps it (the usual 8 MiB stack limit) and its
// guard page.
constexpr size_t kThreadStackBytes = (8u << 20) + 4096;

}  // namespace arithmetic::fft
