#pragma once
// base.div: the three divisor products as decimal lines joined by LF, no
// line end after the third. Kept between starts so that a start reads the
// products instead of building them.
#include <array>
#include <optional>
#include <string>

#include "engine/divisor_products.h"

namespace storage {

inline constexpr const char* kDivisorFileName = "base.div";

// Writes the three texts. False when the file cannot be written completely;
// any old file then stays as it was, and *error says why.
[[nodiscard]] bool writeDivisorFile(const std::string& path, const std::array<std::string, 3>& texts,
                                    std::string* error = nullptr);

// Reads the file and converts its three lines in parallel. Nothing when the
// file cannot be read or a line is not a decimal number.
[[nodiscard]] std::optional<engine::DivisorProducts> readDivisorFile(const std::string& path);

}  // namespace storage
