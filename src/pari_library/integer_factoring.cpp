#include <cstdlib>

#include <pari/pari.h>

#include "pari_library/integer_factoring.h"
#include "pari_library/pari_session_internal.h"

namespace pari_library {

std::vector<std::string> factorCompletely(const std::string& digits)
{
    internal::ensureStarted();
    OutputLines dropped;
    internal::OutputCapture capture(dropped);

    const char* number = digits.c_str();
    char** texts = nullptr;
    long count = 0;
    auto body = [&] {
        GEN matrix = factorint(strtoi(number), 0);
        GEN primes = gel(matrix, 1), exponents = gel(matrix, 2);
        long total = 0;
        for (long i = 1; i < lg(primes); ++i)
            total += itos(gel(exponents, i));
        texts = static_cast<char**>(std::calloc(static_cast<size_t>(total > 0 ? total : 1), sizeof(char*)));
        for (long i = 1; i < lg(primes); ++i) {
            char* prime = GENtostr(gel(primes, i));
            for (long k = itos(gel(exponents, i)); k > 0; --k)
                texts[count++] = internal::copyOut(prime);
        }
    };
    std::optional<internal::CaughtError> error = internal::caught(body);
    std::vector<std::string> primes;
    for (long i = 0; i < count; ++i) {
        primes.emplace_back(texts[i]);
        std::free(texts[i]);
    }
    std::free(texts);
    if (error)
        throw PariError(error->message);
    return primes;
}

}  // namespace pari_library
