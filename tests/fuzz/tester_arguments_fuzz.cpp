// The tester's command line and its number file, as any caller may hand them
// over: words split at zero bytes; the text after the first zero byte pair is
// the number file's content.
#include <vector>

#include "arguments.h"
#include "fuzz_support.h"
#include "number_file.h"

namespace {

void checkArguments(std::string_view line)
{
    std::vector<std::string> words{"pfgw64_133mm.exe"};
    size_t begin = 0;
    for (size_t end; (end = line.find('\0', begin)) != std::string_view::npos; begin = end + 1)
        words.emplace_back(line.substr(begin, end - begin));
    words.emplace_back(line.substr(begin));
    std::vector<const char*> argv;
    for (const std::string& word : words)
        argv.push_back(word.c_str());

    const prp::ParsedArguments parsed = prp::parseArguments(static_cast<int>(argv.size()), argv.data());
    FUZZ_CHECK(parsed.ok == parsed.error.empty());
    if (!parsed.ok)
        return;
    const prp::TesterOptions& options = parsed.options;
    FUZZ_CHECK(!options.numberFile.empty() && options.numberFile.back() != ' ');
    FUZZ_CHECK(options.threads >= 1 && options.threads <= 256);
    FUZZ_CHECK(options.trialDepth <= prp::kMaxTrialDepthFactor * prp::kTrialDepthUnit);
    for (unsigned long base : prp::effectiveBases(options))
        FUZZ_CHECK(base >= 2);
}

void checkNumberFile(std::string_view content)
{
    const prp::NumberText read = prp::readNumberFile(fuzz::scratchFile(content, ".number"));
    std::string digits = fuzz::plainDigits(content);
    FUZZ_CHECK(read.ok == !digits.empty());
    if (!read.ok)
        return;
    const size_t significant = digits.find_first_not_of('0');
    digits.erase(0, significant == std::string::npos ? digits.size() - 1 : significant);
    FUZZ_CHECK(read.digits == digits);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view input = fuzz::asText(data, size);
    const size_t split = input.find(std::string_view("\0\0", 2));
    checkArguments(input.substr(0, split));
    if (split != std::string_view::npos)
        checkNumberFile(input.substr(split + 2));
    return 0;
}
