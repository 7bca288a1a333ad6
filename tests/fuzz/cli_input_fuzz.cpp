// The command line's reader of a number file (and standard input, read the
// same way): it gives the digits exactly when the bytes are one run of digits
// with white space around it (after an optional byte-order mark), and
// otherwise refuses with a message of one line of valid UTF-8, as every
// message that quotes outside text must be.
#include "cli/failure.h"
#include "cli/number_input.h"
#include "cli/quoted_text.h"
#include "fuzz_support.h"

#include <optional>
#include <string>

namespace {

bool whiteSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// The digits the reader must give, or nothing when it must refuse.
std::optional<std::string> expectedDigits(std::string_view text)
{
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    size_t first = 0;
    while (first < text.size() && whiteSpace(text[first]))
        ++first;
    size_t end = text.size();
    while (end > first && whiteSpace(text[end - 1]))
        --end;
    const std::string_view digits = text.substr(first, end - first);
    if (digits.empty() || fuzz::plainDigits(digits).size() != digits.size())
        return std::nullopt;
    const size_t nonZero = digits.find_first_not_of('0');
    return std::string(nonZero == std::string_view::npos ? "0" : digits.substr(nonZero));
}

bool oneLineOfUtf8(const std::string& text)
{
    for (size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x20 || byte == 0x7F)
            return false;
        const size_t length = byte < 0x80 ? 1 : (byte >> 5) == 0x6 ? 2 : (byte >> 4) == 0xE ? 3 : (byte >> 3) == 0x1E ? 4 : 0;
        if (length == 0 || i + length > text.size())
            return false;
        for (size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        i += length;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view input = fuzz::asText(data, size);
    const std::optional<std::string> expected = expectedDigits(input);
    try {
        const std::string digits = cli::readNumberArgument("@" + fuzz::scratchFile(input));
        FUZZ_CHECK(expected && digits == *expected);
    } catch (const cli::BadInput& refusal) {
        FUZZ_CHECK(!expected);
        FUZZ_CHECK(oneLineOfUtf8(refusal.what()));
    }
    // Typed as an argument: digits only, and the same for the messages.
    const std::string typed(input.substr(0, input.find('\0')));
    if (!typed.empty() && typed[0] != '@' && typed != "-") {
        try {
            (void)cli::readNumberArgument(typed);
            FUZZ_CHECK(fuzz::plainDigits(typed) == typed);
        } catch (const cli::BadInput& refusal) {
            FUZZ_CHECK(oneLineOfUtf8(refusal.what()));
        }
    }
    FUZZ_CHECK(oneLineOfUtf8(cli::quotedText(input)));
    FUZZ_CHECK(oneLineOfUtf8(cli::oneLine(input)));
    return 0;
}
