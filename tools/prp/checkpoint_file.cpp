#include "checkpoint_file.h"

#include <chrono>
#include <filesystem>

#include "progress.h"
#include "storage/atomic_file.h"
#include "storage/whole_file.h"

namespace prp {

namespace {

double monotonicSeconds()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

}  // namespace

CheckpointFile::CheckpointFile(std::string numberFile, double intervalSeconds, std::string numberId,
                                 std::string test)
    : path_(numberFile + ".ckpt"),
      intervalSeconds_(intervalSeconds),
      numberId_(std::move(numberId)),
      test_(std::move(test)),
      lastSave_(monotonicSeconds())
{
}

bool CheckpointFile::holdsState() const
{
    std::error_code ignored;
    return enabled() && std::filesystem::exists(path_, ignored);
}

bool CheckpointFile::due() const
{
    return enabled() && monotonicSeconds() - lastSave_ >= intervalSeconds_;
}

std::optional<arithmetic::Checkpoint> CheckpointFile::load()
{
    using Result = arithmetic::CheckpointReading::Result;
    std::error_code error;
    if (!enabled() || !std::filesystem::exists(path_, error))
        return std::nullopt;
    std::string text;
    (void)storage::readWholeFile(path_, text);  // an unreadable file reads as damaged
    arithmetic::CheckpointReading reading = arithmetic::readCheckpointText(text, numberId_, test_);
    switch (reading.result) {
    case Result::Usable:
        return std::move(reading.checkpoint);
    case Result::Damaged:
        note("Checkpoint %s is damaged or incomplete: ignored, starting from the beginning", path_.c_str());
        return std::nullopt;
    case Result::OtherTest:
        note("Checkpoint %s belongs to another number or test (%s): ignored, starting from the beginning",
             path_.c_str(), reading.test.c_str());
        return std::nullopt;
    case Result::NoStep:
        note("Checkpoint %s has no step: ignored", path_.c_str());
        return std::nullopt;
    }
    return std::nullopt;
}

void CheckpointFile::save(const arithmetic::Checkpoint& checkpoint)
{
    lastSave_ = monotonicSeconds();
    if (!storage::writeFileAtomically(path_, arithmetic::checkpointText(checkpoint, numberId_, test_)))
        note("Cannot write the checkpoint %s: the test goes on without it", path_.c_str());
}

void CheckpointFile::remove()
{
    if (!enabled())
        return;
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
}

arithmetic::CheckpointOpener checkpointFilesBeside(const std::string& numberFile, double intervalSeconds)
{
    return [numberFile, intervalSeconds](const std::string& numberId, const std::string& test) {
        return std::make_unique<CheckpointFile>(numberFile, intervalSeconds, numberId, test);
    };
}

}  // namespace prp
