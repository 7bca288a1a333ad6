// Decimal text: setFromDecimal, canonicalDecimal and GMP on the digits read
// the same number, and the views of a number match its full text.
#include <gmp.h>

#include "engine/decimal_text.h"
#include "engine/decimal_views.h"
#include "fuzz_support.h"

namespace {

void checkViews(const engine::BigInt& x)
{
    const std::string full = engine::toDecimal(x);
    FUZZ_CHECK(engine::decimalLength(x) == full.size());
    FUZZ_CHECK(engine::headDotsTail(x) == engine::headDotsTail(std::string_view(full)));
    const engine::ViewAndLength both = engine::viewAndLength(x);
    FUZZ_CHECK(both.length == full.size() && both.view == engine::headDotsTail(std::string_view(full)));
    uint64_t length = 0;
    FUZZ_CHECK(engine::leadingText(x, 50, &length) == full.substr(0, 50) && length == full.size());
    FUZZ_CHECK(engine::toDecimalInParallel(x) == full);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(fuzz::asText(data, size));
    engine::BigInt x;
    const bool read = engine::setFromDecimal(x, text);
    const std::string canonical = engine::canonicalDecimal(text);
    FUZZ_CHECK(canonical == (read ? engine::toDecimal(x) : std::string("0")));
    FUZZ_CHECK(read == engine::readDecimalText(text).has_value());
    if (!read)
        return 0;

    // GMP on the sign and the digits alone, with nothing left for it to skip.
    const bool negative = text.find('-') != std::string::npos;
    const std::string digits = (negative ? "-" : "") + fuzz::plainDigits(text);
    engine::BigInt plain;
    FUZZ_CHECK(mpz_set_str(plain.get(), digits.c_str(), 10) == 0);
    FUZZ_CHECK(mpz_cmp(plain.get(), x.get()) == 0);
    checkViews(x);
    return 0;
}
