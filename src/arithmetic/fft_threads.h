#pragma once
// The threads of the FFT arithmetic: one process-wide pool that runs the
// passes around the transforms and, through FFTW's thread callback, FFTW's
// own parallel loops, so that a step wakes no thread that is not already
// waiting for it. Workers spin briefly after a job (a step hands them a job
// every few dozen microseconds) and then sleep on a futex.
#include <cstddef>
#include <functional>

namespace arithmetic::fft {

// Runs job(0) .. job(count - 1) on up to `threads` threads (the caller's
// among them) and returns when all are done. Jobs are taken in order by
// whichever thread is free, so a thread the system delays holds up no
// more than its current job. threads <= 1 or count <= 1: on the caller
// alone. Not reentrant: a job must not call parallelFor.
void parallelFor(unsigned threads, size_t count, const std::function<void(size_t)>& job);

}  // namespace arithmetic::fft
