#pragma once
// One generation run (Part of "START Generation"): the four modes, the
// candidates, the counters and the ends, reported to a GenerationView and
// doing its long steps through GenerationWork. It reads no control: what the
// user chose comes in as settings.
#include <cstdint>
#include <string>

#include "engine/generation_rules.h"
#include "engine/random_candidate.h"
#include "engine/random_source.h"
#include "generator/generation_view.h"
#include "shell/clock.h"
#include "storage/number_files.h"
#include "storage/resume_file.h"

namespace generator {

struct GenerationSettings {
    int64_t n = 0;
    engine::DigitChoices digits;
    bool iconic = false;
    std::string iconicDigit;     // as typed: checked by the run
    bool mersenne = false;
    bool resume = false;         // " Load Previous Processing"
    std::string signatureBlock;  // empty when no signature goes into the candidates
    int64_t largeNumbersStart = 0;
    int64_t internalLimitMs = 0;
    std::string resumeFile = storage::kResumeFile;
    std::string lastNumberFile = storage::kLastNumberFile;
};

// What the run reads and counts besides its view and its work.
struct GenerationServices {
    shell::Clock& clock;
    engine::RandomSource& random;
    // The statistics the first check and the tester count into.
    storage::RunCounters& counters;
};

void runGeneration(GenerationView& view, GenerationWork& work, GenerationServices services,
                   const GenerationSettings& settings);

}  // namespace generator
