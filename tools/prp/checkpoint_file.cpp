#include "checkpoint_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

#include "progress.h"
#include "storage/atomic_file.h"
#include "storage/whole_file.h"

namespace prp {

namespace {

using arithmetic::Checkpoint;

// The record of passed bases: "passed-bases 5,7" and a fingerprint of it
// with the number's identity, taken when a base passes.
constexpr const char* kPassedBases = "passed-bases";
constexpr const char* kPassedFingerprint = "passed-fingerprint";
// The test line of a file that holds only the record.
constexpr const char* kNoTest = "none";

double monotonicSeconds()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

std::string baseList(const std::vector<unsigned long>& bases)
{
    std::string list;
    for (unsigned long base : bases) {
        if (!list.empty())
            list.push_back(',');
        list.append(std::to_string(base));
    }
    return list;
}

std::optional<std::vector<unsigned long>> parseBaseList(const std::string& list)
{
    std::vector<unsigned long> bases;
    size_t at = 0;
    while (at < list.size()) {
        size_t end = std::min(list.find(',', at), list.size());
        std::string item = list.substr(at, end - at);
        if (item.empty() || item.find_first_not_of("0123456789") != std::string::npos || item.size() > 10)
            return std::nullopt;
        bases.push_back(std::stoul(item));
        at = end + 1;
    }
    return bases;
}

std::string recordFingerprint(const std::string& numberId, const std::string& list)
{
    return arithmetic::textFingerprint(numberId + " passed " + list);
}

// The store of one test: everything goes through the run's file.
class TestCheckpoints final : public arithmetic::CheckpointStore {
public:
    TestCheckpoints(CheckpointFile& file, std::string test) : file_(file), test_(std::move(test)) {}

