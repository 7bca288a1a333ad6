#pragma once
// The tester's checkpoints: one text file beside the number file,
// "<number file>.ckpt", written atomically. The file holds a magic line with
// the format version, what identifies the number and the test, the step
// reached, the named values of the state, and last a checksum of everything
// before it. Anything that does not match the test being run, or fails the
// checksum, is ignored with a note, never trusted.
#include <string>

#include "arithmetic/checkpoint.h"

namespace prp {

class CheckpointFile final : public arithmetic::CheckpointStore {
public:
    // Disabled (no loading, no saving) when the interval is 0.
    CheckpointFile(std::string numberFile, double intervalSeconds, std::string numberId, std::string test);

    double intervalSeconds() const override { return intervalSeconds_; }
    bool due() const override;
    bool holdsState() const override;
    std::optional<arithmetic::Checkpoint> load() override;
    void save(const arithmetic::Checkpoint& checkpoint) override;
    void remove() override;
    std::string name() const override { return path_; }

    const std::string& path() const { return path_; }

private:
    std::string path_;
    double intervalSeconds_;
    std::string numberId_;
    std::string test_;
    double lastSave_;
};

// The opener the long tests take: checkpoints beside numberFile every
// intervalSeconds (0: none).
arithmetic::CheckpointOpener checkpointFilesBeside(const std::string& numberFile, double intervalSeconds);

}  // namespace prp
