#pragma once
// The text form in which FFTW's wisdom (the plans it measured) is kept
// between runs: a header naming the FFTW build and the processor it was
// measured on, FFTW's own text, and a checksum. Wisdom of another FFTW or
// another processor is no use here (or, for another processor's
// instruction set, no good), and a damaged text must not half-load.
#include <string>

namespace arithmetic::fft {

// All wisdom FFTW holds now, in that form.
std::string wisdomText();

// Adds the wisdom of a text made by wisdomText(); false (and nothing
// added) when it is damaged, truncated, or from another FFTW or processor.
bool addWisdomText(const std::string& text);

// The FFTW build and processor line of the header.
std::string wisdomOrigin();

}  // namespace arithmetic::fft