    double intervalSeconds() const override { return file_.intervalSeconds(); }
    bool due(uint64_t step) const override { return file_.due(step); }
    bool holdsState() const override { return file_.holdsStateOf(test_); }
    std::optional<Checkpoint> load() override { return file_.takeStateOf(test_); }
    bool save(const Checkpoint& checkpoint) override { return file_.write(test_, checkpoint); }
    std::string name() const override { return file_.path(); }

private:
    CheckpointFile& file_;
    std::string test_;
};

}  // namespace

CheckpointFile::CheckpointFile(std::string numberFile, CheckpointInterval interval, std::string numberId)
    : path_(std::move(numberFile) + ".ckpt"),
      interval_(interval),
      numberId_(std::move(numberId)),
      lastSave_(monotonicSeconds())
{
}

arithmetic::CheckpointOpener CheckpointFile::opener()
{
    return [this](const std::string&, const std::string& test) {
        return std::make_unique<TestCheckpoints>(*this, test);
    };
}

bool CheckpointFile::enabled()
{
    if (interval_.seconds <= 0)
        return false;
    readOnce();
    return !handsOff_;
}

double CheckpointFile::intervalSeconds()
{
    if (!enabled())
        return 0;
    // A step interval (tests) makes every test long enough to checkpoint.
    return interval_.everySteps ? 1e-9 : interval_.seconds;
}

bool CheckpointFile::due(uint64_t step) const
{
    if (interval_.everySteps)
        return step > 0 && step % *interval_.everySteps == 0;
    // Asked after every step: the clock is read on every 64th only.
    return step % 64 == 0 && monotonicSeconds() - lastSave_ >= interval_.seconds;
}

bool CheckpointFile::holdsStateOf(const std::string& test)
{
    return enabled() && savedState_ && savedTest_ == test;
}

std::optional<Checkpoint> CheckpointFile::takeStateOf(const std::string& test)
{
    if (!enabled() || !savedState_)
        return std::nullopt;
    if (savedTest_ != test) {
        note("Checkpoint %s belongs to another test (%s): ignored, starting from the beginning", path_.c_str(),
             savedTest_.c_str());
        savedState_.reset();
        return std::nullopt;
    }
    std::optional<Checkpoint> state = std::move(savedState_);
    savedState_.reset();
    return state;
}

bool CheckpointFile::basePassed(unsigned long base)
{
    if (!enabled())
        return false;
    for (unsigned long passed : passedBases_)
        if (passed == base)
            return true;
    return false;
}

void CheckpointFile::recordPassedBase(unsigned long base)
{
    if (!enabled())
        return;
    passedBases_.push_back(base);
    savedState_.reset();
    write(kNoTest, Checkpoint{});
}

bool CheckpointFile::write(const std::string& test, const Checkpoint& state)
{
    if (!enabled())
        return false;
    lastSave_ = monotonicSeconds();
    Checkpoint withRecord = state;
    if (!passedBases_.empty()) {
        std::string list = baseList(passedBases_);
        withRecord.values[kPassedFingerprint] = recordFingerprint(numberId_, list);
        withRecord.values[kPassedBases] = std::move(list);
    }
    std::string error;
    if (!storage::writeFileAtomically(path_, arithmetic::checkpointText(withRecord, numberId_, test), &error)) {
        if (error.empty())
            error = "unknown reason";
        if (error != lastWriteError_)
            note("Cannot write the checkpoint %s (%s): the test goes on without it", path_.c_str(), error.c_str());
        lastWriteError_ = error;
        return false;
    }
    if (!lastWriteError_.empty())
        note("Checkpoint %s written again", path_.c_str());
    lastWriteError_.clear();
    ours_ = true;
    return true;
}

void CheckpointFile::finish()
{
    if (interval_.seconds <= 0 || !read_ || handsOff_ || !ours_)
        return;
    struct stat info {};
    if (::lstat(path_.c_str(), &info) == 0 && (S_ISREG(info.st_mode) || S_ISLNK(info.st_mode)))
        ::unlink(path_.c_str());
}

void CheckpointFile::readOnce()
{
    if (read_)
        return;
    read_ = true;
    struct stat info {};
    if (::stat(path_.c_str(), &info) != 0) {
        if (errno != ENOENT) {
            handsOff_ = true;
            note("Checkpoint %s cannot be read (%s): the test runs without checkpoints and leaves it as it is",
                 path_.c_str(), std::strerror(errno));
        }
        return;
    }
    std::string text;
    storage::FileReadStatus status = storage::FileReadStatus::CannotOpen;
    int fd = ::open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    const char* reason = fd < 0 ? std::strerror(errno) : nullptr;
    if (fd >= 0) {
        ::close(fd);
        status = storage::readWholeFile(path_, text);
        if (status != storage::FileReadStatus::Read)
            reason = storage::describe(status);
    }
    if (reason) {
        handsOff_ = true;
        note("Checkpoint %s cannot be read (%s): the test runs without checkpoints and leaves it as it is",
             path_.c_str(), reason);
        return;
    }

    using Result = arithmetic::CheckpointReading::Result;
    ours_ = text.starts_with(arithmetic::kCheckpointMagic);
    arithmetic::CheckpointReading reading = arithmetic::readCheckpointText(text, numberId_);
    switch (reading.result) {
    case Result::Usable:
        takeRecord(reading.checkpoint);
        if (reading.test != kNoTest) {
            savedTest_ = reading.test;
            savedState_ = std::move(reading.checkpoint);
        }
        return;
    case Result::Damaged:
        note("Checkpoint %s is damaged or incomplete: ignored, starting from the beginning", path_.c_str());
        return;
    case Result::OlderVersion:
        note("Checkpoint %s was written by an older version of the tester: ignored, starting from the beginning",
             path_.c_str());
        return;
    case Result::OtherNumber:
        note("Checkpoint %s belongs to another number: ignored, starting from the beginning", path_.c_str());
        return;
    case Result::NoStep:
        note("Checkpoint %s has no step: ignored, starting from the beginning", path_.c_str());
        return;
    }
}

// Moves the record of passed bases out of a state read back, trusting it
// only when its fingerprint holds.
void CheckpointFile::takeRecord(Checkpoint& state)
{
    auto list = state.values.find(kPassedBases);
    auto fingerprint = state.values.find(kPassedFingerprint);
    if (list == state.values.end() && fingerprint == state.values.end())
        return;
    std::optional<std::vector<unsigned long>> bases;
    if (list != state.values.end() && fingerprint != state.values.end() &&
        fingerprint->second == recordFingerprint(numberId_, list->second))
        bases = parseBaseList(list->second);
    if (bases)
        passedBases_ = *bases;
    else
        note("Checkpoint %s: its record of passed bases was changed: those bases are tested again", path_.c_str());
    state.values.erase(kPassedBases);
    state.values.erase(kPassedFingerprint);
}

}  // namespace prp
