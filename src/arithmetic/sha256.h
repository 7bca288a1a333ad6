#pragma once
// SHA-256 from OpenSSL's libcrypto: the challenges of the powering proofs
// and the checksum of their files.
#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

struct evp_md_ctx_st;

namespace arithmetic {

using Sha256Digest = std::array<unsigned char, 32>;

class Sha256 {
public:
    Sha256();  // throws std::runtime_error when libcrypto has no SHA-256
    ~Sha256();
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    void update(std::string_view bytes);
    void update(const Sha256Digest& digest);
    Sha256Digest finish();

private:
    evp_md_ctx_st* context_;
};

Sha256Digest sha256(std::string_view bytes);
std::string hexDigest(const Sha256Digest& digest);

}  // namespace arithmetic
