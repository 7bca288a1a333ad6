#include "arithmetic/proof_file.h"

#include <charconv>

#include "arithmetic/proof_challenges.h"

namespace arithmetic {

namespace {

constexpr std::string_view kMagicLine = "quendrolt fermat proof 1\n";
constexpr std::string_view kResiduesLine = "residues\n";
constexpr std::string_view kChecksumKey = "sha256 ";
constexpr size_t kChecksumLineBytes = kChecksumKey.size() + 64 + 1;

// Reads "key value\n" at `at`; false when the line is not that.
bool readLine(std::string_view bytes, size_t& at, std::string_view key, std::string_view& value)
{
    size_t end = bytes.find('\n', at);
    if (end == std::string_view::npos)
        return false;
    std::string_view line = bytes.substr(at, end - at);
    if (!line.starts_with(key) || line.size() <= key.size() || line[key.size()] != ' ')
        return false;
    value = line.substr(key.size() + 1);
    at = end + 1;
    return true;
}

bool readCount(std::string_view bytes, size_t& at, std::string_view key, uint64_t& count)
{
    std::string_view value;
    if (!readLine(bytes, at, key, value))
        return false;
    auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), count);
    return error == std::errc() && end == value.data() + value.size();
}

FermatProofReading problem(std::string text)
{
    FermatProofReading reading;
    reading.problem = std::move(text);
    return reading;
}

}  // namespace

std::string fermatProofBytes(const PoweringProof& proof, const std::string& numberId, size_t residueBytesEach)
{
    std::string bytes(kMagicLine);
    bytes += "number " + numberId + "\n";
    bytes += "base " + std::to_string(proof.base) + "\n";
    bytes += "power " + std::to_string(proof.power) + "\n";
    bytes += "residue-bytes " + std::to_string(residueBytesEach) + "\n";
    bytes += kResiduesLine;
    bytes += residueBytes(proof.result.get(), residueBytesEach);
    for (const BigInt& mu : proof.midpoints)
        bytes += residueBytes(mu.get(), residueBytesEach);
    bytes += std::string(kChecksumKey) + hexDigest(sha256(bytes)) + "\n";
    return bytes;
}

FermatProofReading readFermatProof(std::string_view bytes)
{
    if (!bytes.starts_with(kMagicLine))
        return problem(kMagicLine.starts_with(bytes) ? "the file is truncated" : "it is not a proof file of a Fermat test");
    size_t at = kMagicLine.size();
    std::string_view numberId;
    uint64_t base = 0, power = 0, width = 0;
    bool header = readLine(bytes, at, "number", numberId) && readCount(bytes, at, "base", base) &&
                  readCount(bytes, at, "power", power) && readCount(bytes, at, "residue-bytes", width) &&
                  bytes.substr(at).starts_with(kResiduesLine);
    if (!header)
        return problem(bytes.find(kResiduesLine) == std::string_view::npos ? "the file is truncated"
                                                                           : "the file's header is damaged");
    at += kResiduesLine.size();
    if (power < kMinProofPower || power > kMaxProofPower || width == 0 || width > bytes.size())
        return problem("the file's header is damaged");
    uint64_t residuesEnd = at + (power + 1) * width;
    if (bytes.size() < residuesEnd + kChecksumLineBytes)
        return problem("the file is truncated");
    if (bytes.size() > residuesEnd + kChecksumLineBytes)
        return problem("the file has bytes after its end");
    std::string_view checksum = bytes.substr(residuesEnd);
    if (!checksum.starts_with(kChecksumKey) || checksum.back() != '\n' ||
        checksum.substr(kChecksumKey.size(), 64) != hexDigest(sha256(bytes.substr(0, residuesEnd))))
        return problem("the file is damaged: its checksum does not match");

    FermatProofReading reading;
    reading.ok = true;
    reading.numberId = std::string(numberId);
    reading.proof.base = base;
    reading.proof.power = static_cast<unsigned>(power);
    auto residueAt = [&](uint64_t index, mpz_ptr value) {
        mpz_import(value, width, 1, 1, 1, 0, bytes.data() + at + index * width);
    };
    residueAt(0, reading.proof.result.get());
    for (uint64_t i = 1; i <= power; ++i) {
        reading.proof.midpoints.emplace_back();
        residueAt(i, reading.proof.midpoints.back().get());
    }
    return reading;
}

}  // namespace arithmetic
