#include "engine/decimal_text.h"

#include "engine/checked_integer.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <limits>
#include <thread>

namespace engine {

namespace {

// The blanks of the C locale's isspace, fixed here so that the reading does
// not change with the locale Qt sets at start-up.
bool isDecimalBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

struct DecimalShape {
    bool valid = false;
    bool hasBlanks = false;
    size_t signAt = 0;  // index of the "-" or of the first digit
};

DecimalShape decimalShape(std::string_view text)
{
    DecimalShape shape;
    size_t i = 0;
    while (i < text.size() && isDecimalBlank(text[i]))
        ++i;
    shape.hasBlanks = i > 0;
    shape.signAt = i;
    if (i < text.size() && text[i] == '-')
        ++i;
    if (i >= text.size() || text[i] < '0' || text[i] > '9')
        return shape;
    for (; i < text.size(); ++i) {
        if (isDecimalBlank(text[i]))
            shape.hasBlanks = true;
        else if (text[i] < '0' || text[i] > '9')
            return shape;
    }
    shape.valid = true;
    return shape;
}

std::string withoutBlanks(std::string_view text)
{
    std::string kept;
    kept.reserve(text.size());
    for (char c : text)
        if (!isDecimalBlank(c))
            kept.push_back(c);
    return kept;
}

}  // namespace

std::optional<std::string> readDecimalText(std::string_view text)
{
    const DecimalShape shape = decimalShape(text);
    if (!shape.valid)
        return std::nullopt;
    return shape.hasBlanks ? withoutBlanks(text) : std::string(text);
}

bool setFromDecimal(BigInt& x, const std::string& text)
{
    const DecimalShape shape = decimalShape(text);
    if (!shape.valid)
        return false;
    // GMP skips blanks too, but by the locale's isspace: the digits alone
    // leave it nothing to decide.
    const std::string cleaned = shape.hasBlanks ? withoutBlanks(text) : std::string();
    return mpz_set_str(x.get(), shape.hasBlanks ? cleaned.c_str() : text.c_str(), 10) == 0;
}

std::string toDecimal(const BigInt& x)
{
    // mpz_sizeinbase may overestimate by one; room for the sign and the NUL.
    std::string text(mpz_sizeinbase(x.get(), 10) + 2, '\0');
    mpz_get_str(text.data(), 10, x.get());
    text.resize(std::strlen(text.c_str()));
    return text;
}

std::string toDecimalInParallel(const BigInt& x)
{
    // Below this size the division costs more than the second core saves.
    constexpr size_t kSplitFromDigits = 200000;
    const size_t estimate = mpz_sizeinbase(x.get(), 10);
    if (estimate < kSplitFromDigits)
        return toDecimal(x);

    // |x| = high * 10^k + low with 0 <= low < 10^k; k is below the digit
    // count of |x| (the estimate is exact or one too large), so high > 0.
    const size_t k = estimate / 2;
    BigInt power, high, low, magnitude;
    mpz_abs(magnitude.get(), x.get());
    mpz_ui_pow_ui(power.get(), 10, k);
    mpz_tdiv_qr(high.get(), low.get(), magnitude.get(), power.get());

    std::string lowText;
    std::thread lowConversion([&] { lowText = toDecimal(low); });
    std::string text = toDecimal(high);
    lowConversion.join();

    const size_t highDigits = text.size();
    text.resize(highDigits + k, '0');
    std::memcpy(text.data() + highDigits + (k - lowText.size()), lowText.data(), lowText.size());
    if (mpz_sgn(x.get()) < 0)
        text.insert(text.begin(), '-');
    return text;
}

uint64_t decimalDigitCount(const BigInt& x)
{
    if (x.isZero())
        return 1;
    uint64_t estimate = mpz_sizeinbase(x.get(), 10);
    if (estimate <= 1)
        return estimate;
    // The estimate is exact or one too large; |x| < 10^(estimate-1) tells which.
    mpz_t bound, magnitude;
    mpz_init(bound);
    mpz_ui_pow_ui(bound, 10, estimate - 1);
    mpz_roinit_n(magnitude, x.get()->_mp_d, std::abs(x.get()->_mp_size));
    uint64_t digits = mpz_cmp(magnitude, bound) < 0 ? estimate - 1 : estimate;
    mpz_clear(bound);
    return digits;
}

size_t keepDigitBytes(char* text, size_t size)
{
    size_t kept = 0;
    for (size_t i = 0; i < size; ++i) {
        char c = text[i];
        if (static_cast<unsigned char>(c - '0') <= 9)
            text[kept++] = c;
    }
    return kept;
}

int64_t digitsFilter(std::string& text)
{
    text.resize(keepDigitBytes(text.data(), text.size()));
    return static_cast<int64_t>(text.size());
}

namespace {

size_t findIgnoringCase(const std::string& text, std::string_view pattern, size_t from)
{
    auto lower = [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); };
    auto it = std::search(text.begin() + static_cast<std::ptrdiff_t>(from), text.end(), pattern.begin(),
                          pattern.end(), [&](char a, char b) { return lower(a) == lower(b); });
    return it == text.end() ? std::string::npos : static_cast<size_t>(it - text.begin());
}

bool replaceOnePass(std::string& text, std::string_view pattern, std::string_view replacement)
{
    size_t at = findIgnoringCase(text, pattern, 0);
    if (at == std::string::npos)
        return false;
    std::string out;
    out.reserve(text.size());
    size_t copied = 0;
    while (at != std::string::npos) {
        out.append(text, copied, at - copied);
        out.append(replacement);
        copied = at + pattern.size();
        at = findIgnoringCase(text, pattern, copied);
    }
    out.append(text, copied, std::string::npos);
    text.swap(out);
    return true;
}

}  // namespace

std::string removeAll(std::string text, std::string_view pattern, std::string_view replacement)
{
    if (pattern.empty())
        return text;
    std::string replacementCopy(replacement);
    bool selfFeeding = findIgnoringCase(replacementCopy, pattern, 0) != std::string::npos;
    while (replaceOnePass(text, pattern, replacement) && !selfFeeding) {
    }
    return text;
}

int64_t leadingInteger(std::string_view text) { return readLeadingInteger(text).value; }

}  // namespace engine
