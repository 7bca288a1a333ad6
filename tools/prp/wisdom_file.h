#pragma once
// The FFT plans' wisdom in the tester's data directory, so that measuring
// the transforms of a length is paid once per machine and FFTW, not once
// per run: a short test at a length seen before starts at once.
//
// The directory: $QUENDROLT_CACHE_DIR when set (the tests point it at the
// build tree), else $XDG_CACHE_HOME/quendrolt, else ~/.cache/quendrolt. Not
// the working directory: the window starts the tester there, and the
// installed program's is the user's data folder, which holds their files.
// The file "fftw-wisdom.txt" is written atomically; one from another FFTW
// or processor, or a damaged one, is ignored with a note (the plans are
// measured again and the file replaced).
#include <string>

#include "arithmetic/fft_plans.h"

namespace prp {

class WisdomFile final : public arithmetic::fft::WisdomStore {
public:
    WisdomFile();
    std::string load() override;
    void save(const std::string& text) override;
    void rejected() override;

    const std::string& path() const { return path_; }

private:
    std::string directory_;
    std::string path_;
};

// The data directory as above (empty when there is no home to put it in).
std::string testerCacheDirectory();

}  // namespace prp
