#include "engine/divisor_products.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <thread>
#include <vector>

#include "engine/decimal_text.h"

namespace engine {

namespace {

// Product of primes[first, last) by a balanced tree: each level multiplies
// numbers of equal size, so GMP's fast multiplication does the heavy work.
void productTree(const std::vector<unsigned>& primes, size_t first, size_t last, mpz_ptr out)
{
    if (last - first <= 16) {
        mpz_set_ui(out, 1);
        for (size_t i = first; i < last; ++i)
            mpz_mul_ui(out, out, primes[i]);
        return;
    }
    size_t middle = first + (last - first) / 2;
    BigInt right;
    productTree(primes, first, middle, out);
    productTree(primes, middle, last, right.get());
    mpz_mul(out, out, right.get());
}

// Regular files only: a directory or a device in the file's place is no file.
bool readWholeFile(const std::string& path, std::string& content)
{
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info {};
    bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    if (ok) {
        content.resize(static_cast<size_t>(info.st_size));
        size_t done = 0;
        while (done < content.size()) {
            ssize_t n = ::read(fd, content.data() + done, content.size() - done);
            if (n <= 0)
                break;
            done += static_cast<size_t>(n);
        }
        content.resize(done);
    }
    ::close(fd);
    return ok;
}

template <typename Work>
void inParallel(Work work)
{
    std::thread second([&] { work(1); });
    std::thread third([&] { work(2); });
    work(0);
    second.join();
    third.join();
}

}  // namespace

std::vector<unsigned> firstPrimes(size_t count)
{
    std::vector<unsigned> primes;
    primes.reserve(count);
    size_t limit = 64;
    while (primes.size() < count) {
        primes.clear();
        limit *= 2;
        std::vector<bool> composite(limit + 1, false);
        for (size_t p = 2; p <= limit && primes.size() < count; ++p) {
            if (composite[p])
                continue;
            primes.push_back(static_cast<unsigned>(p));
            for (size_t q = p * p; q <= limit; q += p)
                composite[q] = true;
        }
    }
    return primes;
}

void buildDivisorProducts(DivisorProducts& out, const std::array<size_t, 3>& rankEnds)
{
    std::vector<unsigned> primes = firstPrimes(rankEnds[2]);
    size_t starts[3] = {0, rankEnds[0], rankEnds[1]};
    inParallel([&](int i) { productTree(primes, starts[i], rankEnds[static_cast<size_t>(i)], out.d[i].get()); });
}

void buildDivisorProductsLiterally(DivisorProducts& out, const std::array<size_t, 3>& rankEnds)
{
    BigInt p(2UL);
    size_t rank = 1;
    for (int i = 0; i < 3; ++i) {
        out.d[i].set(1UL);
        for (; rank <= rankEnds[static_cast<size_t>(i)]; ++rank) {
            mpz_mul(out.d[i].get(), out.d[i].get(), p.get());
            mpz_nextprime(p.get(), p.get());
        }
    }
}

std::array<std::string, 3> divisorTexts(const DivisorProducts& products)
{
    std::array<std::string, 3> texts;
    inParallel([&](int i) { texts[static_cast<size_t>(i)] = toDecimal(products.d[i]); });
    return texts;
}

bool writeDivisorFile(const std::string& path, const std::array<std::string, 3>& texts)
{
    // Written beside the target and renamed, so an interrupted start never
    // leaves a truncated file that later starts would read as valid.
    std::string temporary = path + ".part";
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file)
        return false;
    bool ok = std::fwrite(texts[0].data(), 1, texts[0].size(), file) == texts[0].size() &&
              std::fputc('\n', file) != EOF &&
              std::fwrite(texts[1].data(), 1, texts[1].size(), file) == texts[1].size() &&
              std::fputc('\n', file) != EOF &&
              std::fwrite(texts[2].data(), 1, texts[2].size(), file) == texts[2].size();
    ok = (std::fclose(file) == 0) && ok;
    if (ok)
        ok = std::rename(temporary.c_str(), path.c_str()) == 0;
    if (!ok)
        std::remove(temporary.c_str());
    return ok;
}

bool readDivisorFile(const std::string& path, DivisorProducts& out)
{
    std::string content;
    if (!readWholeFile(path, content))
        return false;
    std::array<std::string, 3> lines;
    size_t from = 0;
    for (size_t i = 0; i < 3; ++i) {
        size_t end = i < 2 ? content.find('\n', from) : std::string::npos;
        lines[i] = content.substr(from, end == std::string::npos ? std::string::npos : end - from);
        from = end == std::string::npos ? content.size() : end + 1;
    }
    inParallel([&](int i) { setFromDecimal(out.d[i], lines[static_cast<size_t>(i)]); });
    return true;
}

}  // namespace engine
