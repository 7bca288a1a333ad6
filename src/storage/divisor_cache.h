#pragma once
// The divisor products in binary, for programs that read them at every run
// (quendrolt-cli keeps them in its data directory): "QDDIVPR1", then per
// product its byte count (8 bytes, little-endian) and its bytes (most
// significant first), then an FNV-1a hash of everything before it. Reading
// takes milliseconds where base.div's decimal lines take a conversion.
#include <optional>
#include <string>

#include "engine/divisor_products.h"

namespace storage {

inline constexpr const char* kDivisorCacheName = "divisor-products.bin";

// Written atomically: a failed write leaves the old file; *error says why.
[[nodiscard]] bool writeDivisorCache(const std::string& path, const engine::DivisorProducts& products,
                                     std::string* error = nullptr);

// Nothing when the file is missing, unreadable, cut short, foreign, or its
// hash does not match: the caller then builds the products again.
[[nodiscard]] std::optional<engine::DivisorProducts> readDivisorCache(const std::string& path);

}  // namespace storage
