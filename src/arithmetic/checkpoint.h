#pragma once
// The saved state of a long test, and the store that keeps it. The loops
// decide what a state holds (a step and named values: counters in decimal,
// residues in hex); where and how it is kept is the caller's (the tester
// keeps it in a file beside the number file).
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include <gmp.h>

namespace arithmetic {

struct Checkpoint {
    uint64_t step = 0;
    std::map<std::string, std::string> values;

    void setCount(const std::string& name, uint64_t value);
    void setNumber(const std::string& name, mpz_srcptr value);
    [[nodiscard]] bool getCount(const std::string& name, uint64_t& value) const;
    [[nodiscard]] bool getNumber(const std::string& name, mpz_ptr value) const;
};

// Bit length, a 64-bit FNV-1a hash of all limbs, and the low limb: what
// tells a state of this number from one of another.
std::string numberIdentity(mpz_srcptr n);

// A residue's fingerprint together with where it stands (its block or
// iteration), as 16 hex digits: taken when a check has just verified the
// residue, kept beside it in memory and in checkpoints, and compared before
// the residue is used again. A value changed in between (in a register, in
// a checkpoint's text, by a writer's fault) no longer matches.
std::string residueFingerprint(uint64_t position, mpz_srcptr residue);
// The same for a text (a record kept beside the states).
std::string textFingerprint(const std::string& text);

// The text form of a state: a magic line with the format version, the
// number's identity, the test, the step, the named values, and last a
// checksum (textFingerprint) of everything before it.
std::string checkpointText(const Checkpoint& checkpoint, const std::string& numberId, const std::string& test);

// Every text of a checkpoint starts with this, then the format version.
constexpr const char* kCheckpointMagic = "quendrolt prp checkpoint ";
// The version checkpointText writes. Version 1 kept residues that no check
// had covered (the start of a Gerbicz period, a Lucas-Lehmer term) without
// their fingerprints: such a state cannot be told from a damaged one, so it
// is refused (OlderVersion) and the test starts over.
constexpr int kCheckpointVersion = 2;

struct CheckpointReading {
    enum class Result { Usable, Damaged, OlderVersion, OtherNumber, NoStep };
    Result result = Result::Damaged;
    std::string test;       // the test the text names, when Usable
    Checkpoint checkpoint;  // when Usable
};

// Reads a text written by checkpointText back, for this number only;
// anything else is refused with the reason. Which test the state belongs to
// is the caller's to compare.
CheckpointReading readCheckpointText(const std::string& text, const std::string& numberId);

// The saved states of one test of one number.
class CheckpointStore {
public:
    virtual ~CheckpointStore() = default;

    // Seconds between saves; 0 when states are neither saved nor read.
    virtual double intervalSeconds() const = 0;
    bool enabled() const { return intervalSeconds() > 0; }
    // True when a save is due after this step: once the interval has passed
    // since the start or the last save.
    virtual bool due(uint64_t step) const = 0;
    // True when a saved state may be there to resume from.
    virtual bool holdsState() const = 0;
    // The saved state of this very test, or nothing (the store says why
    // when something was there but is not usable).
    virtual std::optional<Checkpoint> load() = 0;
    // False when the state could not be kept (the store says why).
    virtual bool save(const Checkpoint& checkpoint) = 0;
    // How notes name the store ("<number file>.ckpt").
    virtual std::string name() const = 0;
    // A finished test leaves its last state in the store: what becomes of
    // it (removed, or kept beside the results of a run of several tests) is
    // the store owner's decision.
};

// Opens the store of one test ("fermat base 3", "lucas-lehmer q 86243") of
// the number with that identity.
using CheckpointOpener =
    std::function<std::unique_ptr<CheckpointStore>(const std::string& numberId, const std::string& test)>;

// A store that keeps nothing: for runs without checkpoints.
std::unique_ptr<CheckpointStore> noCheckpoints();

}  // namespace arithmetic
