// The text form of the FFT plans' wisdom: it loads back whole, and a
// damaged, truncated or foreign one loads nothing.
#include <gtest/gtest.h>

#include <string>

#include "arithmetic/fft_plans.h"
#include "arithmetic/fft_wisdom.h"

namespace {

using arithmetic::fft::addWisdomText;
using arithmetic::fft::wisdomOrigin;
using arithmetic::fft::wisdomText;

TEST(FftWisdom, TextLoadsBackAndDamagedOrForeignTextIsRefused)
{
    (void)arithmetic::fft::complexTransforms(1024);  // some wisdom to carry
    const std::string text = wisdomText();
    ASSERT_TRUE(text.starts_with("quendrolt fftw wisdom 1\n" + wisdomOrigin() + "\n")) << text;
    EXPECT_TRUE(addWisdomText(text));

    std::string flipped = text;
    flipped[flipped.size() / 2] ^= 1;
    std::string foreign = text;
    foreign.replace(foreign.find(wisdomOrigin()), wisdomOrigin().size(), "fftw fftw-3.3.10 on another processor");
    const std::string refused[] = {
        "",
        text.substr(0, text.size() / 2),
        text.substr(0, text.size() - 1),
        flipped,
        foreign,
        "(fftw-3.3.10 fftw_wisdom #x0 #x0 #x0 #x0\n)\n",  // FFTW's own text without our frame
    };
    for (const std::string& bad : refused) {
        SCOPED_TRACE(bad.substr(0, 60));
        EXPECT_FALSE(addWisdomText(bad));
    }
}

}  // namespace
