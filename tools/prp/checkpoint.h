#pragma once
// The saved state of a long test and its file. The file is text: a magic
// line with the format version, what identifies the number and the test,
// the step reached, named values (counters and hex residues), and last a
// checksum of everything before it. Anything that does not match the test
// being run, or fails the checksum, is ignored, never trusted.
#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include <gmp.h>

namespace prp {

struct Checkpoint {
    uint64_t step = 0;
    std::map<std::string, std::string> values;

    void setCount(const std::string& name, uint64_t value);
    void setNumber(const std::string& name, mpz_srcptr value);
    bool getCount(const std::string& name, uint64_t& value) const;
    bool getNumber(const std::string& name, mpz_ptr value) const;
};

// Bit length, a 64-bit FNV-1a hash of all limbs, and the low limb.
std::string numberIdentity(mpz_srcptr n);

// The checkpoint file of one test of one number: "<number file>.ckpt".
// Disabled (no loading, no saving) when the interval is 0.
class CheckpointStore {
public:
    CheckpointStore(std::string numberFile, double intervalSeconds, std::string numberId, std::string test);

    bool enabled() const { return intervalSeconds_ > 0; }
    double intervalSeconds() const { return intervalSeconds_; }
    // True once the interval has passed since the start or the last save.
    bool due() const;

    // The saved state of this very test, or nothing (with a note on
    // standard error when a file was there but is not usable).
    std::optional<Checkpoint> load() const;
    void save(const Checkpoint& checkpoint);
    void remove() const;

    const std::string& path() const { return path_; }

private:
    std::string path_;
    double intervalSeconds_;
    std::string numberId_;
    std::string test_;
    double lastSave_;
};

}  // namespace prp
