#include "storage/divisor_cache.h"

#include <cstdint>
#include <cstring>
#include <string_view>

#include "storage/atomic_file.h"
#include "storage/whole_file.h"

namespace storage {

namespace {

constexpr std::string_view kMagic = "QDDIVPR1";
constexpr size_t kCountBytes = 8;

uint64_t fnv1a(std::string_view bytes)
{
    uint64_t hash = 14695981039346656037ull;
    for (unsigned char byte : bytes) {
        hash ^= byte;
        hash *= 1099511628211ull;
    }
    return hash;
}

void appendCount(std::string& out, uint64_t value)
{
    for (size_t i = 0; i < kCountBytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xff);
}

uint64_t countAt(std::string_view bytes, size_t at)
{
    uint64_t value = 0;
    for (size_t i = 0; i < kCountBytes; ++i)
        value |= static_cast<uint64_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
    return value;
}

}  // namespace

bool writeDivisorCache(const std::string& path, const engine::DivisorProducts& products, std::string* error)
{
    std::string content(kMagic);
    for (const engine::BigInt& d : products.d) {
        const size_t bytes = (mpz_sizeinbase(d.get(), 2) + 7) / 8;
        const size_t at = content.size() + kCountBytes;
        appendCount(content, bytes);
        content.resize(at + bytes);
        size_t written = 0;
        mpz_export(content.data() + at, &written, 1, 1, 1, 0, d.get());
        if (written != bytes)  // the products are never zero, which would export none
            return false;
    }
    appendCount(content, fnv1a(content));
    return writeFileAtomically(path, content, error);
}

std::optional<engine::DivisorProducts> readDivisorCache(const std::string& path)
{
    std::string content;
    if (readWholeFile(path, content) != FileReadStatus::Read)
        return std::nullopt;
    const std::string_view bytes(content);
    if (bytes.size() < kMagic.size() + kCountBytes || bytes.substr(0, kMagic.size()) != kMagic)
        return std::nullopt;
    const size_t hashAt = bytes.size() - kCountBytes;
    if (fnv1a(bytes.substr(0, hashAt)) != countAt(bytes, hashAt))
        return std::nullopt;
    engine::DivisorProducts products;
    size_t at = kMagic.size();
    for (engine::BigInt& d : products.d) {
        if (hashAt - at < kCountBytes)
            return std::nullopt;
        const uint64_t count = countAt(bytes, at);
        at += kCountBytes;
        if (count > hashAt - at)
            return std::nullopt;
        mpz_import(d.get(), count, 1, 1, 1, 0, bytes.data() + at);
        at += count;
    }
    if (at != hashAt)
        return std::nullopt;
    return products;
}

}  // namespace storage
