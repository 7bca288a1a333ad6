#pragma once
// The tester's checkpoints: one text file beside the number file,
// "<number file>.ckpt", written atomically, shared by the tests of one run.
// It holds the state of the test in progress (arithmetic/checkpoint.h: a
// magic line with the format version, the number's identity, the test, the
// step, the named values, a checksum) and, in a run of several bases, the
// bases already passed, so that a rerun neither repeats them nor throws
// the state away.
//
// What it will and will not touch:
//  - a file it cannot read (no permission, a directory in its place) is
//    left alone: the run goes on without checkpoints and says why;
//  - one it read and found damaged, older, or of another number or test may
//    be replaced;
//  - at the end of the run it removes only a file it wrote or read as a
//    tester checkpoint;
//  - a failed write is noted once per reason, with the system's reason.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "arithmetic/checkpoint.h"

namespace prp {

struct CheckpointInterval {
    double seconds = 0;                  // 0: no checkpoints at all
    std::optional<uint64_t> everySteps;  // test-only: instead of the seconds
};

class CheckpointFile {
public:
    CheckpointFile(std::string numberFile, CheckpointInterval interval, std::string numberId);

    // The store of one test of this run ("fermat base 3"), for
    // LongRunSettings::checkpoints.
    arithmetic::CheckpointOpener opener();

    // True when an earlier run recorded this base as passed.
    bool basePassed(unsigned long base);
    // Records a base as passed, at once: the file then holds the record and
    // no test state.
    void recordPassedBase(unsigned long base);

    // The run is over: removes the file when the tester wrote it or read it
    // as one of its own.
    void finish();

    const std::string& path() const { return path_; }
    // Checkpoints are written (the interval is not 0 and nothing unreadable
    // is in the way).
    bool enabled();

    // For the stores of the tests.
    double intervalSeconds();
    bool due(uint64_t step) const;
    bool holdsStateOf(const std::string& test);
    std::optional<arithmetic::Checkpoint> takeStateOf(const std::string& test);
    bool write(const std::string& test, const arithmetic::Checkpoint& state);

private:
    void readOnce();
    void takeRecord(arithmetic::Checkpoint& state);

    std::string path_;
    CheckpointInterval interval_;
    std::string numberId_;
    bool read_ = false;
    bool handsOff_ = false;  // there but unreadable: never written or removed
    bool ours_ = false;      // written by this run, or read as a tester checkpoint
    std::string savedTest_;  // the test whose state the file holds; empty: none
    std::optional<arithmetic::Checkpoint> savedState_;
    std::vector<unsigned long> passedBases_;
    std::string lastWriteError_;
    double lastSave_;
};

}  // namespace prp
