// The runner's reading of the tester's output: a cleaned line has no line
// ends and no blanks at its ends, a summary is a tail of the line, and only a
// result line gives a verdict.
#include "fuzz_support.h"
#include "engine/tester_output.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string line = engine::cleanOutputLine(fuzz::asText(data, size));
    FUZZ_CHECK(line.find_first_of("\r\n") == std::string::npos);
    FUZZ_CHECK(line.empty() || (line.front() != ' ' && line.back() != ' ' && line.front() != '\t' && line.back() != '\t'));
    FUZZ_CHECK(engine::cleanOutputLine(line) == line);

    const std::string summary = engine::summariseResultLine(line);
    FUZZ_CHECK(summary.size() <= line.size() && line.ends_with(summary));

    using engine::Verdict;
    const Verdict verdict = engine::verdictFromResultLine(line);
    FUZZ_CHECK(verdict == Verdict::NotDone || verdict == Verdict::CouldBePrime || verdict == Verdict::PossiblePrime ||
               verdict == Verdict::IsComposite);
    if (verdict != Verdict::NotDone)
        FUZZ_CHECK(engine::isResultLine(line) || line.find(" has no ") != std::string::npos);
    return 0;
}
