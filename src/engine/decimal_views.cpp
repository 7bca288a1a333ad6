#include "engine/decimal_views.h"

#include "engine/decimal_text.h"

namespace engine {

namespace {

// Numbers up to this many bits (about 600 digits) are simply converted.
constexpr size_t kConvertWholeBits = 2000;

// |x| as a read-only view, so that the sign never reaches the divisions.
struct Magnitude {
    explicit Magnitude(const engine::BigInt& x)
    {
        mpz_srcptr v = x.get();
        mpz_roinit_n(value, v->_mp_d, v->_mp_size < 0 ? -v->_mp_size : v->_mp_size);
    }
    mpz_t value;
};

// The first digits of |x| (between keep + 1 and keep + 2 of them, at least
// `keep`) and the digit count of |x|. floor(|x| / 10^k) is found as
// floor((|x| >> k) / 5^k): one power of five, one division with a short quotient.
std::string leadingDigits(const engine::BigInt& x, size_t keep, uint64_t& digitCount)
{
    Magnitude magnitude(x);
    const uint64_t estimate = mpz_sizeinbase(magnitude.value, 10);  // the count or one more
    const uint64_t k = estimate > keep + 2 ? estimate - keep - 2 : 0;
    engine::BigInt quotient, power;
    mpz_tdiv_q_2exp(quotient.get(), magnitude.value, k);
    mpz_ui_pow_ui(power.get(), 5, k);
    mpz_tdiv_q(quotient.get(), quotient.get(), power.get());
    std::string head = engine::toDecimal(quotient);
    digitCount = k + head.size();
    return head;
}

std::string trailingDigits(const engine::BigInt& x, size_t count)
{
    engine::BigInt power, rest;
    mpz_ui_pow_ui(power.get(), 10, count);
    Magnitude magnitude(x);
    mpz_tdiv_r(rest.get(), magnitude.value, power.get());
    std::string tail = engine::toDecimal(rest);
    tail.insert(0, count - tail.size(), '0');
    return tail;
}

bool small(const engine::BigInt& x) { return mpz_sizeinbase(x.get(), 2) <= kConvertWholeBits; }

}  // namespace

std::string headDotsTail(std::string_view text)
{
    if (text.size() <= kFullViewLimit)
        return std::string(text);
    std::string view(text.substr(0, kViewEnd));
    view += "...";
    view += text.substr(text.size() - kViewEnd);
    return view;
}

std::string headDotsTail(const engine::BigInt& x) { return viewAndLength(x).view; }

ViewAndLength viewAndLength(const engine::BigInt& x)
{
    if (small(x)) {
        std::string text = engine::toDecimal(x);
        return {headDotsTail(text), text.size()};
    }
    // Large numbers have far more than 83 characters.
    const bool negative = mpz_sgn(x.get()) < 0;
    uint64_t digits = 0;
    std::string head = leadingDigits(x, kViewEnd, digits);
    ViewAndLength result;
    if (negative)
        result.view.push_back('-');
    result.view.append(head, 0, kViewEnd - negative);
    result.view.append("...");
    result.view.append(trailingDigits(x, kViewEnd));
    result.length = digits + negative;
    return result;
}

uint64_t decimalLength(const engine::BigInt& x)
{
    return engine::decimalDigitCount(x) + (mpz_sgn(x.get()) < 0 ? 1 : 0);
}

std::string leadingText(const engine::BigInt& x, size_t count, uint64_t* length)
{
    std::string text;
    if (small(x)) {
        text = engine::toDecimal(x);
        if (length)
            *length = text.size();
    } else {
        const bool negative = mpz_sgn(x.get()) < 0;
        uint64_t digits = 0;
        if (negative)
            text.push_back('-');
        text.append(leadingDigits(x, count, digits));
        if (length)
            *length = digits + negative;
    }
    if (text.size() > count)
        text.resize(count);
    return text;
}

std::string canonicalDecimal(std::string_view text)
{
    const std::optional<std::string> read = engine::readDecimalText(text);
    if (!read)
        return "0";
    const bool negative = read->front() == '-';
    const size_t firstNonZero = read->find_first_not_of('0', negative ? 1 : 0);
    if (firstNonZero == std::string::npos)
        return "0";
    std::string canonical;
    canonical.reserve(read->size() - firstNonZero + 1);
    if (negative)
        canonical.push_back('-');
    canonical.append(*read, firstNonZero);
    return canonical;
}

}  // namespace engine
