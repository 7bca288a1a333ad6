#include "arithmetic/sha256.h"

#include <stdexcept>

#include <openssl/evp.h>

namespace arithmetic {

Sha256::Sha256() : context_(EVP_MD_CTX_new())
{
    if (!context_ || EVP_DigestInit_ex(context_, EVP_sha256(), nullptr) != 1) {
        EVP_MD_CTX_free(context_);
        throw std::runtime_error("SHA-256 is not available from libcrypto");
    }
}

Sha256::~Sha256() { EVP_MD_CTX_free(context_); }

void Sha256::update(std::string_view bytes) { EVP_DigestUpdate(context_, bytes.data(), bytes.size()); }

void Sha256::update(const Sha256Digest& digest) { EVP_DigestUpdate(context_, digest.data(), digest.size()); }

Sha256Digest Sha256::finish()
{
    Sha256Digest digest{};
    unsigned int size = 0;
    EVP_DigestFinal_ex(context_, digest.data(), &size);
    return digest;
}

Sha256Digest sha256(std::string_view bytes)
{
    Sha256 hash;
    hash.update(bytes);
    return hash.finish();
}

std::string hexDigest(const Sha256Digest& digest)
{
    static constexpr char kHex[] = "0123456789abcdef";
    std::string text;
    for (unsigned char byte : digest) {
        text.push_back(kHex[byte >> 4]);
        text.push_back(kHex[byte & 15]);
    }
    return text;
}

}  // namespace arithmetic
