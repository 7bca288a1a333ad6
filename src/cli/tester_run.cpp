#include "cli/tester_run.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <unistd.h>

#include "cli/failure.h"
#include "cli/interrupt.h"
#include "engine/tester_output.h"
#include "engine/tester_process.h"
#include "storage/atomic_file.h"
#include "storage/number_files.h"

namespace cli {

namespace {

namespace fs = std::filesystem;

class TemporaryDirectory {
public:
    TemporaryDirectory()
    {
        std::string pattern = (fs::temp_directory_path() / "quendrolt-cli-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw InternalFailure("cannot create a temporary directory in " + fs::temp_directory_path().string() +
                                  ": " + std::strerror(errno));
        path_ = pattern;
    }
    ~TemporaryDirectory()
    {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// The tester's standard error, each line on ours; Ctrl+C ends the run.
class PassingOn : public engine::TesterWatch {
public:
    explicit PassingOn(Progress& progress) : progress_(progress) {}
    bool stopRequested() override { return interruptRequested(); }
    void errorLine(const std::string& line) override
    {
        if (!line.empty())
            progress_.note("tester: " + line);
    }

private:
    Progress& progress_;
};

}  // namespace

std::optional<std::string> findTester()
{
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    if (error)
        return std::nullopt;
    const fs::path programs = self.parent_path();
    return engine::findProgram(storage::kTesterProgram,
                               {programs.string(), (programs / ".." / "libexec" / "quendrolt").lexically_normal().string()});
}

TesterResult runTester(const std::string& program, const std::string& digits, std::optional<double> timeoutSeconds,
                       Progress& progress)
{
    // The tester is killed and the directory removed before an interrupt
    // ends the process.
    PolledInterrupts polled;
    TemporaryDirectory directory;
    const std::string numberFile = directory.path() + "/" + storage::kLastPrpFile;
    std::string failure;
    if (!storage::writeFileAtomically(numberFile, digits, &failure))
        throw InternalFailure("cannot write " + numberFile + ": " + failure);

    engine::TesterProcess tester;
    if (!tester.start(program, engine::testerArguments(engine::kHiddenCheckSwitches, numberFile), directory.path(),
                      &failure))
        throw InternalFailure("the tester " + program + " could not be started: " + failure);
    PassingOn watch(progress);
    const int64_t limitMs =
        timeoutSeconds ? static_cast<int64_t>(std::ceil(*timeoutSeconds * 1000)) : engine::kNoTesterTimeLimit;
    switch (tester.follow(watch, limitMs)) {
    case engine::TesterEnd::Stopped:
        throw Interrupted();
    case engine::TesterEnd::TimedOut:
        return {engine::Verdict::Timeout, {}};
    case engine::TesterEnd::Finished:
        break;
    }
    if (!tester.ranToItsEnd())
        throw InternalFailure("the tester " + program + " did not run to its end: " + tester.endDescription());
    return {engine::verdictFromResultLine(tester.resultLine()), tester.resultLine()};
}

}  // namespace cli
